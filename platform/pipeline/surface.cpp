#include "pipeline/surface.h"

#include <algorithm>

#include "pipeline/geometry.h"

namespace qv::pipeline {

Surface MakeSurface(const Target& target, const Viewport& viewport) {
    Surface s{};
    s.color = target.colorPitch >= target.width ? target.color : nullptr;
    s.colorPitch = target.colorPitch;
    s.depth = target.depthPitch >= target.width ? target.depth : nullptr;
    s.depthPitch = target.depthPitch;
    // 64-bit sums: x + width may exceed 32 bits.
    const int64_t limit = static_cast<int64_t>(kGuardBand);
    const int64_t x1 = std::min<int64_t>({int64_t{viewport.x} + viewport.width, target.width, limit});
    const int64_t y1 = std::min<int64_t>({int64_t{viewport.y} + viewport.height, target.height, limit});
    s.x0 = static_cast<int32_t>(std::min<int64_t>(viewport.x, x1));
    s.y0 = static_cast<int32_t>(std::min<int64_t>(viewport.y, y1));
    s.x1 = static_cast<int32_t>(x1);
    s.y1 = static_cast<int32_t>(y1);
    s.colorDrawn = s.color ? target.colorDrawn : nullptr;
    s.depthDrawn = s.depth ? target.depthDrawn : nullptr;
    return s;
}

void Widen(const Surface& s, bool color, bool depth, const DrawnArea& drawn) {
    if (drawn.Empty()) return;
    if (color && s.colorDrawn) s.colorDrawn->Add(drawn);
    if (depth && s.depthDrawn) s.depthDrawn->Add(drawn);
}

}  // namespace qv::pipeline
