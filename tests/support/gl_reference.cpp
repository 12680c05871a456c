#include "support/gl_reference.h"

#include "scene/motion.h"
#include "scene/random.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

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

// Runs a command with its output in log; on failure says what it printed.
bool Run(const std::string& command, const fs::path& log, std::string& error) {
    if (std::system((command + " >'" + log.string() + "' 2>&1").c_str()) == 0) return true;
    std::ifstream file(log);
    const std::string printed((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    error = "failed: " + command + (printed.empty() ? "" : "\n" + printed);
    return false;
}

// Writes the frames' matrices in work and has the reference draw each frame.
bool RenderIn(const fs::path& work, const std::string& reference, const std::vector<FrameMatrices>& frames,
              std::vector<RgbImage>& images, std::string& error) {
    const fs::path matrices = work / "motion.bin";
    {
        std::ofstream file(matrices, std::ios::binary);
        for (const FrameMatrices& frame : frames)
            file.write(reinterpret_cast<const char*>(frame.data()), sizeof(D3DMATRIX) * frame.size());
        if (!file.flush()) {
            error = "cannot write " + matrices.string();
            return false;
        }
    }
    images.assign(frames.size(), {});
    for (size_t f = 0; f < frames.size(); ++f) {
        const fs::path png = work / ("frame_" + std::to_string(f) + ".png");
        if (!Run("'" + reference + "' --matrices '" + matrices.string() + "' --warmup 0 --frame " + std::to_string(f) +
                     " --png '" + png.string() + "'",
                 work / "log.txt", error) ||
            !ReadPng(png, images[f], error))
            return false;
    }
    return true;
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

bool PictureTestsRequired() {
    const char* ci = std::getenv("CI");
    return ci && std::string(ci) == "true";
}

bool RenderWithGlReference(const std::vector<FrameMatrices>& frames, std::vector<RgbImage>& images,
                           std::string& error) {
    const std::string reference = QUORVANE_GL_REFERENCE;
    if (reference.empty()) {
        error = "quorvane-gl-reference was not built: the EGL and OpenGL development files are missing "
                "(scripts/install-deps.sh installs them)";
        return false;
    }
    const fs::path work = fs::path(QUORVANE_BINARY_DIR) / "gl-reference-runs" / std::to_string(::getpid());
    fs::create_directories(work);
    const bool rendered = RenderIn(work, reference, frames, images, error);
    fs::remove_all(work);
    return rendered;
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
    int largestOff = 0, largest = 0;
    double sum = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int difference = 0;
            for (int c = 0; c < 3; ++c) {
                const int channel = std::abs(ours(x, y, c) - theirs(x, y, c));
                difference = std::max(difference, channel);
                sum += channel;
            }
            largest = std::max(largest, difference);
            if (difference <= tolerance) {
                ++within;
            } else if (!nearEdge(x, y)) {
                ++offSilhouette;
                largestOff = std::max(largestOff, difference);
            }
        }
    const double pixels = static_cast<double>(w) * h;
    return {within / pixels, offSilhouette / pixels, largestOff, largest, sum / (3 * pixels)};
}
