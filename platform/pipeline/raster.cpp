// Traversal row by row. Every edge that is not horizontal bounds each row's
// covered columns from one side, and that bound is an exact floor division
// tracked from row to row without dividing; horizontal edges only trim the
// first or last rows. Spans are then written four pixels at a time.
#include "pipeline/raster.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The span writer runs once per row of every triangle: worth inlining
// into the row loop whatever its size.
#if defined(__GNUC__)
#define QV_INLINE inline __attribute__((always_inline))
#else
#define QV_INLINE inline
#endif

namespace qv::pipeline {
namespace {

// floor(n / d) and the remainder, for d > 0.
void FloorDivide(int64_t n, int64_t d, int64_t& q, int64_t& r) {
    q = n / d;
    r = n % d;
    if (r < 0) {
        r += d;
        --q;
    }
}

int64_t FloorDivide(int64_t n, int64_t d) {
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

bool MakeRowBounds(const TriangleSetup& t, RowBounds& out) {
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
    T At(int64_t row, int64_t column) const { return at + T(row) * dy + T(column) * dx; }
};

// The plane in fixed point with the given fractional bits, when its values
// over the bounding box stay within [low, high] and its gradients within
// +-maxStep, so that the conversions and every sum of steps are in range.
template <class T>
QV_INLINE bool MakeFixedPlane(double at, double dx, double dy, const TriangleSetup& t, double low, double high,
                              double maxStep, double one, FixedPlane<T>& out) {
    const double w = double(t.maxX - t.minX), h = double(t.maxY - t.minY);
    const auto fits = [low, high](double v) { return v >= low && v <= high; };
    if (!(std::fabs(dx) <= maxStep && std::fabs(dy) <= maxStep && fits(at) && fits(at + dx * w) &&
          fits(at + dy * h) && fits(at + dx * w + dy * h))) {
        return false;
    }
    out = {T(at * one), T(dx * one), T(dy * one)};
    return true;
}

// Writes the covered spans of one triangle. Depth steps in fixed point with
// 24 fractional bits, colour with 16; the error that adds up over a row or a
// column stays below a quarter of a step of the 32-bit depth, so depths kept
// at least 1 from either end never wrap. Triangles whose attributes leave
// those ranges anywhere in their bounding box (only slivers with extreme
// gradients get there) are evaluated from their planes pixel by pixel
// instead. Four-wide groups and single pixels compute the very same numbers.
template <bool DepthTest, bool DepthWrite, bool ColorWrite>
class SpanWriter {
public:
    SpanWriter(const TriangleSetup& t, const Surface& s, uint32_t compare)
        : t_(t), s_(s), compare_(compare), fixed_(MakeFixed(t)) {}

    // Columns first..last (relative to minX) of row minY + row.
    QV_INLINE void Span(int64_t row, int64_t first, int64_t last) {
        const int32_t x = t_.minX + int32_t(first), y = t_.minY + int32_t(row);
        uint32_t* color = ColorWrite ? s_.color + static_cast<std::size_t>(y) * s_.colorPitch + x : nullptr;
        uint32_t* depth = DepthTest ? s_.depth + static_cast<std::size_t>(y) * s_.depthPitch + x : nullptr;
        const int32_t count = int32_t(last - first) + 1;
        if (!fixed_) {
            for (int32_t k = 0; k < count; ++k) PlanePixel(color, depth, row, first + k, k);
            return;
        }
        const Fixed f{z_.At(row, first), r_.At(row, first), g_.At(row, first), b_.At(row, first)};
        int32_t k = 0;
#if defined(__SSE2__)
        // Groups of four that stay inside the writable rectangle; lanes past
        // the span's end keep what they hold.
        const int32_t room = s_.x1 - x;
        if (room >= 4) {
            Lanes lanes = StartLanes(f);
            for (; k < count && k + 4 <= room; k += 4) Group(color, depth, lanes, k, count);
        }
#endif
        for (; k < count; ++k) FixedPixel(color, depth, f, k);
    }

private:
    static constexpr double kDepthOne = 16777216.0;  // 2^24
    static constexpr double kColorOne = 65536.0;     // 2^16

    // A span's first pixel in fixed point.
    struct Fixed {
        int64_t z;
        int32_t r, g, b;
    };

    bool MakeFixed(const TriangleSetup& t) {
        return (!DepthTest || MakeFixedPlane(t.z, t.dzdx, t.dzdy, t, 1.0, 4294967294.0, 4294967296.0, kDepthOne, z_)) &&
               (!ColorWrite || (MakeFixedPlane(t.r, t.drdx, t.drdy, t, -1024, 1024, 2048, kColorOne, r_) &&
                                MakeFixedPlane(t.g, t.dgdx, t.dgdy, t, -1024, 1024, 2048, kColorOne, g_) &&
                                MakeFixedPlane(t.b, t.dbdx, t.dbdy, t, -1024, 1024, 2048, kColorOne, b_)));
    }

    // Writes pixel k of the span if it passes the depth test.
    void Write(uint32_t* color, uint32_t* depth, int32_t k, uint32_t d, uint32_t rgb) const {
        bool pass = true;
        if constexpr (DepthTest) {
            const uint32_t stored = depth[k];
            // Outcome index: 0 when d < stored, 1 when equal, 2 when greater.
            pass = (compare_ >> ((d >= stored) + (d > stored))) & 1;
            if constexpr (DepthWrite) depth[k] = pass ? d : stored;
        }
        if constexpr (ColorWrite) color[k] = pass ? rgb : color[k];
    }

    // A colour channel to 0..255 (NaN to 0).
    template <class T>
    static uint32_t Channel(T v) {
        v = v > 0 ? v : 0;
        return static_cast<uint32_t>(v < 255 ? v : 255);
    }

    void FixedPixel(uint32_t* color, uint32_t* depth, const Fixed& f, int32_t k) const {
        Write(color, depth, k, static_cast<uint32_t>((f.z + k * z_.dx) >> 24),
              Channel((f.r + k * r_.dx) >> 16) << 16 | Channel((f.g + k * g_.dx) >> 16) << 8 |
                  Channel((f.b + k * b_.dx) >> 16));
    }

    static uint32_t PlaneDepth(double v) {
        v = v > 0 ? v : 0;
        return static_cast<uint32_t>(v < 4294967295.0 ? v : 4294967295.0);
    }

    void PlanePixel(uint32_t* color, uint32_t* depth, int64_t row, int64_t column, int32_t k) const {
        const float dy = float(row), dx = float(column);
        Write(color, depth, k, PlaneDepth(t_.z + t_.dzdy * double(row) + t_.dzdx * double(column)),
              Channel(t_.r + t_.drdy * dy + t_.drdx * dx) << 16 | Channel(t_.g + t_.dgdy * dy + t_.dgdx * dx) << 8 |
                  Channel(t_.b + t_.dbdy * dy + t_.dbdx * dx));
    }

#if defined(__SSE2__)
    // A group of four pixels: their depths in two pairs of 64-bit lanes, and
    // the colour of the first as blue, green, red, 0 in 32-bit lanes.
    struct Lanes {
        __m128i z01, z23, color;
    };

    Lanes StartLanes(const Fixed& f) const {
        const __m128i z = _mm_set1_epi64x(f.z);
        return {_mm_add_epi64(z, z01_), _mm_add_epi64(z, z23_), _mm_set_epi32(0, f.r, f.g, f.b)};
    }

    static __m128i Select(__m128i mask, __m128i a, __m128i b) {
        return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
    }

    // XRGB of four pixels, each blue, green, red, 0 in 16.16; the saturating
    // packs clamp every channel to 0..255.
    static __m128i Pack(__m128i p0, __m128i p1, __m128i p2, __m128i p3) {
        const auto whole = [](__m128i p) { return _mm_srai_epi32(p, 16); };
        return _mm_packus_epi16(_mm_packs_epi32(whole(p0), whole(p1)), _mm_packs_epi32(whole(p2), whole(p3)));
    }

    QV_INLINE void Group(uint32_t* color, uint32_t* depth, Lanes& v, int32_t k, int32_t count) const {
        const __m128i lanes = _mm_add_epi32(_mm_set1_epi32(k), _mm_set_epi32(3, 2, 1, 0));
        __m128i pass = _mm_cmplt_epi32(lanes, _mm_set1_epi32(count));  // within the span
        if constexpr (DepthTest) {
            const __m128i sign = _mm_set1_epi32(int32_t(0x80000000u));
            const __m128i d = _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(_mm_srli_epi64(v.z01, 24)),
                                                              _mm_castsi128_ps(_mm_srli_epi64(v.z23, 24)),
                                                              _MM_SHUFFLE(2, 0, 2, 0)));
            __m128i* p = reinterpret_cast<__m128i*>(depth + k);
            const __m128i stored = _mm_loadu_si128(p);
            // Flipping the top bits lets signed comparisons order them as unsigned.
            const __m128i a = _mm_xor_si128(d, sign), s = _mm_xor_si128(stored, sign);
            const __m128i unequal = _mm_or_si128(_mm_and_si128(passLess_, _mm_cmplt_epi32(a, s)),
                                                 _mm_and_si128(passGreater_, _mm_cmpgt_epi32(a, s)));
            pass = _mm_and_si128(pass, _mm_xor_si128(unequal, flip_));
            if constexpr (DepthWrite) _mm_storeu_si128(p, Select(pass, d, stored));
            v.z01 = _mm_add_epi64(v.z01, zStep_);
            v.z23 = _mm_add_epi64(v.z23, zStep_);
        }
        if constexpr (ColorWrite) {
            __m128i* p = reinterpret_cast<__m128i*>(color + k);
            const __m128i c1 = _mm_add_epi32(v.color, colorStep_), c2 = _mm_add_epi32(c1, colorStep_);
            const __m128i c3 = _mm_add_epi32(c2, colorStep_);
            _mm_storeu_si128(p, Select(pass, Pack(v.color, c1, c2, c3), _mm_loadu_si128(p)));
            v.color = _mm_add_epi32(c3, colorStep_);
        }
    }
#endif

