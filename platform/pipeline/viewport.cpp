// The visible volume of a viewport: x / w runs from clipX (left edge of the
// viewport) to clipX + clipWidth (right edge), y / w from clipY (top) down to
// clipY - clipHeight (bottom), z / w from minZ to maxZ, mapped to depth 0..1.
// Pixel centres sit at integer coordinates: the left edge of the viewport
// passes through the centres of its first column.
#include <cmath>
#include <initializer_list>

#include "pipeline/geometry.h"

namespace qv::pipeline {
namespace {

bool AllFinite(std::initializer_list<float> values) {
    for (float v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

float Dot(const ClipVertex& v, const Plane& p) { return v.x * p.x + v.y * p.y + v.z * p.z + v.w * p.w; }

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

uint32_t Outcode(const ClipVertex& v, const ScreenMapping& m) {
    if (!AllFinite({v.x, v.y, v.z, v.w})) return kOutsideInvalid;
    uint32_t code = 0;
    for (int i = 0; i < kPlaneCount; ++i) {
        if (Dot(v, m.planes[i]) < 0) code |= 1u << i;
    }
    return code;
}

bool ToScreen(const ClipVertex& v, const ScreenMapping& m, ScreenVertex& out) {
    if (!(v.w > 0)) return false;
    const float inv = 1.0f / v.w;
    const float x = (m.offsetX + m.scaleX * (v.x * inv)) * kSubpixelOne;
    const float y = (m.offsetY + m.scaleY * (v.y * inv)) * kSubpixelOne;
    const float z = m.offsetZ + m.scaleZ * (v.z * inv);
    if (!AllFinite({x, y, z})) return false;
    // Rounding at the guard band may overshoot it by a hair: clamp before converting.
    const float limit = kGuardBand * kSubpixelOne;
    const auto snap = [limit](float f) {
        f = f < -limit ? -limit : (f > limit ? limit : f);
        return static_cast<int32_t>(f + (f >= 0 ? 0.5f : -0.5f));
    };
    out.x = snap(x);
    out.y = snap(y);
    out.z = z < 0 ? 0 : (z > 1 ? 1 : z);
    out.r = v.r;
    out.g = v.g;
    out.b = v.b;
    return true;
}

}  // namespace qv::pipeline
