// Pixel traversal, written once over a set of lanes (one pixel, or four
// side by side) and built by each instruction set's file with its own
// instructions; hence internal to each of them.
//
// Row by row from the triangle's prepared bounds; the spans are written in
// groups of lanes. A pixel's depth and colour channels are the fixed-point
// plane's value at (minX, minY) plus its steps times the pixel's column and
// row, whichever group it falls in; triangles without fixed planes take their
// values from the float planes pixel by pixel.
#pragma once

#include <algorithm>
#include <cstdint>

#include "pipeline/raster.h"

namespace qv::pipeline {
namespace {

inline int64_t PlaneAt(const FixedPlane<int64_t>& p, int64_t row, int64_t column) {
    return p.at + row * p.dy + column * p.dx;
}

// Colour planes stay within 32 bits over the box; summed modulo 2^32, in any
// order, they give the same value.
inline int32_t PlaneAt(const FixedPlane<int32_t>& p, int64_t row, int64_t column) {
    return int32_t(uint32_t(p.at) + uint32_t(row) * uint32_t(p.dy) + uint32_t(column) * uint32_t(p.dx));
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

    Traversal(const RasterTriangle& t, const Surface& s, uint32_t compare)
        : t_(t.setup),
          minX_(t.setup.minX),
          minY_(t.setup.minY),
          maxX_(t.setup.maxX),
          s_(s),
          compare_(compare),
          planes_(t.planes),
          lanes_(planes_, compare) {}

    // Steps its own copy of the bounds.
    void Run(RowBounds bounds, const RowShare& share) {
        // A triangle at most two groups wide keeps its groups at the same
        // columns on every row (the single-pixel reference takes each row
        // from its first pixel, as wider triangles do).
        if constexpr (W > 1) {
            if (planes_.fixed && maxX_ - minX_ < 2 * W && s_.x1 - s_.x0 >= 2 * W) {
                return maxX_ - minX_ < W ? Sides<1>(bounds, share) : Sides<2>(bounds, share);
            }
        }
        Sides<0>(bounds, share);
    }

private:
    template <int LeftCount, int RightCount>
    void StepRow(RowBounds& bounds, int64_t& first, int64_t& last) {
        first = 0;
        last = int64_t{maxX_} - minX_;
        for (int i = 0; i < LeftCount; ++i) {
            first = std::max(first, bounds.bound[i].Column());
            bounds.bound[i].Step();
        }
        for (int i = 0; i < RightCount; ++i) {
            last = std::min(last, bounds.bound[LeftCount + i].Column());
            bounds.bound[LeftCount + i].Step();
        }
    }

    template <int LeftCount, int RightCount>
    static void SkipRows(RowBounds& bounds, int64_t rows) {
        for (int i = 0; i < LeftCount + RightCount; ++i) bounds.bound[i].Skip(rows);
    }

    // Narrow: the number of groups at fixed columns that every row falls in
    // (0: groups from each row's first pixel instead).
    template <int Narrow>
    void Sides(RowBounds& bounds, const RowShare& share) {
        // A triangle has at least one edge on each side and at most three in all.
        if (bounds.leftCount == 2) return Walk<2, 1, Narrow>(bounds, share);
        if (bounds.rightCount == 2) return Walk<1, 2, Narrow>(bounds, share);
        Walk<1, 1, Narrow>(bounds, share);
    }

    // The rows the share owns: the bounds skip those above them at once.
    template <int LeftCount, int RightCount, int Narrow>
    void Walk(RowBounds& bounds, const RowShare& share) {
        const int64_t firstRow = std::max(bounds.firstRow, int64_t{share.top} - minY_);
        const int64_t lastRow = std::min(bounds.lastRow, int64_t{share.bottom} - 1 - minY_);
        if (firstRow > lastRow) return;
        if (firstRow > bounds.firstRow) SkipRows<LeftCount, RightCount>(bounds, firstRow - bounds.firstRow);
        if constexpr (Narrow > 0) {
            NarrowRows<LeftCount, RightCount, Narrow>(bounds, firstRow, lastRow);
        } else {
            int64_t first, last;
            for (int64_t row = firstRow; row <= lastRow; ++row) {
                StepRow<LeftCount, RightCount>(bounds, first, last);
                if (first <= last) Groups(row, minX_ + int32_t(first), minX_ + int32_t(last));
            }
        }
    }

    // Rows row..lastRow of a triangle no wider than Count groups: every
    // row's pixels fall in the groups from the same column on, whose
    // attributes step down a row at a time.
    template <int LeftCount, int RightCount, int Count>
    void NarrowRows(RowBounds& bounds, int64_t row, int64_t lastRow) {
        const int32_t gx = std::min(minX_, s_.x1 - Count * W);
        const int64_t offset = int64_t{minX_} - gx;
        typename Lanes::Cursor cursor[Count];
        for (int k = 0; k < Count; ++k) cursor[k] = lanes_.Start(PointAt(row, k * W - offset));
        int64_t first, last;
        for (; row <= lastRow; ++row) {
            StepRow<LeftCount, RightCount>(bounds, first, last);
            const std::size_t y = static_cast<std::size_t>(minY_ + row);
            const auto f = int32_t(offset + first), l = int32_t(offset + last);
            // Every group is written, with no lane selected where the row
            // misses it: which groups a row reaches is too irregular to
            // branch on.
            for (int k = 0; k < Count; ++k) {
                lanes_.template Write<DepthTest, DepthWrite, ColorWrite>(
                    cursor[k], ColorWrite ? s_.color + y * s_.colorPitch + gx + k * W : nullptr,
                    DepthTest ? s_.depth + y * s_.depthPitch + gx + k * W : nullptr, Lanes::Range(f - k * W, l - k * W));
                lanes_.Down(cursor[k]);
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
        const std::size_t y = static_cast<std::size_t>(minY_ + row);
        uint32_t* color = ColorWrite ? s_.color + y * s_.colorPitch : nullptr;
        uint32_t* depth = DepthTest ? s_.depth + y * s_.depthPitch : nullptr;
        if (!planes_.fixed) {
            for (; x <= lastX; ++x) PlanePixel(row, x, color, depth);
            return;
        }
        const int32_t lastStart = s_.x1 - W;
        int32_t gx = x <= lastStart ? x : lastStart;
        typename Lanes::Cursor cursor = lanes_.Start(PointAt(row, gx - minX_));
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
                cursor = lanes_.Start(PointAt(row, gx - minX_));
            }
        }
    }

    // Pixel x of row minY + row straight from the planes.
    void PlanePixel(int64_t row, int32_t x, uint32_t* color, uint32_t* depth) const {
        const int64_t column = x - minX_;
        const double dy = double(row), dx = double(column);
        const float fy = float(row), fx = float(column);
        const uint32_t rgb = Channel(t_.r + t_.drdy * fy + t_.drdx * fx) << 16 |
                             Channel(t_.g + t_.dgdy * fy + t_.dgdx * fx) << 8 |
                             Channel(t_.b + t_.dbdy * fy + t_.dbdx * fx);
        WritePixel<DepthTest, DepthWrite, ColorWrite>(color, depth, x, compare_,
                                                      PlaneDepth(t_.z + t_.dzdy * dy + t_.dzdx * dx), rgb);
    }

    // The float planes, for triangles without fixed ones; the rest are
    // copies, so that the compiler knows the pixel stores leave them alone.
    const TriangleSetup& t_;
    const int32_t minX_, minY_, maxX_;
    const Surface s_;
    const uint32_t compare_;
    const Planes planes_;
    const Lanes lanes_;
};

template <class Lanes, bool DepthTest, bool DepthWrite, bool ColorWrite>
void Traverse(const RasterTriangle& t, const Surface& s, uint32_t compare, const RowShare& share) {
    Traversal<Lanes, DepthTest, DepthWrite, ColorWrite>(t, s, compare).Run(t.rows, share);
}

template <class Lanes>
void Rasterize(const RasterTriangle& t, const Surface& s, const PixelStates& states, const RowShare& share) {
    const PixelWrites writes = MakePixelWrites(states, s);
    if (writes.color) {
        if (!writes.depthTest) return Traverse<Lanes, false, false, true>(t, s, 0, share);
        if (writes.depthWrite) return Traverse<Lanes, true, true, true>(t, s, states.compare, share);
        return Traverse<Lanes, true, false, true>(t, s, states.compare, share);
    }
    if (writes.depthWrite) return Traverse<Lanes, true, true, false>(t, s, states.compare, share);
    // Without a colour plane only depth writes leave a trace.
}

}  // namespace
}  // namespace qv::pipeline
