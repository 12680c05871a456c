#include "pipeline/clip.h"

namespace qv::pipeline {
namespace {

// Distances and intersections in double precision: any finite float input
// then gives finite results, however far outside the guard band it lies.
double Distance(const ClipVertex& v, const Plane& p) {
    return double(v.x) * p.x + double(v.y) * p.y + double(v.z) * p.z + double(v.w) * p.w;
}

// The point at distance 0 on the edge from in (distance dIn >= 0) to out (dOut < 0).
ClipVertex Intersect(const ClipVertex& in, double dIn, const ClipVertex& out, double dOut) {
    const double t = dIn / (dIn - dOut);
    const auto lerp = [t](float a, float b) { return static_cast<float>(a + t * (double(b) - a)); };
    return {lerp(in.x, out.x), lerp(in.y, out.y), lerp(in.z, out.z), lerp(in.w, out.w),
            lerp(in.r, out.r), lerp(in.g, out.g), lerp(in.b, out.b)};
}

// Sutherland-Hodgman against one plane; -1 when the result would not fit.
int ClipAgainst(const ClipVertex* in, int count, const Plane& plane, ClipVertex* out) {
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const ClipVertex& a = in[i];
        const ClipVertex& b = in[(i + 1) % count];
        const double da = Distance(a, plane), db = Distance(b, plane);
        if (n + 2 > kMaxPolygonVertices) return -1;
        if (da >= 0) out[n++] = a;
        if ((da >= 0) != (db >= 0)) out[n++] = da >= 0 ? Intersect(a, da, b, db) : Intersect(b, db, a, da);
    }
    return n;
}

}  // namespace

int ClipPolygon(ClipVertex* poly, int count, uint32_t planeMask, const ScreenMapping& mapping) {
    ClipVertex scratch[kMaxPolygonVertices];
    for (int p = 0; p < kPlaneCount && count > 0; ++p) {
        if (!(planeMask & (1u << p))) continue;
        count = ClipAgainst(poly, count, mapping.planes[p], scratch);
        for (int i = 0; i < count; ++i) poly[i] = scratch[i];
    }
    return count < 3 ? 0 : count;
}

}  // namespace qv::pipeline
