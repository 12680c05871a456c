// Clipping of polygons in homogeneous clip space.
#pragma once

#include <cstdint>

#include "pipeline/geometry.h"

namespace qv::pipeline {

// Room a polygon needs while being clipped; a clip that would need more drops it.
constexpr int kMaxPolygonVertices = 32;

// Clips the convex polygon poly[0..count) in place against each plane of the
// mapping whose bit is set in planeMask. Returns the vertex count left (0 when
// nothing is inside). Position and colour are interpolated linearly in clip
// space; a new vertex is always computed from the inside end of its edge, so
// an edge two triangles share is cut at exactly the same point in both.
int ClipPolygon(ClipVertex* poly, int count, uint32_t planeMask, const ScreenMapping& mapping);

}  // namespace qv::pipeline
