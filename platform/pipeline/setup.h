// Triangle setup: fixed-point edge functions, the fill rule, culling, the
// bounding box within the surface, and the attribute gradients.
#pragma once

#include <cstdint>

#include "pipeline/geometry.h"
#include "pipeline/surface.h"

namespace qv::pipeline {

// Which windings, as seen on the target (y down), are drawn.
enum WindingMask : uint32_t { kDrawClockwise = 1, kDrawCounterClockwise = 2 };

// Twice the signed area of a triangle in square subpixels: positive when it is
// wound clockwise on the target, zero when it has no area.
inline int64_t TwiceArea(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return (int64_t{x1} - x0) * (int64_t{y2} - y0) - (int64_t{y1} - y0) * (int64_t{x2} - x0);
}

// Whether a triangle of that area is drawn with the given windings.
inline bool Facing(int64_t twiceArea, uint32_t windings) {
    return twiceArea != 0 && (windings & (twiceArea > 0 ? kDrawClockwise : kDrawCounterClockwise)) != 0;
}

// Edge functions at the centre of pixel (minX, minY), fill rule applied: a
// pixel is covered when all three are >= 0. Steps per pixel in x and y.
// Needed only until the row bounds are made, so kept apart from the rest.
struct Edges {
    int64_t edge[3], stepX[3], stepY[3];
};

struct TriangleSetup {
    int32_t minX, minY, maxX, maxY;  // inclusive, within the surface
    // Depth scaled to 0..0xFFFFFFFF and colour channels to 0..255, both plus
    // 0.5 so that truncation rounds; values at (minX, minY) and per pixel.
    double z, dzdx, dzdy;
    float r, drdx, drdy, g, dgdx, dgdy, b, dbdx, dbdy;
};

// False when the triangle is culled, has no area, or covers no pixel centre
// of the surface's rectangle. flat, when given, colours the whole triangle.
bool SetupTriangle(const ScreenVertex& v0, const ScreenVertex& v1, const ScreenVertex& v2, uint32_t windings,
                   const ScreenVertex* flat, const Surface& surface, TriangleSetup& out, Edges& edges);

}  // namespace qv::pipeline
