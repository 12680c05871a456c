// Row bounds and fixed-point planes, once per triangle.
//
// Every edge that is not horizontal bounds each row's covered columns from
// one side: an edge whose function grows with x (stepX > 0) gives a row its
// first column, ceil(-e / stepX); one that falls gives its last,
// floor(e / -stepX). Errors of the fixed-point planes that add up over a row
// or a column stay below a quarter of a step of the 32-bit depth, so depths
// kept at least 1 from either end never wrap; planes whose values leave those
// ranges anywhere in the bounding box (only slivers with extreme gradients
// get there) are not fixed, and traversal takes their values pixel by pixel.
#include "pipeline/raster_setup.h"

#include <algorithm>
#include <cmath>

namespace qv::pipeline {
namespace {

// Whether a quotient is best found through the inverse of the divisor (a
// 64-bit integer division takes 40 to 90 cycles on older x86 processors),
// or by dividing: WebAssembly engines run the former about twice as slowly
// as the division.
#if defined(__EMSCRIPTEN__)
constexpr bool kDivideByInverse = false;
#else
constexpr bool kDivideByInverse = true;
#endif

// floor(n / d) and the remainder, for d > 0, given inverse = 1 / d as a
// double (one division serves every numerator over the same d). Below 2^50
// n times the inverse is within a quarter of n / d, so its floor is within
// one of the true floor (and a multiplication is far quicker than a 64-bit
// integer division), and one correction makes it exact.
void FloorDivide(int64_t n, int64_t d, double inverse, int64_t& q, int64_t& r) {
    constexpr int64_t kNear = int64_t{1} << 50;
    if (kDivideByInverse && n > -kNear && n < kNear && d < kNear) {
        const double x = double(n) * inverse;
        q = static_cast<int64_t>(x);
        q -= double(q) > x;
        r = n - q * d;
    } else {
        q = n / d;
        r = n % d;
    }
    if (r < 0) {
        r += d;
        --q;
    } else if (r >= d) {
        r -= d;
        ++q;
    }
}

void FloorDivide(int64_t n, int64_t d, int64_t& q, int64_t& r) { FloorDivide(n, d, 1.0 / double(d), q, r); }

int64_t FloorDivide(int64_t n, int64_t d) {
    int64_t q, r;
    FloorDivide(n, d, q, r);
    return q;
}

bool MakeRowBounds(const TriangleSetup& t, const Edges& edges, RowBounds& out) {
    out.firstRow = 0;
    out.lastRow = int64_t{t.maxY} - t.minY;
    out.leftCount = out.rightCount = 0;
    // Which side an edge bounds follows no pattern from one triangle to the
    // next, so it is worked into the values and the slots by arithmetic
    // rather than branched on.
    int64_t n[3], d[3], step[3];
    int rising[3];
    int bounding = 0;
    for (int i = 0; i < 3; ++i) {
        const int64_t a = edges.stepX[i], e = edges.edge[i], b = edges.stepY[i];
        if (a == 0) {
            // e + b * row >= 0; b is not 0, or the triangle would have no area.
            if (b > 0) out.firstRow = std::max(out.firstRow, FloorDivide(-e + b - 1, b));
            if (b < 0) out.lastRow = std::min(out.lastRow, FloorDivide(e, -b));
            continue;
        }
        rising[bounding] = a > 0;
        const int64_t all = -int64_t{a > 0}, sign = a >> 63;  // all ones where rising; where falling
        n[bounding] = e + (all & (a - 1 - 2 * e));  // -e + a - 1 where rising, else e
        d[bounding] = (a ^ sign) - sign;
        step[bounding] = (b ^ all) - all;  // -b where rising, else b
        out.leftCount += rising[bounding];
        ++bounding;
    }
    if (out.firstRow > out.lastRow) return false;
    // Rising edges first, falling after them, each in the order of the edges.
    int left = 0, right = out.leftCount;
    for (int i = 0; i < bounding; ++i) {
        const int slot = rising[i] ? left : right;
        left += rising[i];
        right += 1 - rising[i];
        out.bound[slot].Init(n[i] + step[i] * out.firstRow, d[i], step[i]);
    }
    out.rightCount = bounding - out.leftCount;
    return true;
}

// The plane in fixed point with the given fractional bits, when its values
// over the bounding box stay within [low, high] and its gradients within
// +-maxStep, so that the conversions and every sum of steps are in range.
template <class T>
bool MakeFixedPlane(double at, double dx, double dy, const TriangleSetup& t, double low, double high, double maxStep,
                    double one, FixedPlane<T>& out) {
    if (!(std::fabs(dx) <= maxStep && std::fabs(dy) <= maxStep)) return false;
    // With finite steps the corners are all NaN (at is) or none is, so their
    // least and greatest decide for all four.
    const double w = double(t.maxX - t.minX), h = double(t.maxY - t.minY);
    const double c0 = at, c1 = at + dx * w, c2 = at + dy * h, c3 = c1 + dy * h;
    if (!(std::min(std::min(c0, c1), std::min(c2, c3)) >= low && std::max(std::max(c0, c1), std::max(c2, c3)) <= high)) {
        return false;
    }
    out = {T(at * one), T(dx * one), T(dy * one)};
    return true;
}

// Written in place: a copy of the whole would be stored and read back.
void MakePlanes(const TriangleSetup& t, bool depth, bool color, Planes& p) {
    constexpr double kDepthOne = 16777216.0, kColorOne = 65536.0;  // 2^24, 2^16
    p = {};
    p.fixed = (!depth || MakeFixedPlane(t.z, t.dzdx, t.dzdy, t, 1.0, 4294967294.0, 4294967296.0, kDepthOne, p.z)) &&
              (!color || (MakeFixedPlane(t.r, t.drdx, t.drdy, t, -1024, 1024, 2048, kColorOne, p.r) &&
                          MakeFixedPlane(t.g, t.dgdx, t.dgdy, t, -1024, 1024, 2048, kColorOne, p.g) &&
                          MakeFixedPlane(t.b, t.dbdx, t.dbdy, t, -1024, 1024, 2048, kColorOne, p.b)));
}

}  // namespace

void RowBound::Init(int64_t n, int64_t d, int64_t step) {
    d_ = d;
    const double inverse = 1.0 / double(d);
    FloorDivide(n, d, inverse, q_, r_);
    int64_t stepQ, stepR;
    FloorDivide(step, d, inverse, stepQ, stepR);
    stepUp_ = stepQ + 1;
    stepOver_ = stepR - d;
}

void RowBound::Skip(int64_t rows) {
    int64_t carry;
    FloorDivide(r_ + rows * (stepOver_ + d_), d_, carry, r_);
    q_ += rows * (stepUp_ - 1) + carry;
}

bool PrepareRaster(const PixelWrites& writes, const Edges& edges, RasterTriangle& t) {
    // Without a colour plane only depth writes leave a trace.
    if (!writes.color && !writes.depthWrite) return false;
    if (!MakeRowBounds(t.setup, edges, t.rows)) return false;
    MakePlanes(t.setup, writes.depthTest, writes.color, t.planes);
    return true;
}

}  // namespace qv::pipeline