    // Copies, so that the compiler knows the pixel stores leave them alone.
    const TriangleSetup t_;
    const Surface s_;
    const uint32_t compare_;
    FixedPlane<int64_t> z_{};
    FixedPlane<int32_t> r_{}, g_{}, b_{};
    const bool fixed_;
#if defined(__SSE2__)
    // A comparison passes where (less & passLess_ | greater & passGreater_) ^ flip_:
    // the masks are the outcomes on which it passes, when equal is not among
    // them, else those on which it fails, and flip_ then all ones.
    const bool passEqual_ = compare_ >> 1 & 1;
    const __m128i passLess_ = _mm_set1_epi32(-int32_t((compare_ & 1) != passEqual_));
    const __m128i passGreater_ = _mm_set1_epi32(-int32_t((compare_ >> 2 & 1) != passEqual_));
    const __m128i flip_ = _mm_set1_epi32(-int32_t(passEqual_));
    // From a span's first pixel to those of its first group, and on to the next group.
    const __m128i z01_ = _mm_set_epi64x(z_.dx, 0), z23_ = _mm_set_epi64x(z_.dx * 3, z_.dx * 2);
    const __m128i zStep_ = _mm_set1_epi64x(z_.dx * 4);
    const __m128i colorStep_ = _mm_set_epi32(0, r_.dx, g_.dx, b_.dx);  // from one pixel to the next
#endif
};

template <int LeftCount, int RightCount>
QV_INLINE void StepRow(RowBounds& bounds, int64_t width, int64_t& first, int64_t& last) {
    first = 0;
    last = width - 1;
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
template <int LeftCount, int RightCount, class Writer>
QV_INLINE void Walk(RowBounds& bounds, int64_t width, int32_t minY, const RowShare& share, Writer& writer) {
    int64_t first, last;
    for (int64_t row = bounds.firstRow; row <= bounds.lastRow;) {
        int64_t bandLast = bounds.lastRow;
        bool owned = true;
        if (share.count > 1) {
            const int64_t y = minY + row;
            bandLast = std::min(bandLast, (((y >> kBandShift) + 1) << kBandShift) - 1 - minY);
            owned = share.Owns(int32_t(y));
        }
        if (owned) {
            for (; row <= bandLast; ++row) {
                StepRow<LeftCount, RightCount>(bounds, width, first, last);
                if (first <= last) writer.Span(row, first, last);
            }
        } else {
            for (; row <= bandLast; ++row) StepRow<LeftCount, RightCount>(bounds, width, first, last);
        }
    }
}

template <bool DepthTest, bool DepthWrite, bool ColorWrite>
void Traverse(const TriangleSetup& t, const Surface& s, uint32_t compare, const RowShare& share) {
    RowBounds bounds;
    if (!MakeRowBounds(t, bounds)) return;
    SpanWriter<DepthTest, DepthWrite, ColorWrite> writer(t, s, compare);
    const int64_t width = int64_t{t.maxX} - t.minX + 1;
    // A triangle has at least one edge on each side and at most three in all.
    if (bounds.leftCount == 2) return Walk<2, 1>(bounds, width, t.minY, share, writer);
    if (bounds.rightCount == 2) return Walk<1, 2>(bounds, width, t.minY, share, writer);
    Walk<1, 1>(bounds, width, t.minY, share, writer);
}

// Whether any row from minY to maxY belongs to the share.
bool SharesRows(const TriangleSetup& t, const RowShare& share) {
    const uint32_t firstBand = uint32_t(t.minY) >> kBandShift, lastBand = uint32_t(t.maxY) >> kBandShift;
    if (lastBand - firstBand + 1 >= share.count) return true;
    for (uint32_t band = firstBand; band <= lastBand; ++band) {
        if (band % share.count == share.member) return true;
    }
    return false;
}

}  // namespace

void RasterizeTriangle(const TriangleSetup& t, const Surface& s, const PixelStates& states, const RowShare& share) {
    if (share.count > 1 && !SharesRows(t, share)) return;
    const bool test = states.depthTest && s.depth, write = test && states.depthWrite, color = s.color != nullptr;
    if (color) {
        if (!test) return Traverse<false, false, true>(t, s, 0, share);
        if (write) return Traverse<true, true, true>(t, s, states.compare, share);
        return Traverse<true, false, true>(t, s, states.compare, share);
    }
    if (write) return Traverse<true, true, false>(t, s, states.compare, share);
    // Without a colour plane only depth writes leave a trace.
}

}  // namespace qv::pipeline
