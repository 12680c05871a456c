// Clear: colour to black and depth to farthest over each rectangle, clipped
// to the viewport and the target, and to the plane's drawn area when it has
// one (the rest holds those values already). Both values are one repeated
// byte, so rows are filled with memset (one fill per band when the rectangle
// spans whole rows). The rectangle goes band by band, each band's colour rows
// then its depth rows: fills of that size leave both planes warm in the cache
// for the drawing that follows, where one fill per plane was measured slower.
// Shared by a team, each member fills its own rows.
#include "pipeline/clear.h"

#include <algorithm>
#include <cstring>

#include "pipeline/surface.h"

namespace qv::pipeline {
namespace {

void Fill(uint32_t* plane, std::size_t pitch, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int byte) {
    if (x0 >= x1 || y0 >= y1) return;
    const std::size_t width = static_cast<std::size_t>(x1 - x0);
    uint32_t* first = plane + static_cast<std::size_t>(y0) * pitch + x0;
    if (width == pitch) {
        std::memset(first, byte, width * static_cast<std::size_t>(y1 - y0) * sizeof(uint32_t));
        return;
    }
    for (int32_t y = y0; y < y1; ++y, first += pitch) std::memset(first, byte, width * sizeof(uint32_t));
}

// Rows y0..y1 (within one band) of the rectangle, within the plane's drawn
// area if any.
void FillRows(uint32_t* plane, std::size_t pitch, const DrawnArea* drawn, const Rect& r, int32_t y0, int32_t y1,
              int byte) {
    if (!drawn) return Fill(plane, pitch, r.x1, y0, r.x2, y1, byte);
    Fill(plane, pitch, std::max(r.x1, drawn->Left(y0)), std::max(y0, drawn->Top()), std::min(r.x2, drawn->Right(y0)),
         std::min(y1, drawn->Bottom()), byte);
}

// The rectangle within the surface's; false when nothing is left.
bool Clip(const Rect& r, const Surface& s, Rect& out) {
    out = {std::max(r.x1, s.x0), std::max(r.y1, s.y0), std::min(r.x2, s.x1), std::min(r.y2, s.y1)};
    return out.x1 < out.x2 && out.y1 < out.y2;
}

// After a clear: a drawn area that one of the rectangles covers, within the
// target, is clear now.
void Forget(DrawnArea* area, const Target& target, const Surface& s, const Rect* rects, std::size_t rectCount) {
    if (!area) return;
    int32_t x0, y0, x1, y1;
    area->Bounds(x0, y0, x1, y1);
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = int32_t(std::min<int64_t>(x1, target.width));
    y1 = int32_t(std::min<int64_t>(y1, target.height));
    bool covered = x0 >= x1 || y0 >= y1;
    Rect r;
    for (std::size_t i = 0; !covered && rects && i < rectCount; ++i) {
        covered = Clip(rects[i], s, r) && r.x1 <= x0 && r.y1 <= y0 && r.x2 >= x1 && r.y2 >= y1;
    }
    if (covered) *area = DrawnArea::Nothing();
}

}  // namespace

void ClearRows(const Target& target, const Viewport& viewport, const Rect* rects, std::size_t rectCount,
               bool clearColor, bool clearDepth, const RowShare& share) {
    const Surface s = MakeSurface(target, viewport);
    Rect r;
    for (std::size_t i = 0; rects && i < rectCount; ++i) {
        if (!Clip(rects[i], s, r)) continue;
        const int32_t last = std::min(r.y2, share.bottom);
        for (int32_t y = std::max(r.y1, share.top); y < last;) {
            const int32_t bandEnd = std::min(last, ((y >> DrawnArea::kBandShift) + 1) << DrawnArea::kBandShift);
            if (clearColor && s.color) FillRows(s.color, s.colorPitch, s.colorDrawn, r, y, bandEnd, 0x00);
            if (clearDepth && s.depth) FillRows(s.depth, s.depthPitch, s.depthDrawn, r, y, bandEnd, 0xFF);
            y = bandEnd;
        }
    }
}

void ForgetCleared(const Target& target, const Viewport& viewport, const Rect* rects, std::size_t rectCount,
                   bool clearColor, bool clearDepth) {
    const Surface s = MakeSurface(target, viewport);
    if (clearColor) Forget(s.colorDrawn, target, s, rects, rectCount);
    if (clearDepth) Forget(s.depthDrawn, target, s, rects, rectCount);
}

void Clear(const Target& target, const Viewport& viewport, const Rect* rects, std::size_t rectCount, bool clearColor,
           bool clearDepth) {
    ClearRows(target, viewport, rects, rectCount, clearColor, clearDepth, {});
    ForgetCleared(target, viewport, rects, rectCount, clearColor, clearDepth);
}

}  // namespace qv::pipeline
