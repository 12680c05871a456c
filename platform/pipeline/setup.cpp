// Coverage rules:
// - Vertices are snapped to 1/256 pixel; pixel (px, py) is sampled at the
//   integer point (px, py), the pixel centre of the platform's rules.
// - A pixel is covered when it lies inside all three edges; a pixel exactly on
//   an edge only when that is a top edge (horizontal, the triangle below it)
//   or a left edge (the triangle to its right). Edge functions are exact
//   integers, so the edge two triangles share gives each pixel on it to
//   exactly one of them.
#include "pipeline/setup.h"

#include <algorithm>
#include <cstddef>

#include "pipeline/instruction_set.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv::pipeline {
namespace {

// E(p) = (b - a) x (p - a): positive on the inside of a clockwise triangle.
struct Edge {
    int64_t dx, dy;
    int64_t At(int64_t px, int64_t py, const ScreenVertex& a) const { return dx * (py - a.y) - dy * (px - a.x); }
    bool TopLeft() const { return (dy < 0) | ((dy == 0) & (dx > 0)); }
};

Edge MakeEdge(const ScreenVertex& a, const ScreenVertex& b) {
    return {int64_t{b.x} - a.x, int64_t{b.y} - a.y};
}

int32_t CeilPixel(int32_t v) { return (v + kSubpixelOne - 1) >> kSubpixelBits; }
int32_t FloorPixel(int32_t v) { return v >> kSubpixelBits; }

// The plane through three attribute values: value at (x0, y0) and gradients.
struct Gradient {
    double at, ddx, ddy;
};

// Where the attribute planes are made: the second and third vertex and the
// pixel (minX, minY) relative to the first, in pixels; 1 / the determinant.
struct Frame {
    double x1, y1, x2, y2, ox, oy, invDet;
};

constexpr double kDepthScale = 4294967295.0;

void Planes(const Frame& f, const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
            const ScreenVertex* flat, TriangleSetup& out) {
    const auto plane = [&f](double va, double vb, double vc) {
        const double d1 = vb - va, d2 = vc - va;
        const double ddx = (d1 * f.y2 - d2 * f.y1) * f.invDet, ddy = (d2 * f.x1 - d1 * f.x2) * f.invDet;
        return Gradient{va + ddx * f.ox + ddy * f.oy, ddx, ddy};
    };
    const Gradient z = plane(a.z * kDepthScale + 0.5, b.z * kDepthScale + 0.5, c.z * kDepthScale + 0.5);
    out.z = z.at;
    out.dzdx = z.ddx;
    out.dzdy = z.ddy;
    const auto color = [&](float ScreenVertex::*channel, float& at, float& ddx, float& ddy) {
        const Gradient g = flat ? Gradient{flat->*channel * 255.0 + 0.5, 0, 0}
                                : plane(a.*channel * 255.0 + 0.5, b.*channel * 255.0 + 0.5, c.*channel * 255.0 + 0.5);
        at = static_cast<float>(g.at);
        ddx = static_cast<float>(g.ddx);
        ddy = static_cast<float>(g.ddy);
    };
    color(&ScreenVertex::r, out.r, out.drdx, out.drdy);
    color(&ScreenVertex::g, out.g, out.dgdx, out.dgdy);
    color(&ScreenVertex::b, out.b, out.dbdx, out.dbdy);
}

#if defined(__SSE2__)

// The same planes for smooth shading, two at a time: depth with red, green
// with blue, every value formed as in Planes.
void GouraudPlanesSse2(const Frame& f, const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                       TriangleSetup& out) {
    static_assert(offsetof(ScreenVertex, b) == offsetof(ScreenVertex, z) + 3 * sizeof(float), "z r g b in a row");
    const __m128d scaleZR = _mm_set_pd(255.0, kDepthScale), scaleGB = _mm_set1_pd(255.0), half = _mm_set1_pd(0.5);
    const __m128 za = _mm_loadu_ps(&a.z), zb = _mm_loadu_ps(&b.z), zc = _mm_loadu_ps(&c.z);
    const auto plane = [&f, half](__m128d va, __m128d vb, __m128d vc, __m128d scale, double at[2], double dx[2],
                                  double dy[2]) {
        va = _mm_add_pd(_mm_mul_pd(va, scale), half);
        vb = _mm_add_pd(_mm_mul_pd(vb, scale), half);
        vc = _mm_add_pd(_mm_mul_pd(vc, scale), half);
        const __m128d d1 = _mm_sub_pd(vb, va), d2 = _mm_sub_pd(vc, va);
        const __m128d ddx = _mm_mul_pd(_mm_sub_pd(_mm_mul_pd(d1, _mm_set1_pd(f.y2)), _mm_mul_pd(d2, _mm_set1_pd(f.y1))),
                                       _mm_set1_pd(f.invDet));
        const __m128d ddy = _mm_mul_pd(_mm_sub_pd(_mm_mul_pd(d2, _mm_set1_pd(f.x1)), _mm_mul_pd(d1, _mm_set1_pd(f.x2))),
                                       _mm_set1_pd(f.invDet));
        _mm_storeu_pd(at, _mm_add_pd(_mm_add_pd(va, _mm_mul_pd(ddx, _mm_set1_pd(f.ox))), _mm_mul_pd(ddy, _mm_set1_pd(f.oy))));
        _mm_storeu_pd(dx, ddx);
        _mm_storeu_pd(dy, ddy);
    };
    const auto high = [](__m128 v) { return _mm_cvtps_pd(_mm_movehl_ps(v, v)); };
    double at[4], dx[4], dy[4];  // z r g b
    plane(_mm_cvtps_pd(za), _mm_cvtps_pd(zb), _mm_cvtps_pd(zc), scaleZR, at, dx, dy);
    plane(high(za), high(zb), high(zc), scaleGB, at + 2, dx + 2, dy + 2);
    out.z = at[0];
    out.dzdx = dx[0];
    out.dzdy = dy[0];
    out.r = static_cast<float>(at[1]);
    out.drdx = static_cast<float>(dx[1]);
    out.drdy = static_cast<float>(dy[1]);
    out.g = static_cast<float>(at[2]);
    out.dgdx = static_cast<float>(dx[2]);
    out.dgdy = static_cast<float>(dy[2]);
    out.b = static_cast<float>(at[3]);
    out.dbdx = static_cast<float>(dx[3]);
    out.dbdy = static_cast<float>(dy[3]);
}

#endif

}  // namespace

