// Pixel traversal four pixels at a time with SSE2: depths in two pairs of
// 64-bit lanes, colours as blue, green, red, 0 in 32-bit lanes.
#include "pipeline/raster_kernels.h"

#if defined(__SSE2__)

#include <emmintrin.h>

#include "pipeline/raster_walk.h"

namespace qv::pipeline {
namespace {

class Sse2Lanes {
public:
    static constexpr int kWidth = 4;
    using Mask = __m128i;

    Sse2Lanes(const Planes& p, uint32_t compare)
        : z01_(_mm_set_epi64x(p.z.dx, 0)),
          z23_(_mm_set_epi64x(p.z.dx * 3, p.z.dx * 2)),
          zStride_(_mm_set1_epi64x(p.z.dx * 4)),
          colorStep_(_mm_set_epi32(0, p.r.dx, p.g.dx, p.b.dx)),
          colorStride_(_mm_slli_epi32(colorStep_, 2)),
          zDown_(_mm_set1_epi64x(p.z.dy)),
          colorDown_(_mm_set_epi32(0, p.r.dy, p.g.dy, p.b.dy)) {
        // A comparison passes where (less & passLess_ | greater & passGreater_) ^ flip_:
        // the masks are the outcomes on which it passes, when equal is not among
        // them, else those on which it fails, and flip_ then all ones.
        const bool passEqual = compare >> 1 & 1;
        passLess_ = _mm_set1_epi32(-int32_t((compare & 1) != passEqual));
        passGreater_ = _mm_set1_epi32(-int32_t((compare >> 2 & 1) != passEqual));
        flip_ = _mm_set1_epi32(-int32_t(passEqual));
    }

    // A group's depths in 24.24, and the colour of its first pixel in 16.16.
    struct Cursor {
        __m128i z01, z23, color;
    };

    Cursor Start(const Point& at) const {
        const __m128i z = _mm_set1_epi64x(at.z);
        return {_mm_add_epi64(z, z01_), _mm_add_epi64(z, z23_), _mm_set_epi32(0, at.r, at.g, at.b)};
    }
    void Step(Cursor& c) const {
        c.z01 = _mm_add_epi64(c.z01, zStride_);
        c.z23 = _mm_add_epi64(c.z23, zStride_);
        c.color = _mm_add_epi32(c.color, colorStride_);
    }
    // To the group below.
    void Down(Cursor& c) const {
        c.z01 = _mm_add_epi64(c.z01, zDown_);
        c.z23 = _mm_add_epi64(c.z23, zDown_);
        c.color = _mm_add_epi32(c.color, colorDown_);
    }

    // Lanes 0..count-1, and lanes first..last.
    static Mask Below(int32_t count) { return _mm_cmplt_epi32(_mm_set_epi32(3, 2, 1, 0), _mm_set1_epi32(count)); }
    static Mask Range(int32_t first, int32_t last) {
        const __m128i lane = _mm_set_epi32(3, 2, 1, 0);
        return _mm_and_si128(_mm_cmpgt_epi32(lane, _mm_set1_epi32(first - 1)),
                             _mm_cmplt_epi32(lane, _mm_set1_epi32(last + 1)));
    }

    template <bool DepthTest, bool DepthWrite, bool ColorWrite>
    void Write(const Cursor& c, uint32_t* color, uint32_t* depth, Mask pass) const {
        if constexpr (DepthTest) {
            const __m128i d = _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(_mm_srli_epi64(c.z01, 24)),
                                                              _mm_castsi128_ps(_mm_srli_epi64(c.z23, 24)),
                                                              _MM_SHUFFLE(2, 0, 2, 0)));
            __m128i* p = reinterpret_cast<__m128i*>(depth);
            const __m128i stored = _mm_loadu_si128(p);
            // Flipping the top bits lets signed comparisons order them as unsigned.
            const __m128i sign = _mm_set1_epi32(int32_t(0x80000000u));
            const __m128i a = _mm_xor_si128(d, sign), s = _mm_xor_si128(stored, sign);
            const __m128i unequal = _mm_or_si128(_mm_and_si128(passLess_, _mm_cmplt_epi32(a, s)),
                                                 _mm_and_si128(passGreater_, _mm_cmpgt_epi32(a, s)));
            pass = _mm_and_si128(pass, _mm_xor_si128(unequal, flip_));
            if constexpr (DepthWrite) _mm_storeu_si128(p, Select(pass, d, stored));
        }
        if constexpr (ColorWrite) {
            __m128i* p = reinterpret_cast<__m128i*>(color);
            const __m128i c1 = _mm_add_epi32(c.color, colorStep_), c2 = _mm_add_epi32(c1, colorStep_);
            const __m128i c3 = _mm_add_epi32(c2, colorStep_);
            _mm_storeu_si128(p, Select(pass, Pack(c.color, c1, c2, c3), _mm_loadu_si128(p)));
        }
    }

private:
    static __m128i Select(__m128i mask, __m128i a, __m128i b) {
        return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
    }

    // XRGB of four pixels, each blue, green, red, 0 in 16.16; the saturating
    // packs clamp every channel to 0..255.
    static __m128i Pack(__m128i p0, __m128i p1, __m128i p2, __m128i p3) {
        return _mm_packus_epi16(_mm_packs_epi32(_mm_srai_epi32(p0, 16), _mm_srai_epi32(p1, 16)),
                                _mm_packs_epi32(_mm_srai_epi32(p2, 16), _mm_srai_epi32(p3, 16)));
    }

    // From a group's first pixel to its others, and on to the next group.
    __m128i z01_, z23_, zStride_, colorStep_, colorStride_, zDown_, colorDown_;
    __m128i passLess_, passGreater_, flip_;
};

}  // namespace

void RasterizeSse2(const RasterTriangle& t, const Surface& s, const PixelStates& states, const RowShare& share) {
    Rasterize<Sse2Lanes>(t, s, states, share);
}

}  // namespace qv::pipeline

#else

namespace qv::pipeline {

// Never chosen where SSE2 is missing.
void RasterizeSse2(const RasterTriangle& t, const Surface& s, const PixelStates& states, const RowShare& share) {
    RasterizePlain(t, s, states, share);
}

}  // namespace qv::pipeline

#endif
