// The vertex stages' lanes for AVX2, eight floats to a register: for the
// files built with AVX2 or more, each of which keeps its own copy (the
// anonymous namespace), so that no code built for wider instructions can
// stand in for another file's.
#pragma once

#if defined(__AVX2__)

#include <immintrin.h>

#include <cstdint>

#include "pipeline/pipeline.h"

namespace qv::pipeline {
namespace {

struct Avx2Floats {
    static constexpr int kWidth = 8;
    using F = __m256;
    using I = __m256i;

    static F Load(const float* p) { return _mm256_loadu_ps(p); }
    static void Store(float* p, F v) { _mm256_storeu_ps(p, v); }
    static void StoreInt(int32_t* p, I v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static F Set(float v) { return _mm256_set1_ps(v); }
    static F Zero() { return _mm256_setzero_ps(); }
    static I SetInt(int32_t v) { return _mm256_set1_epi32(v); }
    static F Add(F a, F b) { return _mm256_add_ps(a, b); }
    static F Sub(F a, F b) { return _mm256_sub_ps(a, b); }
    static F Mul(F a, F b) { return _mm256_mul_ps(a, b); }
    static F Div(F a, F b) { return _mm256_div_ps(a, b); }
    static F Sqrt(F a) { return _mm256_sqrt_ps(a); }
    static F Min(F a, F b) { return _mm256_min_ps(a, b); }
    static F Max(F a, F b) { return _mm256_max_ps(a, b); }
    static F Less(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_LT_OS); }
    static F LessEqual(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_LE_OS); }
    static F Greater(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_GT_OS); }
    static F Equal(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_EQ_OQ); }
    static F And(F a, F b) { return _mm256_and_ps(a, b); }
    static F Or(F a, F b) { return _mm256_or_ps(a, b); }
    static I AsInt(F v) { return _mm256_castps_si256(v); }
    static F AsFloat(I v) { return _mm256_castsi256_ps(v); }
    static I AndInt(I a, I b) { return _mm256_and_si256(a, b); }
    static I OrInt(I a, I b) { return _mm256_or_si256(a, b); }
    static I AndNotInt(I a, I b) { return _mm256_andnot_si256(a, b); }  // ~a & b
    static I EqualInt(I a, I b) { return _mm256_cmpeq_epi32(a, b); }
    // Rounding toward zero, for values known to fit.
    static I Truncate(F v) { return _mm256_cvttps_epi32(v); }

    // Positions and normals of eight vertex records (x y z nx ny nz tu tv
    // each, one register), one register per component.
    static void LoadVertices(const Vertex* v, F& x, F& y, F& z, F& nx, F& ny, F& nz) {
        const float* f = &v->x;
        __m256 r[8];
        for (int k = 0; k < 8; ++k) r[k] = _mm256_loadu_ps(f + 8 * k);
        // Pairs interleaved: x0 x1 y0 y1 | ny0 ny1 nz0 nz1 and z0 z1 nx0 nx1 | tu0 tu1 tv0 tv1.
        __m256 lo[4], hi[4];
        for (int k = 0; k < 4; ++k) {
            lo[k] = _mm256_unpacklo_ps(r[2 * k], r[2 * k + 1]);
            hi[k] = _mm256_unpackhi_ps(r[2 * k], r[2 * k + 1]);
        }
        // Fours: x0..x3 | ny0..ny3, y | nz, z | tu, nx | tv, for records 0-3 and 4-7.
        const __m256 xny0 = _mm256_shuffle_ps(lo[0], lo[1], _MM_SHUFFLE(1, 0, 1, 0));
        const __m256 ynz0 = _mm256_shuffle_ps(lo[0], lo[1], _MM_SHUFFLE(3, 2, 3, 2));
        const __m256 z0 = _mm256_shuffle_ps(hi[0], hi[1], _MM_SHUFFLE(1, 0, 1, 0));
        const __m256 nx0 = _mm256_shuffle_ps(hi[0], hi[1], _MM_SHUFFLE(3, 2, 3, 2));
        const __m256 xny4 = _mm256_shuffle_ps(lo[2], lo[3], _MM_SHUFFLE(1, 0, 1, 0));
        const __m256 ynz4 = _mm256_shuffle_ps(lo[2], lo[3], _MM_SHUFFLE(3, 2, 3, 2));
        const __m256 z4 = _mm256_shuffle_ps(hi[2], hi[3], _MM_SHUFFLE(1, 0, 1, 0));
        const __m256 nx4 = _mm256_shuffle_ps(hi[2], hi[3], _MM_SHUFFLE(3, 2, 3, 2));
        x = _mm256_permute2f128_ps(xny0, xny4, 0x20);
        ny = _mm256_permute2f128_ps(xny0, xny4, 0x31);
        y = _mm256_permute2f128_ps(ynz0, ynz4, 0x20);
        nz = _mm256_permute2f128_ps(ynz0, ynz4, 0x31);
        z = _mm256_permute2f128_ps(z0, z4, 0x20);
        nx = _mm256_permute2f128_ps(nx0, nx4, 0x20);
    }
};

}  // namespace
}  // namespace qv::pipeline

#endif
