// The four tori's colour families on a screenshot: yellow, red, pinkish
// white and blue, as their lit materials show them.
#pragma once

#include "e2e/process.h"
#include "e2e/x_server.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>

#include <gtest/gtest.h>

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
    std::string Text() const {
        return "yellow " + std::to_string(counts[kYellow]) + ", red " + std::to_string(counts[kRed]) +
               ", pinkish white " + std::to_string(counts[kPinkishWhite]) + ", blue " + std::to_string(counts[kBlue]);
    }
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

// Screenshots until the four colours show, while the program runs, within
// the limit; the last screenshot.
inline Screenshot WaitForTori(XServer& x, Process& program, std::chrono::seconds limit) {
    Screenshot shot;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        shot = x.Capture();
    } while (!Count(shot, 0, shot.width).AllFour() && program.Running() && std::chrono::steady_clock::now() < deadline);
    return shot;
}

// A full screen of 1280 x 800 (16:10) shows the 4:3 picture 1067 pixels wide,
// centred, with black bars of 106 pixels on either side.
inline testing::AssertionResult KeepsTheShapeFullScreen(const Screenshot& shot) {
    if (shot.width != 1280) return testing::AssertionFailure() << "the screen is " << shot.width << " wide, not 1280";
    for (int y = 0; y < shot.height; y += 8) {
        for (int x : {0, 50, 100, 1180, 1230, 1279}) {
            if (shot.At(x, y) != 0) return testing::AssertionFailure() << "no black bar at " << x << ", " << y;
        }
    }
    return testing::AssertionSuccess();
}

}  // namespace qv::e2e
