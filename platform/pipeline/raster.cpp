#include "pipeline/raster.h"

namespace qv::pipeline {
namespace {

uint32_t Channel(float v) { return v > 0 ? (v < 255 ? static_cast<uint32_t>(v) : 255u) : 0u; }

uint32_t Depth(double v) { return v > 0 ? (v < 4294967295.0 ? static_cast<uint32_t>(v) : 0xFFFFFFFFu) : 0u; }

// Bit 0 when z < stored, bit 1 when equal, bit 2 when greater.
uint32_t Outcome(uint32_t z, uint32_t stored) { return z < stored ? 1u : (z == stored ? 2u : 4u); }

template <bool DepthTest, bool DepthWrite, bool ColorWrite>
void Traverse(const TriangleSetup& t, const Surface& s, uint32_t compare) {
    int64_t row[3] = {t.edge[0], t.edge[1], t.edge[2]};
    for (int32_t y = t.minY; y <= t.maxY; ++y) {
        int64_t e0 = row[0], e1 = row[1], e2 = row[2];
        for (int i = 0; i < 3; ++i) row[i] += t.stepY[i];
        int32_t x = t.minX;
        while (x <= t.maxX && (e0 | e1 | e2) < 0) {
            e0 += t.stepX[0];
            e1 += t.stepX[1];
            e2 += t.stepX[2];
            ++x;
        }
        if (x > t.maxX) continue;

        const double dy = y - t.minY, dx = x - t.minX;
        double z = t.z + t.dzdx * dx + t.dzdy * dy;
        float r = static_cast<float>(t.r + t.drdx * dx + t.drdy * dy);
        float g = static_cast<float>(t.g + t.dgdx * dx + t.dgdy * dy);
        float b = static_cast<float>(t.b + t.dbdx * dx + t.dbdy * dy);
        uint32_t* color = ColorWrite ? s.color + static_cast<std::size_t>(y) * s.colorPitch : nullptr;
        uint32_t* depth = DepthTest ? s.depth + static_cast<std::size_t>(y) * s.depthPitch : nullptr;
        for (; x <= t.maxX && (e0 | e1 | e2) >= 0; ++x) {
            bool pass = true;
            if constexpr (DepthTest) {
                const uint32_t d = Depth(z);
                pass = (compare & Outcome(d, depth[x])) != 0;
                if (DepthWrite && pass) depth[x] = d;
            }
            if (ColorWrite && pass) color[x] = Channel(r) << 16 | Channel(g) << 8 | Channel(b);
            e0 += t.stepX[0];
            e1 += t.stepX[1];
            e2 += t.stepX[2];
            z += t.dzdx;
            r += t.drdx;
            g += t.dgdx;
            b += t.dbdx;
        }
    }
}

}  // namespace

void RasterizeTriangle(const TriangleSetup& t, const Surface& s, const PixelStates& states) {
    const bool test = states.depthTest && s.depth, write = test && states.depthWrite, color = s.color != nullptr;
    if (color) {
        if (!test) return Traverse<false, false, true>(t, s, 0);
        if (write) return Traverse<true, true, true>(t, s, states.compare);
        return Traverse<true, false, true>(t, s, states.compare);
    }
    if (write) return Traverse<true, true, false>(t, s, states.compare);
    // Without a colour plane only depth writes leave a trace.
}

}  // namespace qv::pipeline
