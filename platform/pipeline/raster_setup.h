// What traversal derives from a set-up triangle before its first pixel: the
// range of rows it covers, the edges that bound each row's columns, and its
// attribute planes in fixed point. Done once per triangle by each thread that
// walks some of its rows.
#pragma once

#include <cstdint>

#include "pipeline/setup.h"
#include "pipeline/surface.h"

namespace qv::pipeline {

// floor(n / d) while n changes by a fixed step per row: the quotient and the
// remainder advance by the step's, and a remainder that reaches d carries
// into the quotient, all without branches.
class RowBound {
public:
    void Init(int64_t n, int64_t d, int64_t step);
    int64_t Column() const { return q_; }
    // As many steps at once.
    void Skip(int64_t rows);
    void Step() {
        const int64_t over = r_ + stepOver_;
        const int64_t below = over >> 63;  // all ones when the remainder stays below d
        r_ = over + (d_ & below);
        q_ += stepUp_ + below;
    }

private:
    // The step's quotient plus one and its remainder less d, as a step adds
    // them (made once: a step runs for every row).
    int64_t d_, q_, r_, stepUp_, stepOver_;
};

// The edges of one triangle by the side they bound, at its first row. An
// edge whose function grows with x gives a row its first column; one that
// falls gives its last; a horizontal edge narrows the range of rows instead.
struct RowBounds {
    RowBound bound[3];  // leftCount first columns, then rightCount last columns
    int leftCount = 0, rightCount = 0;
    int64_t firstRow, lastRow;  // relative to minY
};

// An attribute plane in fixed point: its value at (minX, minY) and its steps
// per column and per row.
template <class T>
struct FixedPlane {
    T at, dx, dy;
};

// A triangle's attribute planes in fixed point: depth with 24 fractional
// bits, colour channels with 16 (fixed false when they do not fit).
struct Planes {
    FixedPlane<int64_t> z{};
    FixedPlane<int32_t> r{}, g{}, b{};
    bool fixed = true;
};

// What the pixel states and the surface's planes let a triangle write.
struct PixelWrites {
    bool depthTest, depthWrite, color;
};

// A triangle ready for traversal, on any rows of its range.
struct RasterTriangle {
    TriangleSetup setup;
    RowBounds rows;
    Planes planes;
};

// Completes t from t.setup and its edges; false when it covers no row or
// writes nothing.
bool PrepareRaster(const PixelWrites& writes, const Edges& edges, RasterTriangle& t);

}  // namespace qv::pipeline
