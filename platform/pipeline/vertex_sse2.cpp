// The vertex stages four vertices at a time with SSE2 (in the browser, with
// WebAssembly's 128-bit SIMD through emscripten's SSE2 headers).
#include "pipeline/vertex_kernels.h"

#if defined(__SSE2__)

#include <emmintrin.h>
#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

#include "pipeline/vertex_loops.h"

namespace qv::pipeline {
namespace {

struct Sse2Floats {
    static constexpr int kWidth = 4;
    using F = __m128;
    using I = __m128i;

    static F Load(const float* p) { return _mm_loadu_ps(p); }
    static void Store(float* p, F v) { _mm_storeu_ps(p, v); }
    static void StoreInt(int32_t* p, I v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static F Set(float v) { return _mm_set1_ps(v); }
    static F Zero() { return _mm_setzero_ps(); }
    static I SetInt(int32_t v) { return _mm_set1_epi32(v); }
    static F Add(F a, F b) { return _mm_add_ps(a, b); }
    static F Sub(F a, F b) { return _mm_sub_ps(a, b); }
    static F Mul(F a, F b) { return _mm_mul_ps(a, b); }
    static F Div(F a, F b) { return _mm_div_ps(a, b); }
    static F Sqrt(F a) { return _mm_sqrt_ps(a); }
    static F Min(F a, F b) { return _mm_min_ps(a, b); }
    static F Max(F a, F b) { return _mm_max_ps(a, b); }
    static F Less(F a, F b) { return _mm_cmplt_ps(a, b); }
    static F LessEqual(F a, F b) { return _mm_cmple_ps(a, b); }
    static F Greater(F a, F b) { return _mm_cmpgt_ps(a, b); }
    static F Equal(F a, F b) { return _mm_cmpeq_ps(a, b); }
    static F And(F a, F b) { return _mm_and_ps(a, b); }
    static F Or(F a, F b) { return _mm_or_ps(a, b); }
    static I AsInt(F v) { return _mm_castps_si128(v); }
    static F AsFloat(I v) { return _mm_castsi128_ps(v); }
    static I AndInt(I a, I b) { return _mm_and_si128(a, b); }
    static I OrInt(I a, I b) { return _mm_or_si128(a, b); }
    static I AndNotInt(I a, I b) { return _mm_andnot_si128(a, b); }  // ~a & b
    static I EqualInt(I a, I b) { return _mm_cmpeq_epi32(a, b); }

    // Float to int32, rounding toward zero, for values known to fit. As
    // WebAssembly, the SIMD instruction itself: emscripten's _mm_cvttps_epi32
    // converts lane by lane to give x86's answer for values that do not fit.
    static I Truncate(F v) {
#if defined(__wasm_simd128__)
        return wasm_i32x4_trunc_sat_f32x4(v);
#else
        return _mm_cvttps_epi32(v);
#endif
    }

    // Positions and normals of four vertex records (eight floats each:
    // x y z nx | ny nz tu tv), one register per component.
    static void LoadVertices(const Vertex* v, F& x, F& y, F& z, F& nx, F& ny, F& nz) {
        const float* f = &v->x;
        __m128 a0 = _mm_loadu_ps(f), a1 = _mm_loadu_ps(f + 8), a2 = _mm_loadu_ps(f + 16), a3 = _mm_loadu_ps(f + 24);
        _MM_TRANSPOSE4_PS(a0, a1, a2, a3);
        const __m128 b01 = _mm_unpacklo_ps(_mm_loadu_ps(f + 4), _mm_loadu_ps(f + 12));   // ny0 ny1 nz0 nz1
        const __m128 b23 = _mm_unpacklo_ps(_mm_loadu_ps(f + 20), _mm_loadu_ps(f + 28));  // ny2 ny3 nz2 nz3
        x = a0, y = a1, z = a2, nx = a3;
        ny = _mm_movelh_ps(b01, b23);
        nz = _mm_movehl_ps(b23, b01);
    }
};

}  // namespace

const VertexKernels& Sse2VertexKernels() {
    static constexpr VertexKernels kernels = MakeVertexKernels<Sse2Floats>();
    return kernels;
}

}  // namespace qv::pipeline

#endif
