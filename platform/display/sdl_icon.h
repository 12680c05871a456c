// A decoder for the 16-colour BMP-in-ICO images of the program's icons, which
// the SDL window shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::display {

// One decoded icon image: ARGB8888 pixels, top row first, transparent pixels
// with alpha 0.
struct IconImage {
    uint32_t width, height;
    std::vector<uint32_t> pixels;
};

// Decodes the largest image of an .ico file. Only uncompressed 4-bit
// (16-colour) images with a transparency mask are understood; anything else,
// or data that is cut short or inconsistent, gives nullopt and the reason in
// error.
std::optional<IconImage> DecodeIcon(const unsigned char* data, std::size_t size, std::string& error);

}  // namespace qv::display
