// quorvane-webp: turns the PNG frames of a directory, taken in name order,
// into one animated WebP (lossy, looping) at a given frame rate.
//
//   quorvane-webp [--fps N] [--quality Q] FRAME_DIR OUTPUT.webp

#include <png.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr int kBadOption = 2, kFailed = 3;

constexpr const char* kUsage =
    "usage: quorvane-webp [--fps N] [--quality Q] FRAME_DIR OUTPUT.webp\n"
    "  Encodes the .png files of FRAME_DIR, in name order and all of one size,\n"
    "  as a looping animated WebP. --fps: frames per second (1..100, default 30);\n"
    "  --quality: lossy quality (0..100, default 80).\n";

struct Options {
    int fps = 30;
    int quality = 80;
    std::string frameDir, output;
};

bool ParseNumber(const char* text, int low, int high, int& value) {
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (end == text || *end || number < low || number > high) return false;
    value = int(number);
    return true;
}

bool Parse(int argc, char** argv, Options& options, std::string& error) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--fps" || name == "--quality") {
            const bool fps = name == "--fps";
            if (i + 1 >= argc || !ParseNumber(argv[++i], fps ? 1 : 0, 100, fps ? options.fps : options.quality)) {
                error = name + (fps ? " needs a number from 1 to 100" : " needs a number from 0 to 100");
                return false;
            }
        } else if (name.size() > 1 && name[0] == '-') {
            error = "unknown option " + name;
            return false;
        } else {
            positional.push_back(name);
        }
    }
    if (positional.size() != 2) {
        error = "needs a frame directory and an output file";
        return false;
    }
    options.frameDir = positional[0];
    options.output = positional[1];
    return true;
}

std::vector<std::filesystem::path> FramePaths(const std::string& dir, std::string& error) {
    std::vector<std::filesystem::path> paths;
    std::error_code code;
    for (const auto& entry : std::filesystem::directory_iterator(dir, code)) {
        if (entry.path().extension() == ".png") paths.push_back(entry.path());
    }
    if (code) error = "cannot read " + dir + ": " + code.message();
    else if (paths.empty()) error = "no .png files in " + dir;
    std::sort(paths.begin(), paths.end());
    return paths;
}

struct Image {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgba;
};

bool ReadPng(const std::filesystem::path& path, Image& image, std::string& error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path.c_str())) {
        png.format = PNG_FORMAT_RGBA;
        image.width = png.width;
        image.height = png.height;
        image.rgba.resize(PNG_IMAGE_SIZE(png));
        if (png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr)) return true;
    }
    error = "cannot read " + path.string() + ": " + png.message;
    png_image_free(&png);
    return false;
}

// Adds every frame to the encoder; on failure says why.
bool AddFrames(WebPAnimEncoder* encoder, const std::vector<std::filesystem::path>& paths, const Options& options,
               int width, int height, std::string& error) {
    WebPConfig config;
    WebPConfigInit(&config);
    config.quality = float(options.quality);
    const int frameMs = 1000 / options.fps;
    Image image;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!ReadPng(paths[i], image, error)) return false;
        if (int(image.width) != width || int(image.height) != height) {
            error = paths[i].string() + " differs in size from the first frame";
            return false;
        }
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = width;
        picture.height = height;
        const bool added = WebPPictureImportRGBA(&picture, image.rgba.data(), width * 4) &&
                           WebPAnimEncoderAdd(encoder, &picture, int(i) * frameMs, &config);
        WebPPictureFree(&picture);
        if (!added) {
            error = "cannot encode " + paths[i].string() + ": " + WebPAnimEncoderGetError(encoder);
            return false;
        }
    }
    // The end of the last frame.
    if (!WebPAnimEncoderAdd(encoder, nullptr, int(paths.size()) * frameMs, nullptr)) {
        error = std::string("cannot finish the animation: ") + WebPAnimEncoderGetError(encoder);
        return false;
    }
    return true;
}

bool Encode(const Options& options, std::string& error) {
    const std::vector<std::filesystem::path> paths = FramePaths(options.frameDir, error);
    if (paths.empty()) return false;
    Image first;
    if (!ReadPng(paths[0], first, error)) return false;
    const int width = int(first.width), height = int(first.height);

    WebPAnimEncoderOptions encoderOptions;
    WebPAnimEncoderOptionsInit(&encoderOptions);
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(width, height, &encoderOptions);
    if (!encoder) {
        error = "cannot start the WebP encoder";
        return false;
    }
    WebPData data;
    WebPDataInit(&data);
    bool ok = AddFrames(encoder, paths, options, width, height, error);
    if (ok && !WebPAnimEncoderAssemble(encoder, &data)) {
        error = std::string("cannot assemble the animation: ") + WebPAnimEncoderGetError(encoder);
        ok = false;
    }
    WebPAnimEncoderDelete(encoder);
    if (ok) {
        std::ofstream out(options.output, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data.bytes), std::streamsize(data.size));
        if (!out) {
            error = "cannot write " + options.output;
            ok = false;
        }
    }
    WebPDataClear(&data);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    Options options;
    std::string error;
    if (!Parse(argc, argv, options, error)) {
        std::fprintf(stderr, "quorvane-webp: %s\n%s", error.c_str(), kUsage);
        return kBadOption;
    }
    if (!Encode(options, error)) {
        std::fprintf(stderr, "quorvane-webp: %s\n", error.c_str());
        return kFailed;
    }
    return 0;
}
