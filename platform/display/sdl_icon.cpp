#include "display/sdl_icon.h"

namespace qv::display {
namespace {

uint32_t Read16(const unsigned char* p) { return p[0] | p[1] << 8; }
uint32_t Read32(const unsigned char* p) { return Read16(p) | Read16(p + 2) << 16; }

constexpr std::size_t kDirectorySize = 6, kEntrySize = 16, kHeaderSize = 40, kPaletteEntries = 16;

struct Entry {
    uint32_t width, height, bytes, offset;
};

Entry ReadEntry(const unsigned char* p) {
    // A width or height byte of 0 stands for 256.
    return {p[0] ? p[0] : 256u, p[1] ? p[1] : 256u, Read32(p + 8), Read32(p + 12)};
}

// Row sizes are rounded up to whole 32-bit words.
std::size_t Stride(uint32_t width, uint32_t bitsPerPixel) { return (std::size_t{width} * bitsPerPixel + 31) / 32 * 4; }

std::optional<IconImage> DecodeImage(const unsigned char* image, std::size_t size, const Entry& entry,
                                     std::string& error) {
    // The palette follows the header, whose first field is its own size.
    const std::size_t paletteOffset = size < kHeaderSize ? 0 : Read32(image);
    if (paletteOffset < kHeaderSize || paletteOffset > size) {
        error = "icon image header is cut short";
        return std::nullopt;
    }
    const uint32_t width = Read32(image + 4), doubleHeight = Read32(image + 8);
    const uint32_t bitCount = Read16(image + 14), compression = Read32(image + 16), coloursUsed = Read32(image + 32);
    if (width != entry.width || doubleHeight != 2 * entry.height) {
        error = "icon image size differs from its directory entry";
        return std::nullopt;
    }
    if (bitCount != 4 || compression != 0 || coloursUsed > kPaletteEntries) {
        error = "icon image is not an uncompressed 16-colour bitmap";
        return std::nullopt;
    }
    const uint32_t height = entry.height;
    const std::size_t paletteEntries = coloursUsed ? coloursUsed : kPaletteEntries;
    const std::size_t colourStride = Stride(width, 4), maskStride = Stride(width, 1);
    const std::size_t colourOffset = paletteOffset + 4 * paletteEntries;
    const std::size_t maskOffset = colourOffset + colourStride * height;
    if (maskOffset + maskStride * height > size) {
        error = "icon image data is cut short";
        return std::nullopt;
    }
    IconImage result{width, height, std::vector<uint32_t>(std::size_t{width} * height)};
    for (uint32_t y = 0; y < height; ++y) {
        const std::size_t row = height - 1 - y;  // rows are stored bottom-up
        const unsigned char* colours = image + colourOffset + row * colourStride;
        const unsigned char* mask = image + maskOffset + row * maskStride;
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t index = x % 2 == 0 ? colours[x / 2] >> 4 : colours[x / 2] & 0x0F;
            const bool transparent = mask[x / 8] & (0x80 >> x % 8);
            uint32_t argb = 0;
            if (!transparent && index < paletteEntries) {
                const unsigned char* bgr = image + paletteOffset + 4 * index;
                argb = 0xFF000000u | uint32_t{bgr[2]} << 16 | uint32_t{bgr[1]} << 8 | bgr[0];
            }
            result.pixels[std::size_t{y} * width + x] = argb;
        }
    }
    return result;
}

}  // namespace

std::optional<IconImage> DecodeIcon(const unsigned char* data, std::size_t size, std::string& error) {
    if (size < kDirectorySize || Read16(data) != 0 || Read16(data + 2) != 1) {
        error = "not an icon file";
        return std::nullopt;
    }
    const std::size_t count = Read16(data + 4);
    if (count == 0 || size < kDirectorySize + count * kEntrySize) {
        error = "icon directory is empty or cut short";
        return std::nullopt;
    }
    Entry largest = ReadEntry(data + kDirectorySize);
    for (std::size_t i = 0; i < count; ++i) {
        const Entry entry = ReadEntry(data + kDirectorySize + i * kEntrySize);
        if (entry.offset > size || entry.bytes > size - entry.offset) {
            error = "icon image lies outside the file";
            return std::nullopt;
        }
        if (entry.width * entry.height > largest.width * largest.height) largest = entry;
    }
    return DecodeImage(data + largest.offset, largest.bytes, largest, error);
}

}  // namespace qv::display
