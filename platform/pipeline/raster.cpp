// Traversal row by row: each row's covered span comes from exact integer
// bounds per edge, tracked from row to row without division, so the pixel
// loop itself tests nothing but depth.
#include "pipeline/raster.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif


namespace qv::pipeline {
namespace {

// floor(n / d) for d > 0, kept exact while n changes by a fixed step per row.
class FloorDivision {
public:
    void Init(int64_t n, int64_t d, int64_t step) {
        d_ = d;
        Split(n, quotient_, rest_);
        Split(step, stepQuotient_, stepRest_);
    }
    int64_t Floor() const { return quotient_; }
    int64_t Ceil() const { return quotient_ + (rest_ != 0); }
    void Step() {
        quotient_ += stepQuotient_;
        rest_ += stepRest_;
        if (rest_ >= d_) {
            rest_ -= d_;
            ++quotient_;
        }
    }

private:
    // n = q * d + r with 0 <= r < d.
    void Split(int64_t n, int64_t& q, int64_t& r) const {
        q = n / d_;
        r = n % d_;
        if (r < 0) {
            r += d_;
            --q;
        }
    }
    int64_t d_ = 1, quotient_ = 0, rest_ = 0, stepQuotient_ = 0, stepRest_ = 0;
};

// The covered pixels of each row. For an edge rising in x the first column
// k with e + stepX * k >= 0 is ceil(-e / stepX); for a falling one the last is
// floor(e / -stepX); a flat edge (stepX 0) holds for the whole row or not at
// all, its sign tracked as floor(e / 1). All three are stepped every row, and
// the bounds picked without branches.
class Spans {
public:
    explicit Spans(const TriangleSetup& t) {
        for (int i = 0; i < 3; ++i) {
            const int64_t a = t.stepX[i];
            kind_[i] = a > 0 ? kRising : (a < 0 ? kFalling : kFlat);
            if (a > 0) {
                bound_[i].Init(-t.edge[i], a, -t.stepY[i]);
            } else {
                bound_[i].Init(t.edge[i], a < 0 ? -a : 1, t.stepY[i]);
            }
        }
    }

    // The current row's columns, relative to minX; empty when first > last.
    void Row(int64_t width, int64_t& first, int64_t& last) const {
        first = 0;
        last = width - 1;
        for (int i = 0; i < 3; ++i) {
            const int64_t ceil = bound_[i].Ceil(), floor = bound_[i].Floor();
            first = kind_[i] == kRising && ceil > first ? ceil : first;
            last = kind_[i] == kFalling && floor < last ? floor : last;
            last = kind_[i] == kFlat && floor < 0 ? -1 : last;
        }
    }

    void Step() {
        for (FloorDivision& b : bound_) b.Step();
    }

private:
    enum Kind { kRising, kFalling, kFlat };
    FloorDivision bound_[3];
    Kind kind_[3];
};

void Prefetch(const uint32_t* p) {
#if defined(__GNUC__)
    __builtin_prefetch(p, 1);
#else
    (void)p;
#endif
}

// Colour along a span: channels scaled to 0..255 plus 0.5, stepped per pixel,
// written as XRGB. With SSE2 the three channels move together and the
// saturating packs clamp them; elsewhere each is clamped on its own.
#if defined(__SSE2__)

class SpanColor {
public:
    SpanColor(float r, float g, float b, float dr, float dg, float db)
        : value_(_mm_set_ps(0, r, g, b)), step_(_mm_set_ps(0, dr, dg, db)) {}
    uint32_t Pixel() const {
        const __m128i words = _mm_cvttps_epi32(value_);
        const __m128i halves = _mm_packs_epi32(words, words);
        return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(halves, halves)));
    }
    void Step() { value_ = _mm_add_ps(value_, step_); }

private:
    __m128 value_, step_;
};

#else

class SpanColor {
public:
    SpanColor(float r, float g, float b, float dr, float dg, float db) : v_{r, g, b}, d_{dr, dg, db} {}
    uint32_t Pixel() const { return Channel(v_[0]) << 16 | Channel(v_[1]) << 8 | Channel(v_[2]); }
    void Step() {
        for (int i = 0; i < 3; ++i) v_[i] += d_[i];
    }

private:
    static uint32_t Channel(float v) {
        v = v > 0 ? v : 0;
        return static_cast<uint32_t>(v < 255 ? v : 255);
    }
    float v_[3], d_[3];
};

#endif

uint32_t Depth(double v) {
    v = v > 0 ? v : 0;
    return static_cast<uint32_t>(v < 4294967295.0 ? v : 4294967295.0);
}

template <bool DepthTest, bool DepthWrite, bool ColorWrite>
void Traverse(const TriangleSetup& t, const Surface& s, uint32_t compare) {
    Spans spans(t);
    // Start fetching every row of the bounding box: small triangles touch a
    // few pixels on each of several rows, each row its own cache line.
    for (int32_t y = t.minY; y <= t.maxY; ++y) {
        if constexpr (ColorWrite) Prefetch(s.color + static_cast<std::size_t>(y) * s.colorPitch + t.minX);
        if constexpr (DepthTest) Prefetch(s.depth + static_cast<std::size_t>(y) * s.depthPitch + t.minX);
    }
    const int64_t width = int64_t{t.maxX} - t.minX + 1;
    // Attributes at the start of each row, then of each span.
    double zRow = t.z;
    float rRow = t.r, gRow = t.g, bRow = t.b;
    for (int32_t y = t.minY; y <= t.maxY;
         ++y, spans.Step(), zRow += t.dzdy, rRow += t.drdy, gRow += t.dgdy, bRow += t.dbdy) {
        int64_t first, last;
        spans.Row(width, first, last);
        if (first > last) continue;

        const float dx = float(first);
        double z = zRow + t.dzdx * double(first);
        SpanColor shade(rRow + t.drdx * dx, gRow + t.dgdx * dx, bRow + t.dbdx * dx, t.drdx, t.dgdx, t.dbdx);
        const int32_t x0 = t.minX + int32_t(first), x1 = t.minX + int32_t(last);
        uint32_t* color = ColorWrite ? s.color + static_cast<std::size_t>(y) * s.colorPitch : nullptr;
        uint32_t* depth = DepthTest ? s.depth + static_cast<std::size_t>(y) * s.depthPitch : nullptr;
        for (int32_t x = x0; x <= x1; ++x) {
            bool pass = true;
            if constexpr (DepthTest) {
                const uint32_t d = Depth(z), stored = depth[x];
                // Outcome index: 0 when d < stored, 1 when equal, 2 when greater.
                pass = (compare >> ((d >= stored) + (d > stored))) & 1;
                if constexpr (DepthWrite) depth[x] = pass ? d : stored;
            }
            if constexpr (ColorWrite) {
                color[x] = pass ? shade.Pixel() : color[x];
                shade.Step();
            }
            z += t.dzdx;
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
