// Pixel traversal eight pixels at a time with AVX2: depths in two sets of
// four 64-bit lanes, colours as blue, green, red, 0 in 32-bit lanes, two
// pixels to a register. Built with AVX2 on x86 alone and chosen only where
// the processor has it; everything here stays internal to this file (its one
// external function excepted), so no code built for AVX2 can stand in for
// another file's.
#include "pipeline/raster_kernels.h"

#if defined(__AVX2__)

#include <immintrin.h>

#include "pipeline/raster_walk.h"

namespace qv::pipeline {
namespace {

class Avx2Lanes {
public:
    static constexpr int kWidth = 8;
    using Mask = __m256i;

    Avx2Lanes(const Planes& p, uint32_t compare)
        : z0123_(_mm256_set_epi64x(p.z.dx * 3, p.z.dx * 2, p.z.dx, 0)),
          z4567_(_mm256_set_epi64x(p.z.dx * 7, p.z.dx * 6, p.z.dx * 5, p.z.dx * 4)),
          zStride_(_mm256_set1_epi64x(p.z.dx * 8)),
          zDown_(_mm256_set1_epi64x(p.z.dy)),
          colorDown_(_mm_set_epi32(0, p.r.dy, p.g.dy, p.b.dy)) {
        const __m128i step = _mm_set_epi32(0, p.r.dx, p.g.dx, p.b.dx);
        const __m128i step2 = _mm_add_epi32(step, step), step4 = _mm_add_epi32(step2, step2);
        color01_ = _mm256_set_m128i(step, _mm_setzero_si128());
        step2_ = _mm256_set_m128i(step2, step2);
        step4_ = _mm256_set_m128i(step4, step4);
        step6_ = _mm256_add_epi32(step4_, step2_);
        colorStride_ = _mm_add_epi32(step4, step4);
        // As Sse2Lanes: passing where (less & passLess_ | greater & passGreater_) ^ flip_.
        const bool passEqual = compare >> 1 & 1;
        passLess_ = _mm256_set1_epi32(-int32_t((compare & 1) != passEqual));
        passGreater_ = _mm256_set1_epi32(-int32_t((compare >> 2 & 1) != passEqual));
        flip_ = _mm256_set1_epi32(-int32_t(passEqual));
    }

    // A group's depths in 24.24, and the colour of its first pixel in 16.16.
    struct Cursor {
        __m256i z0123, z4567;
        __m128i color;
    };

    Cursor Start(const Point& at) const {
        const __m256i z = _mm256_set1_epi64x(at.z);
        return {_mm256_add_epi64(z, z0123_), _mm256_add_epi64(z, z4567_), _mm_set_epi32(0, at.r, at.g, at.b)};
    }
    void Step(Cursor& c) const {
        c.z0123 = _mm256_add_epi64(c.z0123, zStride_);
        c.z4567 = _mm256_add_epi64(c.z4567, zStride_);
        c.color = _mm_add_epi32(c.color, colorStride_);
    }
    // To the group below.
    void Down(Cursor& c) const {
        c.z0123 = _mm256_add_epi64(c.z0123, zDown_);
        c.z4567 = _mm256_add_epi64(c.z4567, zDown_);
        c.color = _mm_add_epi32(c.color, colorDown_);
    }

    // Lanes 0..count-1, and lanes first..last.
    static Mask Below(int32_t count) { return _mm256_cmpgt_epi32(_mm256_set1_epi32(count), Lane()); }
    static Mask Range(int32_t first, int32_t last) {
        return _mm256_and_si256(_mm256_cmpgt_epi32(Lane(), _mm256_set1_epi32(first - 1)),
                                _mm256_cmpgt_epi32(_mm256_set1_epi32(last + 1), Lane()));
    }

