// Pixel traversal, written once over a set of lanes (one pixel, or four
// side by side) and built by each instruction set's file with its own
// instructions; hence internal to each of them.
//
// Row by row: every edge that is not horizontal bounds each row's covered
// columns from one side, an exact floor division tracked from row to row
// without dividing; horizontal edges only trim the first or last rows. The
// spans are written in groups of lanes. A pixel's depth (fixed point with 24
// fractional bits) and colour channels (16 bits) are the plane's value at
// (minX, minY) plus its steps times the pixel's column and row, whichever
// group it falls in. Errors that add up over a row or a column stay below a
// quarter of a step of the 32-bit depth, so depths kept at least 1 from either
// end never wrap. Triangles whose attributes leave those ranges anywhere in
// their bounding box (only slivers with extreme gradients get there) take
// their values from the planes pixel by pixel instead.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pipeline/raster.h"

namespace qv::pipeline {
namespace {

// floor(n / d) and the remainder, for d > 0. Below 2^52 the quotient of the
// two as doubles is within one of the floor (and a double division is far
// quicker than a 64-bit integer one), so one correction makes it exact.
inline void FloorDivide(int64_t n, int64_t d, int64_t& q, int64_t& r) {
    constexpr int64_t kExact = int64_t{1} << 52;
    if (n > -kExact && n < kExact && d < kExact) {
        q = static_cast<int64_t>(double(n) / double(d));
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

inline int64_t FloorDivide(int64_t n, int64_t d) {
    int64_t q, r;
    FloorDivide(n, d, q, r);
    return q;
}

// floor(n / d) while n changes by a fixed step per row: the quotient and the
// remainder advance by the step's, and a remainder that reaches d carries
// into the quotient, all without branches.
class RowBound {
public:
    void Init(int64_t n, int64_t d, int64_t step) {
        d_ = d;
        FloorDivide(n, d, q_, r_);
        FloorDivide(step, d, stepQ_, stepR_);
    }
    int64_t Column() const { return q_; }
    void Step() {
        const int64_t over = r_ + stepR_ - d_;
        const int64_t below = over >> 63;  // all ones when the remainder stays below d
        r_ = over + (d_ & below);
        q_ += stepQ_ + 1 + below;
    }

private:
    int64_t d_, q_, r_, stepQ_, stepR_;
};

// The edges of one triangle by the side they bound. An edge whose function
// grows with x (stepX > 0) gives a row its first column, ceil(-e / stepX);
// one that falls gives its last, floor(e / -stepX); a horizontal edge holds
// for whole rows, so it narrows the range of rows instead.
struct RowBounds {
    RowBound left[2], right[2];
    int leftCount = 0, rightCount = 0;
    int64_t firstRow, lastRow;  // relative to minY
};

inline bool MakeRowBounds(const TriangleSetup& t, RowBounds& out) {
    out.firstRow = 0;
    out.lastRow = int64_t{t.maxY} - t.minY;
    int64_t n[3], d[3], step[3];
    bool rising[3];
    int bounding = 0;
    for (int i = 0; i < 3; ++i) {
        const int64_t a = t.stepX[i], e = t.edge[i], b = t.stepY[i];
        if (a == 0) {
            // e + b * row >= 0; b is not 0, or the triangle would have no area.
            if (b > 0) out.firstRow = std::max(out.firstRow, FloorDivide(-e + b - 1, b));
            if (b < 0) out.lastRow = std::min(out.lastRow, FloorDivide(e, -b));
            continue;
        }
        rising[bounding] = a > 0;
        n[bounding] = a > 0 ? -e + a - 1 : e;
        d[bounding] = a > 0 ? a : -a;
        step[bounding] = a > 0 ? -b : b;
        ++bounding;
    }
    if (out.firstRow > out.lastRow) return false;
    for (int i = 0; i < bounding; ++i) {
        RowBound& bound = rising[i] ? out.left[out.leftCount++] : out.right[out.rightCount++];
        bound.Init(n[i] + step[i] * out.firstRow, d[i], step[i]);
    }
    return true;
}

// An attribute plane in fixed point: its value at (minX, minY) and its steps
// per column and per row.
template <class T>
struct FixedPlane {
    T at, dx, dy;
};

inline int64_t PlaneAt(const FixedPlane<int64_t>& p, int64_t row, int64_t column) {
    return p.at + row * p.dy + column * p.dx;
}

// Colour planes stay within 32 bits over the box; summed modulo 2^32, in any
// order, they give the same value.
inline int32_t PlaneAt(const FixedPlane<int32_t>& p, int64_t row, int64_t column) {
    return int32_t(uint32_t(p.at) + uint32_t(row) * uint32_t(p.dy) + uint32_t(column) * uint32_t(p.dx));
}

// The plane in fixed point with the given fractional bits, when its values
// over the bounding box stay within [low, high] and its gradients within
// +-maxStep, so that the conversions and every sum of steps are in range.
template <class T>
bool MakeFixedPlane(double at, double dx, double dy, const TriangleSetup& t, double low, double high, double maxStep,
                    double one, FixedPlane<T>& out) {
    const double w = double(t.maxX - t.minX), h = double(t.maxY - t.minY);
    const auto fits = [low, high](double v) { return v >= low && v <= high; };
    if (!(std::fabs(dx) <= maxStep && std::fabs(dy) <= maxStep && fits(at) && fits(at + dx * w) &&
          fits(at + dy * h) && fits(at + dx * w + dy * h))) {
        return false;
    }
    out = {T(at * one), T(dx * one), T(dy * one)};
    return true;
}

// A triangle's attribute planes in fixed point (fixed false when they do not fit).
struct Planes {
    FixedPlane<int64_t> z{};
    FixedPlane<int32_t> r{}, g{}, b{};
    bool fixed = true;
};

inline Planes MakePlanes(const TriangleSetup& t, bool depth, bool color) {
    constexpr double kDepthOne = 16777216.0, kColorOne = 65536.0;  // 2^24, 2^16
    Planes p;
    p.fixed = (!depth || MakeFixedPlane(t.z, t.dzdx, t.dzdy, t, 1.0, 4294967294.0, 4294967296.0, kDepthOne, p.z)) &&
              (!color || (MakeFixedPlane(t.r, t.drdx, t.drdy, t, -1024, 1024, 2048, kColorOne, p.r) &&
                          MakeFixedPlane(t.g, t.dgdx, t.dgdy, t, -1024, 1024, 2048, kColorOne, p.g) &&
                          MakeFixedPlane(t.b, t.dbdx, t.dbdy, t, -1024, 1024, 2048, kColorOne, p.b)));
    return p;
}

// A colour channel to 0..255 (NaN to 0).
template <class T>
uint32_t Channel(T v) {
    v = v > 0 ? v : 0;
    return static_cast<uint32_t>(v < 255 ? v : 255);
}

inline uint32_t FixedDepth(int64_t z) { return static_cast<uint32_t>(z >> 24); }

inline uint32_t FixedColor(int32_t r, int32_t g, int32_t b) {
    return Channel(r >> 16) << 16 | Channel(g >> 16) << 8 | Channel(b >> 16);
}

inline uint32_t PlaneDepth(double v) {
    v = v > 0 ? v : 0;
    return static_cast<uint32_t>(v < 4294967295.0 ? v : 4294967295.0);
}

// Pixel k of the run at color and depth, if it passes the depth test.
template <bool DepthTest, bool DepthWrite, bool ColorWrite>
void WritePixel(uint32_t* color, uint32_t* depth, int k, uint32_t compare, uint32_t d, uint32_t rgb) {
    bool pass = true;
    if constexpr (DepthTest) {
        const uint32_t stored = depth[k];
        // Outcome index: 0 when d < stored, 1 when equal, 2 when greater.
        pass = (compare >> ((d >= stored) + (d > stored))) & 1;
        if constexpr (DepthWrite) depth[k] = pass ? d : stored;
    }
    if constexpr (ColorWrite) color[k] = pass ? rgb : color[k];
}

// The attributes at one pixel.
struct Point {
    int64_t z;
    int32_t r, g, b;
};

// One triangle's pixels in groups of lanes. The lanes hold the attributes of
// a group of pixels in a row, start at a given pixel, step on to the next
// group, and write the pixels of a group that a mask of lanes selects.
template <class Lanes, bool DepthTest, bool DepthWrite, bool ColorWrite>
class Traversal {
public:
    static constexpr int W = Lanes::kWidth;
    using Mask = typename Lanes::Mask;

    Traversal(const TriangleSetup& t, const Surface& s, uint32_t compare)
        : t_(t), s_(s), compare_(compare), planes_(MakePlanes(t, DepthTest, ColorWrite)), lanes_(planes_, compare) {}

    void Run(const RowShare& share) {
        RowBounds bounds;
        if (!MakeRowBounds(t_, bounds)) return;
        // A triangle has at least one edge on each side and at most three in all.
        if (bounds.leftCount == 2) return Walk<2, 1>(bounds, share);
        if (bounds.rightCount == 2) return Walk<1, 2>(bounds, share);
        Walk<1, 1>(bounds, share);
    }

private:
    template <int LeftCount, int RightCount>
    void StepRow(RowBounds& bounds, int64_t& first, int64_t& last) {
        first = 0;
        last = int64_t{t_.maxX} - t_.minX;
        for (int i = 0; i < LeftCount; ++i) {
            first = std::max(first, bounds.left[i].Column());
            bounds.left[i].Step();
        }
        for (int i = 0; i < RightCount; ++i) {
            last = std::min(last, bounds.right[i].Column());
            bounds.right[i].Step();
        }
    }

    // Rows one band at a time: the bands the share owns are drawn, the others
    // only stepped over (the bounds advance row by row).
    template <int LeftCount, int RightCount>
    void Walk(RowBounds& bounds, const RowShare& share) {
        int64_t first, last;
        for (int64_t row = bounds.firstRow; row <= bounds.lastRow;) {
            int64_t bandLast = bounds.lastRow;
            bool owned = true;
            if (share.count > 1) {
                const int64_t y = t_.minY + row;
                bandLast = std::min(bandLast, (((y >> kBandShift) + 1) << kBandShift) - 1 - t_.minY);
                owned = share.Owns(int32_t(y));
            }
            for (; row <= bandLast; ++row) {
                StepRow<LeftCount, RightCount>(bounds, first, last);
                if (owned && first <= last) {
                    const int32_t x = t_.minX + int32_t(first);
                    Groups(row, x, t_.minX + int32_t(last));
                }
            }
        }
    }

    Point PointAt(int64_t row, int64_t column) const {
        return {PlaneAt(planes_.z, row, column), PlaneAt(planes_.r, row, column), PlaneAt(planes_.g, row, column),
                PlaneAt(planes_.b, row, column)};
    }

    // Pixels x..lastX of row minY + row, in groups of lanes. A group that
    // would reach past the writable rectangle starts further left instead,
    // its lanes before x masked (done already).
    void Groups(int64_t row, int32_t x, int32_t lastX) {
        const std::size_t y = static_cast<std::size_t>(t_.minY + row);
        uint32_t* color = ColorWrite ? s_.color + y * s_.colorPitch : nullptr;
        uint32_t* depth = DepthTest ? s_.depth + y * s_.depthPitch : nullptr;
        if (!planes_.fixed) {
            for (; x <= lastX; ++x) PlanePixel(row, x, color, depth);
            return;
        }
        const int32_t lastStart = s_.x1 - W;
        int32_t gx = x <= lastStart ? x : lastStart;
        typename Lanes::Cursor cursor = lanes_.Start(PointAt(row, gx - t_.minX));
        for (;;) {
            const Mask mask = gx == x ? Lanes::Below(lastX - gx + 1) : Lanes::Range(x - gx, lastX - gx);
            lanes_.template Write<DepthTest, DepthWrite, ColorWrite>(cursor, ColorWrite ? color + gx : nullptr,
                                                                     DepthTest ? depth + gx : nullptr, mask);
            x += W;
            if (x > lastX) return;
            if (x <= lastStart) {
                gx = x;
                lanes_.Step(cursor);
            } else {
                gx = lastStart;
                cursor = lanes_.Start(PointAt(row, gx - t_.minX));
            }
        }
    }

    // Pixel x of row minY + row straight from the planes.
    void PlanePixel(int64_t row, int32_t x, uint32_t* color, uint32_t* depth) const {
        const int64_t column = x - t_.minX;
        const double dy = double(row), dx = double(column);
        const float fy = float(row), fx = float(column);
        const uint32_t rgb = Channel(t_.r + t_.drdy * fy + t_.drdx * fx) << 16 |
                             Channel(t_.g + t_.dgdy * fy + t_.dgdx * fx) << 8 |
                             Channel(t_.b + t_.dbdy * fy + t_.dbdx * fx);
        WritePixel<DepthTest, DepthWrite, ColorWrite>(color, depth, x, compare_,
                                                      PlaneDepth(t_.z + t_.dzdy * dy + t_.dzdx * dx), rgb);
    }

    // Copies, so that the compiler knows the pixel stores leave them alone.
    const TriangleSetup t_;
    const Surface s_;
    const uint32_t compare_;
    const Planes planes_;
    const Lanes lanes_;
};

template <class Lanes, bool DepthTest, bool DepthWrite, bool ColorWrite>
void Traverse(const TriangleSetup& t, const Surface& s, uint32_t compare, const RowShare& share) {
    Traversal<Lanes, DepthTest, DepthWrite, ColorWrite>(t, s, compare).Run(share);
}

template <class Lanes>
void Rasterize(const TriangleSetup& t, const Surface& s, const PixelStates& states, const RowShare& share) {
    const bool test = states.depthTest && s.depth, write = test && states.depthWrite, color = s.color != nullptr;
    if (color) {
        if (!test) return Traverse<Lanes, false, false, true>(t, s, 0, share);
        if (write) return Traverse<Lanes, true, true, true>(t, s, states.compare, share);
        return Traverse<Lanes, true, false, true>(t, s, states.compare, share);
    }
    if (write) return Traverse<Lanes, true, true, false>(t, s, states.compare, share);
    // Without a colour plane only depth writes leave a trace.
}

}  // namespace
}  // namespace qv::pipeline
