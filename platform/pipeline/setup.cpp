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

namespace qv::pipeline {
namespace {

// E(p) = (b - a) x (p - a): positive on the inside of a clockwise triangle.
struct Edge {
    int64_t dx, dy;
    int64_t At(int64_t px, int64_t py, const ScreenVertex& a) const { return dx * (py - a.y) - dy * (px - a.x); }
    bool TopLeft() const { return dy < 0 || (dy == 0 && dx > 0); }
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
    const double x1 = double(int64_t{b.x} - a.x) / kSubpixelOne, y1 = double(int64_t{b.y} - a.y) / kSubpixelOne;
    const double x2 = double(int64_t{c.x} - a.x) / kSubpixelOne, y2 = double(int64_t{c.y} - a.y) / kSubpixelOne;
    const double ox = out.minX - double(a.x) / kSubpixelOne, oy = out.minY - double(a.y) / kSubpixelOne;
    const auto plane = [&](double va, double vb, double vc) {
        const double d1 = vb - va, d2 = vc - va;
        const double ddx = (d1 * y2 - d2 * y1) * invDet, ddy = (d2 * x1 - d1 * x2) * invDet;
        return Gradient{va + ddx * ox + ddy * oy, ddx, ddy};
    };
    constexpr double kDepthScale = 4294967295.0;
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
    return true;
}

}  // namespace qv::pipeline
