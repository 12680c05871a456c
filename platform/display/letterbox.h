// Fitting the picture to a screen of another size: the largest size that
// keeps the picture's shape, centred, black bars on the sides that differ,
// each screen pixel taking the nearest picture pixel. Plain memory in and
// out, for back ends that write a window's pixels themselves, writing no
// more of them than the frames change.
#pragma once

#include "display/display.h"
#include "pipeline/pipeline.h"

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

// Pixels x <= px < x + width, y <= py < y + height of a screen.
struct ScreenRect {
    uint32_t x, y, width, height;
};

class LetterboxScaler {
public:
    // Writes the screen's pixels: the frame where FitPicture places it, black
    // around it. At the frame's own size the rows are copied as they are.
    // Where the frame says which of its pixels may not be black, only those
    // this frame or the one drawn before may have painted are written, the
    // rest showing black already; all are written when the screen may not
    // hold the last frame drawn (Invalidate, another screen, or another
    // frame or screen size).
    void Draw(const Frame& frame, const Screen& screen);
    // The screen no longer holds what was drawn on it.
    void Invalidate() { shown_ = {}; }
    // What the last Draw wrote, in rectangles of the screen.
    const std::vector<ScreenRect>& Written() const { return written_; }

private:
    void AddWritten(uint32_t x, uint32_t y, uint32_t width);

    // Kept between frames of one size.
    std::vector<uint32_t> sourceColumns_;  // the frame column of each picture column
    uint32_t columnsFrameWidth_ = 0;       // the frame width they were made for
    // What the screen shows: the screen and frame drawn last (no pixels:
    // nothing known), and where that frame may not be black.
    Screen shown_{};
    uint32_t shownWidth_ = 0, shownHeight_ = 0;
    pipeline::DrawnArea shownPainted_;
    std::vector<ScreenRect> written_;  // its capacity kept from frame to frame
};

}  // namespace qv::display
