// quorvane-webp: turns the PNG frames of a directory, taken in name order,
// into one animated WebP (lossless, looping) at a given frame rate. Lossless,
// because lossy WebP smears the tori's bright edges over the black
// background, and more so as each frame is built on the previous one.
//
//   quorvane-webp [--fps N] FRAME_DIR OUTPUT.webp

#include <png.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include "arguments.h"
#include "output_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr int kFramesFailed = 1, kBadOption = 2, kOutputFailed = 3;

constexpr const char* kUsage =
    "usage: quorvane-webp [--fps N] FRAME_DIR OUTPUT.webp\n"
    "  Encodes the .png files of FRAME_DIR, in name order and all of one size,\n"
    "  as a looping, lossless animated WebP. --fps: frames per second (1..100,\n"
    "  default 30; also --fps=N).\n"
    "Exit code: 0 when written, 1 when the frames cannot be read or encoded, 2 for\n"
    "a bad command line, 3 when the output cannot be written.\n";

struct Options {
    uint64_t fps = 30;
    std::string frameDir, output;
    bool help = false;
};

bool Parse(int argc, char** argv, Options& options, std::string& error) {
    const auto arguments = qv::tools::ReadArguments(argc, argv, {"--fps"}, {"--help", "-h"}, error);
    if (!arguments) return false;
    std::vector<std::string> operands;
    for (const qv::tools::Argument& argument : *arguments) {
        if (argument.name == "--fps" && !qv::tools::ReadNumber(argument, 1, 100, options.fps, error)) return false;
        if (argument.name == "--help" || argument.name == "-h") options.help = true;
        if (argument.name.empty()) operands.push_back(argument.value);
    }
    if (options.help) return true;
    if (operands.size() != 2) {
        error = "needs a frame directory and an output file (see --help)";
        return false;
    }
    options.frameDir = operands[0];
    options.output = operands[1];
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
    config.lossless = 1;
    const int frameMs = 1000 / int(options.fps);
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

// The animation, encoded in memory.
bool Encode(const Options& options, WebPData& data, std::string& error) {
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
    bool ok = AddFrames(encoder, paths, options, width, height, error);
    if (ok && !WebPAnimEncoderAssemble(encoder, &data)) {
        error = std::string("cannot assemble the animation: ") + WebPAnimEncoderGetError(encoder);
        ok = false;
    }
    WebPAnimEncoderDelete(encoder);
    return ok;
}

int Run(const Options& options, std::string& error) {
    if (!qv::tools::CheckWritable(options.output, error)) return kOutputFailed;
    WebPData data;
    WebPDataInit(&data);
    int status = 0;
    if (!Encode(options, data, error)) {
        status = kFramesFailed;
    } else {
        qv::tools::OutputFile file(options.output);
        file.Write(data.bytes, data.size);
        if (!file.Close(error)) status = kOutputFailed;
    }
    WebPDataClear(&data);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!Parse(argc, argv, options, error)) {
        std::fprintf(stderr, "quorvane-webp: %s\n", error.c_str());
        return kBadOption;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const int status = Run(options, error);
    if (status != 0) std::fprintf(stderr, "quorvane-webp: %s\n", error.c_str());
    return status;
}