bool SetupTriangle(const ScreenVertex& v0, const ScreenVertex& v1, const ScreenVertex& v2, uint32_t windings,
                   const ScreenVertex* flat, const Surface& surface, TriangleSetup& out, Edges& edges) {
    const int64_t area = TwiceArea(v0.x, v0.y, v1.x, v1.y, v2.x, v2.y);
    if (!Facing(area, windings)) return false;
    const bool clockwise = area > 0;
    // 1 / the determinant of the attribute planes below, in square pixels
    // (the area is in 1/256 pixel squared); started early, as it is slow.
    const double invDet = double(kSubpixelOne * kSubpixelOne) / double(clockwise ? area : -area);
    // Put the triangle in clockwise order, so the inside is positive for every edge.
    const ScreenVertex& a = v0;
    const ScreenVertex& b = clockwise ? v1 : v2;
    const ScreenVertex& c = clockwise ? v2 : v1;

    out.minX = std::max(CeilPixel(std::min({a.x, b.x, c.x})), surface.x0);
    out.minY = std::max(CeilPixel(std::min({a.y, b.y, c.y})), surface.y0);
    out.maxX = std::min(FloorPixel(std::max({a.x, b.x, c.x})), surface.x1 - 1);
    out.maxY = std::min(FloorPixel(std::max({a.y, b.y, c.y})), surface.y1 - 1);
    if (out.minX > out.maxX || out.minY > out.maxY) return false;

    const ScreenVertex* from[3] = {&b, &c, &a};
    const ScreenVertex* to[3] = {&c, &a, &b};
    const int64_t px = int64_t{out.minX} << kSubpixelBits, py = int64_t{out.minY} << kSubpixelBits;
    for (int i = 0; i < 3; ++i) {
        const Edge e = MakeEdge(*from[i], *to[i]);
        edges.edge[i] = e.At(px, py, *from[i]) - (e.TopLeft() ? 0 : 1);
        edges.stepX[i] = -e.dy * kSubpixelOne;
        edges.stepY[i] = e.dx * kSubpixelOne;
    }

    // Attribute planes from the snapped positions, in pixels relative to a.
    const Frame f{double(int64_t{b.x} - a.x) / kSubpixelOne,
                  double(int64_t{b.y} - a.y) / kSubpixelOne,
                  double(int64_t{c.x} - a.x) / kSubpixelOne,
                  double(int64_t{c.y} - a.y) / kSubpixelOne,
                  out.minX - double(a.x) / kSubpixelOne,
                  out.minY - double(a.y) / kSubpixelOne,
                  invDet};
#if defined(__SSE2__)
    if (!flat && UsingSse2()) {
        GouraudPlanesSse2(f, a, b, c, out);
        return true;
    }
#endif
    Planes(f, a, b, c, flat, out);
    return true;
}

}  // namespace qv::pipeline
