// The visible volume of a viewport: x / w runs from clipX (left edge of the
// viewport) to clipX + clipWidth (right edge), y / w from clipY (top) down to
// clipY - clipHeight (bottom), z / w from minZ to maxZ, mapped to depth 0..1.
// Pixel centres sit at integer coordinates: the left edge of the viewport
// passes through the centres of its first column.
#include <initializer_list>

#include "pipeline/batch.h"
#include "pipeline/geometry.h"
#include "pipeline/vertex_kernels.h"

namespace qv::pipeline {
namespace {

// False for NaN and infinities; written so that loops over it vectorize.
inline bool Finite(float v) { return v - v == 0; }

// Snapped screen position and depth of a clip-space point; false when not
// finite. Rounding at the guard band may overshoot it by a hair, so the
// position is clamped before converting (NaN goes to the lower bound).
inline bool Project(const ScreenMapping& m, float x, float y, float z, float w, int32_t& sx, int32_t& sy, float& sz) {
    const float inv = 1.0f / w;
    float fx = (m.offsetX + m.scaleX * (x * inv)) * kSubpixelOne;
    float fy = (m.offsetY + m.scaleY * (y * inv)) * kSubpixelOne;
    const float fz = m.offsetZ + m.scaleZ * (z * inv);
    const bool ok = w > 0 && Finite(fx) && Finite(fy) && Finite(fz);
    constexpr float kLimit = kGuardBand * kSubpixelOne;
    fx = fx > -kLimit ? (fx < kLimit ? fx : kLimit) : -kLimit;
    fy = fy > -kLimit ? (fy < kLimit ? fy : kLimit) : -kLimit;
    sx = static_cast<int32_t>(fx + (fx >= 0 ? 0.5f : -0.5f));
    sy = static_cast<int32_t>(fy + (fy >= 0 ? 0.5f : -0.5f));
    sz = fz > 0 ? (fz < 1 ? fz : 1) : 0;
    return ok;
}

bool AllFinite(std::initializer_list<float> values) {
    for (float v : values) {
        if (!Finite(v)) return false;
    }
    return true;
}

}  // namespace

bool MakeScreenMapping(const Viewport& vp, ScreenMapping& m) {
    if (!AllFinite({vp.clipX, vp.clipY, vp.clipWidth, vp.clipHeight, vp.minZ, vp.maxZ}) || vp.width == 0 ||
        vp.height == 0 || !(vp.clipWidth > 0) || !(vp.clipHeight > 0) || !(vp.maxZ > vp.minZ)) {
        return false;
    }
    m.scaleX = static_cast<float>(vp.width) / vp.clipWidth;
    m.offsetX = static_cast<float>(vp.x) - vp.clipX * m.scaleX;
    m.scaleY = -static_cast<float>(vp.height) / vp.clipHeight;
    m.offsetY = static_cast<float>(vp.y) - vp.clipY * m.scaleY;
    m.scaleZ = 1.0f / (vp.maxZ - vp.minZ);
    m.offsetZ = -vp.minZ * m.scaleZ;
    if (!AllFinite({m.scaleX, m.offsetX, m.scaleY, m.offsetY, m.scaleZ, m.offsetZ})) return false;

    // depth = offsetZ + scaleZ * z / w >= 0 and <= 1; screen x, y within +-kGuardBand.
    const float g = kGuardBand;
    m.planes[kPlaneNear] = {0, 0, m.scaleZ, m.offsetZ};
    m.planes[kPlaneFar] = {0, 0, -m.scaleZ, 1 - m.offsetZ};
    m.planes[kPlaneLeft] = {m.scaleX, 0, 0, g + m.offsetX};
    m.planes[kPlaneRight] = {-m.scaleX, 0, 0, g - m.offsetX};
    m.planes[kPlaneTop] = {0, m.scaleY, 0, g + m.offsetY};
    m.planes[kPlaneBottom] = {0, -m.scaleY, 0, g - m.offsetY};
    return true;
}

void ProjectBatch(VertexBatch& b, std::size_t count, const ScreenMapping& m) {
    if (const VertexKernels* kernels = CurrentVertexKernels()) return kernels->project(b, count, m);
    for (std::size_t i = 0; i < count; ++i) {
        const float x = b.x[i], y = b.y[i], z = b.z[i], w = b.w[i];
        uint32_t code = 0;
        for (int p = 0; p < kPlaneCount; ++p) {
            const Plane& pl = m.planes[p];
            code |= uint32_t(x * pl.x + y * pl.y + z * pl.z + w * pl.w < 0) << p;
        }
        const bool projected = Project(m, x, y, z, w, b.sx[i], b.sy[i], b.sz[i]);
        const bool finite = Finite(x) && Finite(y) && Finite(z) && Finite(w);
        b.outcode[i] = !finite || (code == 0 && !projected) ? kOutsideInvalid : code;
    }
}

bool ToScreen(const ClipVertex& v, const ScreenMapping& m, ScreenVertex& out) {
    out.r = v.r;
    out.g = v.g;
    out.b = v.b;
    return Project(m, v.x, v.y, v.z, v.w, out.x, out.y, out.z);
}

}  // namespace qv::pipeline