    template <bool DepthTest, bool DepthWrite, bool ColorWrite>
    void Write(const Cursor& c, uint32_t* color, uint32_t* depth, Mask pass) const {
        if constexpr (DepthTest) {
            // The low halves of the shifted depths, in the order 0 1 4 5 2 3 6 7, then put right.
            const __m256 halves = _mm256_shuffle_ps(_mm256_castsi256_ps(_mm256_srli_epi64(c.z0123, 24)),
                                                    _mm256_castsi256_ps(_mm256_srli_epi64(c.z4567, 24)),
                                                    _MM_SHUFFLE(2, 0, 2, 0));
            const __m256i d = _mm256_permute4x64_epi64(_mm256_castps_si256(halves), _MM_SHUFFLE(3, 1, 2, 0));
            __m256i* p = reinterpret_cast<__m256i*>(depth);
            const __m256i stored = _mm256_loadu_si256(p);
            // Flipping the top bits lets signed comparisons order them as unsigned.
            const __m256i sign = _mm256_set1_epi32(int32_t(0x80000000u));
            const __m256i a = _mm256_xor_si256(d, sign), s = _mm256_xor_si256(stored, sign);
            const __m256i unequal = _mm256_or_si256(_mm256_and_si256(passLess_, _mm256_cmpgt_epi32(s, a)),
                                                    _mm256_and_si256(passGreater_, _mm256_cmpgt_epi32(a, s)));
            pass = _mm256_and_si256(pass, _mm256_xor_si256(unequal, flip_));
            if constexpr (DepthWrite) _mm256_storeu_si256(p, _mm256_blendv_epi8(stored, d, pass));
        }
        if constexpr (ColorWrite) {
            __m256i* p = reinterpret_cast<__m256i*>(color);
            const __m256i c01 = _mm256_add_epi32(_mm256_set_m128i(c.color, c.color), color01_);
            _mm256_storeu_si256(p, _mm256_blendv_epi8(_mm256_loadu_si256(p),
                                                      Pack(c01, _mm256_add_epi32(c01, step2_),
                                                           _mm256_add_epi32(c01, step4_), _mm256_add_epi32(c01, step6_)),
                                                      pass));
        }
    }

private:
    static __m256i Lane() { return _mm256_set_epi32(7, 6, 5, 4, 3, 2, 1, 0); }

    // XRGB of eight pixels, two to each argument (blue, green, red, 0 in
    // 16.16); the saturating packs clamp every channel to 0..255 and leave
    // the pixels in the order 0 2 4 6 1 3 5 7, which the permutation puts right.
    static __m256i Pack(__m256i p01, __m256i p23, __m256i p45, __m256i p67) {
        const __m256i packed =
            _mm256_packus_epi16(_mm256_packs_epi32(_mm256_srai_epi32(p01, 16), _mm256_srai_epi32(p23, 16)),
                                _mm256_packs_epi32(_mm256_srai_epi32(p45, 16), _mm256_srai_epi32(p67, 16)));
        return _mm256_permutevar8x32_epi32(packed, _mm256_set_epi32(7, 3, 6, 2, 5, 1, 4, 0));
    }

    // From a group's first pixel to its others, and on to the next group.
    __m256i z0123_, z4567_, zStride_, zDown_, color01_, step2_, step4_, step6_;
    __m128i colorDown_, colorStride_;
    __m256i passLess_, passGreater_, flip_;
};

}  // namespace

bool ProcessorHasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

void RasterizeAvx2(const RasterTriangle& t, const Surface& s, const PixelStates& states, const RowShare& share) {
    Rasterize<Avx2Lanes>(t, s, states, share);
}

}  // namespace qv::pipeline

#else

namespace qv::pipeline {

bool ProcessorHasAvx2() { return false; }

// Never chosen where the build has no AVX2.
void RasterizeAvx2(const RasterTriangle& t, const Surface& s, const PixelStates& states, const RowShare& share) {
    RasterizeSse2(t, s, states, share);
}

}  // namespace qv::pipeline

#endif
