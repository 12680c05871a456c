// The vertex stages sixteen vertices at a time with AVX-512 (its foundation
// instructions alone). Built with them on x86 alone and chosen only where the
// processor has them; everything here but its external functions stays
// internal to this file, so no code built for AVX-512 can stand in for
// another file's.
#include "pipeline/vertex_kernels.h"

#if defined(__AVX512F__)

#include <immintrin.h>

#include "pipeline/vertex_avx2_lanes.h"
#include "pipeline/vertex_loops.h"

namespace qv::pipeline {
namespace {

// Comparisons give masks, made all-ones lanes as the loops take them. Where
// GCC's plain form passes an undefined value through (and warns of it), the
// zero-masked form under a full mask stands in: the same instruction.
struct Avx512Floats {
    static constexpr int kWidth = 16;
    using F = __m512;
    using I = __m512i;
    static constexpr __mmask16 kAll = 0xFFFF;

    static F Load(const float* p) { return _mm512_loadu_ps(p); }
    static void Store(float* p, F v) { _mm512_storeu_ps(p, v); }
    static void StoreInt(int32_t* p, I v) { _mm512_storeu_si512(p, v); }
    static F Set(float v) { return _mm512_set1_ps(v); }
    static F Zero() { return _mm512_setzero_ps(); }
    static I SetInt(int32_t v) { return _mm512_set1_epi32(v); }
    static F Add(F a, F b) { return _mm512_add_ps(a, b); }
    static F Sub(F a, F b) { return _mm512_sub_ps(a, b); }
    static F Mul(F a, F b) { return _mm512_mul_ps(a, b); }
    static F Div(F a, F b) { return _mm512_div_ps(a, b); }
    static F Sqrt(F a) { return _mm512_maskz_sqrt_ps(kAll, a); }
    static F Min(F a, F b) { return _mm512_maskz_min_ps(kAll, a, b); }
    static F Max(F a, F b) { return _mm512_maskz_max_ps(kAll, a, b); }
    static F Less(F a, F b) { return Lanes(_mm512_cmp_ps_mask(a, b, _CMP_LT_OS)); }
    static F LessEqual(F a, F b) { return Lanes(_mm512_cmp_ps_mask(a, b, _CMP_LE_OS)); }
    static F Greater(F a, F b) { return Lanes(_mm512_cmp_ps_mask(a, b, _CMP_GT_OS)); }
    static F Equal(F a, F b) { return Lanes(_mm512_cmp_ps_mask(a, b, _CMP_EQ_OQ)); }
    static F And(F a, F b) { return AsFloat(AndInt(AsInt(a), AsInt(b))); }
    static F Or(F a, F b) { return AsFloat(OrInt(AsInt(a), AsInt(b))); }
    static I AsInt(F v) { return _mm512_castps_si512(v); }
    static F AsFloat(I v) { return _mm512_castsi512_ps(v); }
    static I AndInt(I a, I b) { return _mm512_and_si512(a, b); }
    static I OrInt(I a, I b) { return _mm512_or_si512(a, b); }
    static I AndNotInt(I a, I b) { return _mm512_maskz_andnot_epi32(kAll, a, b); }  // ~a & b
    static I EqualInt(I a, I b) { return _mm512_maskz_mov_epi32(_mm512_cmpeq_epi32_mask(a, b), SetInt(-1)); }
    // Rounding toward zero, for values known to fit.
    static I Truncate(F v) { return _mm512_maskz_cvttps_epi32(kAll, v); }

    // Sixteen vertex records, as two sets of eight side by side.
    static void LoadVertices(const Vertex* v, F& x, F& y, F& z, F& nx, F& ny, F& nz) {
        __m256 low[6], high[6];
        Avx2Floats::LoadVertices(v, low[0], low[1], low[2], low[3], low[4], low[5]);
        Avx2Floats::LoadVertices(v + 8, high[0], high[1], high[2], high[3], high[4], high[5]);
        F* out[6] = {&x, &y, &z, &nx, &ny, &nz};
        for (int k = 0; k < 6; ++k) {
            const __m512d half = _mm512_maskz_insertf64x4(0xFF, _mm512_setzero_pd(), _mm256_castps_pd(low[k]), 0);
            *out[k] = _mm512_castpd_ps(_mm512_maskz_insertf64x4(0xFF, half, _mm256_castps_pd(high[k]), 1));
        }
    }

private:
    static F Lanes(__mmask16 k) { return AsFloat(_mm512_maskz_mov_epi32(k, SetInt(-1))); }
};

}  // namespace

bool ProcessorHasAvx512() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f");
}

const VertexKernels& Avx512VertexKernels() {
    static constexpr VertexKernels kernels = MakeVertexKernels<Avx512Floats>();
    return kernels;
}

}  // namespace qv::pipeline

#elif defined(__SSE2__)

namespace qv::pipeline {

bool ProcessorHasAvx512() { return false; }

// Never chosen where the build has no AVX-512.
const VertexKernels& Avx512VertexKernels() { return Avx2VertexKernels(); }

}  // namespace qv::pipeline

#endif
