// A finished frame as the DirectDraw objects hand it to the window system
// (32-bit XRGB pixels, top row first, pitch in pixels), and where a window
// system shows it on a screen of another size.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv::pipeline {
class DrawnArea;
}

namespace qv::host {

struct Frame {
    const uint32_t* pixels;
    std::size_t pitch;
    uint32_t width, height;
    // The pixels that may not be black; all of them when null.
    const pipeline::DrawnArea* painted = nullptr;
};

// Where the picture lands on the screen, in screen pixels.
struct Placement {
    uint32_t x, y, width, height;
};

// The largest centred rectangle of the picture's shape inside the screen,
// rounded to the nearest pixel; empty when either has no area.
inline Placement FitPicture(uint32_t pictureWidth, uint32_t pictureHeight, uint32_t screenWidth,
                            uint32_t screenHeight) {
    if (!pictureWidth || !pictureHeight || !screenWidth || !screenHeight) return {0, 0, 0, 0};
    const uint64_t pw = pictureWidth, ph = pictureHeight, sw = screenWidth, sh = screenHeight;
    uint32_t width = screenWidth, height = screenHeight;
    // Never past the screen, as the exact size fits.
    if (sw * ph > sh * pw) {
        width = uint32_t((2 * sh * pw + ph) / (2 * ph));
    } else {
        height = uint32_t((2 * sw * ph + pw) / (2 * pw));
    }
    return {(screenWidth - width) / 2, (screenHeight - height) / 2, width, height};
}

}  // namespace qv::host
