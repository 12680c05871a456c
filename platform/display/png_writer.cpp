#include "display/png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace qv::display {

bool WritePng(const std::string& path, const Frame& frame, std::string& error) {
    if (!frame.pixels || frame.width == 0 || frame.height == 0 || frame.pitch < frame.width) {
        error = "cannot write '" + path + "': empty or malformed frame";
        return false;
    }
    std::vector<png_byte> rgb(static_cast<std::size_t>(frame.width) * frame.height * 3);
    png_byte* out = rgb.data();
    for (uint32_t y = 0; y < frame.height; ++y) {
        const uint32_t* row = frame.pixels + y * frame.pitch;
        for (uint32_t x = 0; x < frame.width; ++x) {
            *out++ = static_cast<png_byte>(row[x] >> 16);
            *out++ = static_cast<png_byte>(row[x] >> 8);
            *out++ = static_cast<png_byte>(row[x]);
        }
    }
    // Encoded in memory and written here, so that every write error is
    // seen, and a failed file is never removed (the path may be a device).
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = frame.width;
    image.height = frame.height;
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    std::vector<png_byte> encoded;
    if (png_image_write_get_memory_size(image, size, 0, rgb.data(), 0, nullptr)) {
        encoded.resize(size);
        if (!png_image_write_to_memory(&image, encoded.data(), &size, 0, rgb.data(), 0, nullptr)) size = 0;
    }
    if (size == 0) {
        error = "cannot write '" + path + "': " + image.message;
        png_image_free(&image);
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(encoded.data(), 1, size, file) == size && std::fflush(file) == 0;
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    error = "cannot write '" + path + "': " + std::strerror(written ? errno : writeError);
    return false;
}

}  // namespace qv::display
