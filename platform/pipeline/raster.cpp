// Traversal row by row: each row's covered span comes from exact integer
// bounds per edge, tracked from row to row without division, so the pixel
// loop itself tests nothing but depth.
#include "pipeline/raster.h"

#include <algorithm>

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

// The covered pixels of each row: for an edge rising in x, the first column
// k with e + stepX * k >= 0 is ceil(-e / stepX); for a falling one the last
// is floor(e / -stepX); a flat edge (stepX 0) either holds for the whole row or not at all.
class Spans {
public:
    explicit Spans(const TriangleSetup& t) {
        for (int i = 0; i < 3; ++i) {
            const int64_t a = t.stepX[i];
            if (a > 0) {
                rising_[risingCount_++].Init(-t.edge[i], a, -t.stepY[i]);
            } else if (a < 0) {
                falling_[fallingCount_++].Init(t.edge[i], -a, t.stepY[i]);
            } else {
                flat_[flatCount_] = t.edge[i];
                flatStep_[flatCount_++] = t.stepY[i];
            }
        }
    }

    // The current row's columns, relative to minX; empty when first > last.
    void Row(int64_t width, int64_t& first, int64_t& last) const {
        first = 0;
        last = width - 1;
        for (int i = 0; i < risingCount_; ++i) first = std::max(first, rising_[i].Ceil());
        for (int i = 0; i < fallingCount_; ++i) last = std::min(last, falling_[i].Floor());
        for (int i = 0; i < flatCount_; ++i) {
            if (flat_[i] < 0) last = -1;
        }
    }

    void Step() {
        for (int i = 0; i < risingCount_; ++i) rising_[i].Step();
        for (int i = 0; i < fallingCount_; ++i) falling_[i].Step();
        for (int i = 0; i < flatCount_; ++i) flat_[i] += flatStep_[i];
    }

private:
    FloorDivision rising_[3], falling_[3];
    int64_t flat_[3] = {}, flatStep_[3] = {};
    int risingCount_ = 0, fallingCount_ = 0, flatCount_ = 0;
};

void Prefetch(const uint32_t* p) {
#if defined(__GNUC__)
    __builtin_prefetch(p, 1);
#else
    (void)p;
#endif
}

uint32_t Channel(float v) { return static_cast<uint32_t>(std::min(std::max(v, 0.0f), 255.0f)); }

uint32_t Depth(double v) { return static_cast<uint32_t>(std::min(std::max(v, 0.0), 4294967295.0)); }

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
    for (int32_t y = t.minY; y <= t.maxY; ++y, spans.Step()) {
        int64_t first, last;
        spans.Row(width, first, last);
        if (first > last) continue;

        const double dx = double(first), dy = double(y - t.minY);
        double z = t.z + t.dzdx * dx + t.dzdy * dy;
        float r = static_cast<float>(t.r + t.drdx * dx + t.drdy * dy);
        float g = static_cast<float>(t.g + t.dgdx * dx + t.dgdy * dy);
        float b = static_cast<float>(t.b + t.dbdx * dx + t.dbdy * dy);
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
                const uint32_t c = Channel(r) << 16 | Channel(g) << 8 | Channel(b);
                color[x] = pass ? c : color[x];
            }
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
