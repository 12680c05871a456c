// The four tori's colour families on a screenshot: yellow, red, pinkish
// white and blue, as their lit materials show them.
#pragma once

#include "e2e/x_server.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace qv::e2e {

// The tori's lit material colours: yellow, red, pinkish white, blue.
enum Colour { kYellow, kRed, kPinkishWhite, kBlue, kOther };

inline Colour Classify(uint32_t pixel) {
    const int r = int(pixel >> 16 & 0xFF), g = int(pixel >> 8 & 0xFF), b = int(pixel & 0xFF);
    if (std::max({r, g, b}) < 80) return kOther;  // background and deep shadow
    if (b < 40 && g > 0.8 * r && r > 0.8 * g) return kYellow;
    if (g < 30 && b < 45 && r > 80) return kRed;
    if (r > 80 && std::abs(r - b) < 25 && g > 0.8 * r && g <= r) return kPinkishWhite;
    if (r < 45 && g < 45 && b > 80) return kBlue;
    return kOther;
}

struct ColourCounts {
    std::array<int, 4> counts{};
    bool AllFour() const {
        for (int count : counts) {
            if (count < 30) return false;
        }
        return true;
    }
};

inline ColourCounts Count(const Screenshot& shot, int left, int right) {
    ColourCounts result;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = left; x < right; ++x) {
            const Colour colour = Classify(shot.At(x, y));
            if (colour != kOther) ++result.counts[colour];
        }
    }
    return result;
}

}  // namespace qv::e2e
