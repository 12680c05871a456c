// The display modes the stand-in's display offers.

#include "control/control.h"

#include <charconv>

namespace qv::control {
namespace {

std::vector<DisplayMode>& OfferedModes() {
    static std::vector<DisplayMode> modes = DefaultDisplayModes();
    return modes;
}

// Reads one positive decimal number no larger than limit from the front of
// text and drops it (and nothing else) from text.
bool TakeNumber(std::string_view& text, uint32_t limit, uint32_t& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || value == 0 || value > limit) return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

std::optional<DisplayMode> ParseMode(std::string_view text) {
    constexpr uint32_t kMaxSide = 16384;
    DisplayMode mode{};
    if (!TakeNumber(text, kMaxSide, mode.width) || text.empty() || text.front() != 'x') return std::nullopt;
    text.remove_prefix(1);
    if (!TakeNumber(text, kMaxSide, mode.height) || text.empty() || text.front() != 'x') return std::nullopt;
    text.remove_prefix(1);
    if (!TakeNumber(text, 32, mode.bitsPerPixel) || !text.empty()) return std::nullopt;
    uint32_t bits = mode.bitsPerPixel;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
    return mode;
}

}  // namespace

std::vector<DisplayMode> DefaultDisplayModes() {
    std::vector<DisplayMode> modes;
    const DisplayMode sizes[] = {{640, 480, 0}, {800, 600, 0}, {1024, 768, 0}, {1280, 1024, 0}, {1920, 1080, 0}};
    for (const DisplayMode& size : sizes) {
        for (uint32_t bits : {8u, 16u, 32u}) modes.push_back({size.width, size.height, bits});
    }
    return modes;
}

void SetDisplayModes(std::vector<DisplayMode> modes) { OfferedModes() = std::move(modes); }

const std::vector<DisplayMode>& DisplayModes() { return OfferedModes(); }

std::optional<std::vector<DisplayMode>> ParseDisplayModes(std::string_view text, std::string& error) {
    std::vector<DisplayMode> modes;
    while (true) {
        std::size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        std::optional<DisplayMode> mode = ParseMode(item);
        if (!mode) {
            error = "bad display mode '" + std::string(item) +
                    "': expected WIDTHxHEIGHTxBITS with sides 1..16384 and bits 8, 16, 24 or 32";
            return std::nullopt;
        }
        modes.push_back(*mode);
        if (comma == std::string_view::npos) return modes;
        text.remove_prefix(comma + 1);
    }
}

}  // namespace qv::control
