// Vertex records passed between the pipeline's stages, and the mapping from
// clip space to the target that the viewport defines.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pipeline/pipeline.h"

namespace qv::pipeline {

// Screen positions are fixed point with this many fractional bits.
constexpr int kSubpixelBits = 8;
constexpr int32_t kSubpixelOne = 1 << kSubpixelBits;

// Screen coordinates are kept within +-kGuardBand pixels, so fixed-point edge
// functions (products of two 30-bit differences) stay well inside 64 bits.
// Triangles reaching beyond it are clipped to it; pixels are only drawn
// inside the viewport, so the band is never visible.
constexpr float kGuardBand = 1 << 20;

// A transformed, lit vertex: homogeneous clip-space position and colour.
struct ClipVertex {
    float x, y, z, w;
    float r, g, b;
};

// A vertex ready for rasterizing: snapped position, depth 0..1, colour 0..1.
struct ScreenVertex {
    int32_t x, y;
    float z;
    float r, g, b;
};

// A plane in clip space: a point p is inside when dot(p, plane) >= 0.
struct Plane {
    float x, y, z, w;
};

// The planes a triangle is clipped against, in the order they are applied:
// the near and far depth, then the guard band's four sides. Together the two
// side pairs also keep w >= 0; the one point they let through at w = 0, the
// origin, is dropped when projected.
enum PlaneIndex : int { kPlaneNear, kPlaneFar, kPlaneLeft, kPlaneRight, kPlaneTop, kPlaneBottom, kPlaneCount };
constexpr uint32_t kOutsideInvalid = 1u << kPlaneCount;  // a coordinate is NaN or infinite

// Clip space to target pixels as the viewport defines it:
// screen = offset + scale * (clip / w), depth likewise from z / w.
struct ScreenMapping {
    float offsetX, scaleX, offsetY, scaleY, offsetZ, scaleZ;
    Plane planes[kPlaneCount];
};

// Builds the mapping; false when the viewport describes no volume (zero or
// negative extent, or values that are not finite).
bool MakeScreenMapping(const Viewport& viewport, ScreenMapping& mapping);

struct VertexBatch;

// For count vertices of the batch: the planes (bits by PlaneIndex) each lies
// outside of, or kOutsideInvalid when a coordinate is not finite; and for
// those inside every plane, the position on the target (kOutsideInvalid
// instead where that is not finite).
void ProjectBatch(VertexBatch& batch, std::size_t count, const ScreenMapping& mapping);

// Projects a vertex inside every plane to the target; false when the result is
// not finite (the caller drops the triangle).
bool ToScreen(const ClipVertex& v, const ScreenMapping& mapping, ScreenVertex& out);

}  // namespace qv::pipeline
