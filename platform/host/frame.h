// A finished frame as the DirectDraw objects hand it to the window system:
// 32-bit XRGB pixels, top row first, pitch in pixels.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv::host {

struct Frame {
    const uint32_t* pixels;
    std::size_t pitch;
    uint32_t width, height;
};

}  // namespace qv::host
