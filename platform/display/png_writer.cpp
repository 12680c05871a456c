#include "display/png_writer.h"

#include <png.h>

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
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = frame.width;
    image.height = frame.height;
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        error = "cannot write '" + path + "': " + image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace qv::display
