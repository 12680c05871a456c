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

// The pixels a draw's triangles may write, widened triangle by triangle.
struct DrawnBox {
    int32_t x0 = DrawnArea::kAll, y0 = DrawnArea::kAll, x1 = 0, y1 = 0;
    void Add(int32_t minX, int32_t minY, int32_t maxX, int32_t maxY) {
        x0 = x0 < minX ? x0 : minX;
        y0 = y0 < minY ? y0 : minY;
        x1 = x1 > maxX + 1 ? x1 : maxX + 1;
        y1 = y1 > maxY + 1 ? y1 : maxY + 1;
    }
};

// Widens the drawn areas of the planes the writes reach by the box.
void Widen(const Surface& s, bool color, bool depth, const DrawnBox& box);

// A plane whose pitch is shorter than a row is treated as absent. The
// rectangle is the viewport clipped to the target (and to the guard band);
// it is empty when nothing may be drawn.
Surface MakeSurface(const Target& target, const Viewport& viewport);

}  // namespace qv::pipeline
