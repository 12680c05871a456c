#include "support/gl_reference.h"

#include "scene/motion.h"
#include "scene/random.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path ReferenceDir() { return fs::path(QUORVANE_SOURCE_DIR) / ".." / "shared" / "anchors" / "gl-reference"; }

bool ReadPng(const fs::path& path, RgbImage& image, std::string& error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        error = "cannot read " + path.string() + ": " + png.message;
        return false;
    }
    png.format = PNG_FORMAT_RGB;
    image.width = png.width;
    image.height = png.height;
    image.rgb.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) {
        error = "cannot decode " + path.string() + ": " + png.message;
        return false;
    }
    return true;
}

bool Run(const std::string& command, std::string& error) {
    if (std::system(command.c_str()) == 0) return true;
    error = "failed: " + command;
    return false;
}

int Channel(uint32_t xrgb, int c) { return (xrgb >> (16 - 8 * c)) & 0xFF; }

}  // namespace

std::vector<FrameMatrices> SceneMatrices(uint32_t seed, int count) {
    SeedRandom(seed);
    InitScene();
    std::vector<FrameMatrices> frames(count);
    for (FrameMatrices& frame : frames)
        for (int k = 0; k < 4; ++k) {
            frame[k] = MakeWorldMatrix(objectTable[k]);
            MoveObject(objectTable[k]);
        }
    return frames;
}

bool RenderWithGlReference(const std::vector<FrameMatrices>& frames, std::vector<RgbImage>& images,
                           std::string& error) {
    const fs::path source = ReferenceDir();
    if (!fs::exists(source / "build.sh")) {
        error = "the GL reference is not at " + source.string();
        return false;
    }
    const fs::path build = fs::path(QUORVANE_BINARY_DIR) / "gl-reference";
    const fs::path work = build / ("run-" + std::to_string(::getpid()));
    fs::create_directories(work);
    const fs::path binary = build / "gl-reference";
    // Built once, in a folder of its own and then moved into place, so that
    // picture tests running side by side never run a half-written binary.
    if (!fs::exists(binary)) {
        if (!Run("GL_REFERENCE_BUILD='" + work.string() + "' sh '" + (source / "build.sh").string() + "' >/dev/null 2>&1",
                 error))
            return false;
        std::error_code moved;
        fs::rename(work / "gl-reference", binary, moved);
        if (moved) {
            error = "the GL reference's build left no binary: " + moved.message();
            return false;
        }
    }

    const fs::path matrices = work / "motion.bin";
    {
        std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(matrices.c_str(), "wb"), std::fclose);
        if (!file) {
            error = "cannot write " + matrices.string();
            return false;
        }
        for (const FrameMatrices& frame : frames) std::fwrite(frame.data(), sizeof(D3DMATRIX), 4, file.get());
    }
    if (!Run("'" + binary.string() + "' --matrices '" + matrices.string() + "' --warmup 0 --png-every 1 --out '" +
                 work.string() + "' >/dev/null 2>&1",
             error))
        return false;

    images.assign(frames.size(), {});
    for (size_t f = 0; f < frames.size(); ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%05zu.png", f);
        if (!ReadPng(work / name, images[f], error)) return false;
    }
    fs::remove_all(work);
    return true;
}

PictureDifference ComparePictures(const std::vector<uint32_t>& xrgb, const RgbImage& reference, int tolerance,
                                  int radius) {
    const int w = static_cast<int>(reference.width), h = static_cast<int>(reference.height);
    auto ours = [&](int x, int y, int c) { return Channel(xrgb[static_cast<size_t>(y) * w + x], c); };
    auto theirs = [&](int x, int y, int c) { return int(reference.rgb[(static_cast<size_t>(y) * w + x) * 3 + c]); };
    // A strong edge: a neighbour that differs by more than a smooth gradient can.
    std::vector<uint8_t> edge(static_cast<size_t>(w) * h, 0);
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x + 1 < w; ++x)
            for (int c = 0; c < 3; ++c)
                for (int picture = 0; picture < 2; ++picture) {
                    auto at = [&](int px, int py) { return picture ? theirs(px, py, c) : ours(px, py, c); };
                    if (std::abs(at(x, y) - at(x + 1, y)) > 24 || std::abs(at(x, y) - at(x, y + 1)) > 24)
                        edge[static_cast<size_t>(y) * w + x] = 1;
                }
    auto nearEdge = [&](int x, int y) {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const int px = x + dx, py = y + dy;
                if (px >= 0 && py >= 0 && px < w && py < h && edge[static_cast<size_t>(py) * w + px]) return true;
            }
        return false;
    };
    size_t within = 0, offSilhouette = 0;
    int largest = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int difference = 0;
            for (int c = 0; c < 3; ++c) difference = std::max(difference, std::abs(ours(x, y, c) - theirs(x, y, c)));
            if (difference <= tolerance) {
                ++within;
            } else if (!nearEdge(x, y)) {
                ++offSilhouette;
                largest = std::max(largest, difference);
            }
        }
    const double pixels = static_cast<double>(w) * h;
    return {within / pixels, offSilhouette / pixels, largest};
}
