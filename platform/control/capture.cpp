// The frame capture: the frame that reaches the frame limit, written to a
// file as a binary PPM (P6, RGB), the same bytes on every system.

#include "control/control.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace qv::control {
namespace {

struct Capture {
    std::FILE* file = nullptr;
    std::string path;
    bool written = false;
    int failure = 0;
};

Capture& TheCapture() {
    static Capture capture;
    return capture;
}

int LastError() { return errno ? errno : EIO; }

}  // namespace

bool CaptureFile(const std::string& path, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot open the capture file '" + path + "' for writing: " + std::strerror(errno);
        return false;
    }
    std::string ignored;
    EndCapture(ignored);
    TheCapture() = Capture{file, path};
    return true;
}

void CaptureFrame(const uint32_t* pixels, std::size_t pitch, uint32_t width, uint32_t height) {
    Capture& capture = TheCapture();
    if (!capture.file || capture.written) return;
    capture.written = true;
    std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<unsigned char> rgb(std::size_t(width) * height * 3);
    unsigned char* out = rgb.data();
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t pixel = pixels[y * pitch + x];
            *out++ = static_cast<unsigned char>(pixel >> 16);
            *out++ = static_cast<unsigned char>(pixel >> 8);
            *out++ = static_cast<unsigned char>(pixel);
        }
    }
    if (std::fwrite(header.data(), 1, header.size(), capture.file) != header.size() ||
        std::fwrite(rgb.data(), 1, rgb.size(), capture.file) != rgb.size() || std::fflush(capture.file) != 0)
        capture.failure = LastError();
}

bool EndCapture(std::string& error) {
    Capture capture = std::exchange(TheCapture(), Capture{});
    if (!capture.file) return true;
    const int closed = std::fclose(capture.file) == 0 ? 0 : LastError();
    if (!capture.failure) capture.failure = closed;
    if (capture.failure) {
        error = "cannot write the capture file '" + capture.path + "': " + std::strerror(capture.failure);
        return false;
    }
    if (!capture.written) {
        error = "no frame reached the frame limit; the capture file '" + capture.path + "' is empty";
        return false;
    }
    return true;
}

}  // namespace qv::control
