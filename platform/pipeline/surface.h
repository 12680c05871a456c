// The part of a target a call may touch: its planes, validated, and the
// pixel rectangle both the viewport and the target contain.
#pragma once

#include <cstdint>

#include "pipeline/pipeline.h"

namespace qv::pipeline {

struct Surface {
    uint32_t* color;     // null when absent or unusable
    std::size_t colorPitch;
    uint32_t* depth;     // null when absent or unusable
    std::size_t depthPitch;
    int32_t x0, y0, x1, y1;  // writable pixels: x0 <= x < x1, y0 <= y < y1
    DrawnArea* colorDrawn;   // the target's, for the planes present
    DrawnArea* depthDrawn;
};

// Widens the drawn areas of the planes the writes reach by the pixels a
// draw's triangles may have written.
void Widen(const Surface& s, bool color, bool depth, const DrawnArea& drawn);

// A plane whose pitch is shorter than a row is treated as absent. The
// rectangle is the viewport clipped to the target (and to the guard band);
// it is empty when nothing may be drawn.
Surface MakeSurface(const Target& target, const Viewport& viewport);

}  // namespace qv::pipeline
