// Fitting the picture to a screen of another size: the largest size that
// keeps the picture's shape, centred, black bars on the sides that differ,
// each screen pixel taking the nearest picture pixel. Plain memory in and
// out, for back ends that write a window's pixels themselves.
#pragma once

#include "display/display.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv::display {

using host::FitPicture;
using host::Placement;

// 32-bit pixels to write, pitch in pixels.
struct Screen {
    uint32_t* pixels;
    std::size_t pitch;
    uint32_t width, height;
};

class LetterboxScaler {
public:
    // Writes every pixel of the screen: the frame where FitPicture places it,
    // black around it. At the frame's own size the rows are copied as they are.
    void Draw(const Frame& frame, const Screen& screen);

private:
    // Kept between frames of one size.
    std::vector<uint32_t> sourceColumns_;  // the frame column of each picture column
    uint32_t columnsFrameWidth_ = 0;       // the frame width they were made for
};

}  // namespace qv::display
