// The visible volume of a viewport: x / w runs from clipX (left edge of the
// viewport) to clipX + clipWidth (right edge), y / w from clipY (top) down to
// clipY - clipHeight (bottom), z / w from minZ to maxZ, mapped to depth 0..1.
// Pixel centres sit at integer coordinates: the left edge of the viewport
// passes through the centres of its first column.
#include <initializer_list>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

#include "pipeline/batch.h"
#include "pipeline/geometry.h"
#include "pipeline/instruction_set.h"

namespace qv::pipeline {
namespace {

// False for NaN and infinities; written so that loops over it vectorize.
inline bool Finite(float v) { return v - v == 0; }

// Snapped screen position and depth of a clip-space point; false when not
// finite. Rounding at the guard band may overshoot it by a hair, so the
// position is clamped before converting (NaN goes to the lower bound).
inline bool Project(const ScreenMapping& m, float x, float y, float z, float w, int32_t& sx, int32_t& sy, float& sz) {
    const float inv = 1.0f / w;
    float fx = (m.offsetX + m.scaleX * (x * inv)) * kSubpixelOne;
    float fy = (m.offsetY + m.scaleY * (y * inv)) * kSubpixelOne;
    const float fz = m.offsetZ + m.scaleZ * (z * inv);
    const bool ok = w > 0 && Finite(fx) && Finite(fy) && Finite(fz);
    constexpr float kLimit = kGuardBand * kSubpixelOne;
    fx = fx > -kLimit ? (fx < kLimit ? fx : kLimit) : -kLimit;
    fy = fy > -kLimit ? (fy < kLimit ? fy : kLimit) : -kLimit;
    sx = static_cast<int32_t>(fx + (fx >= 0 ? 0.5f : -0.5f));
    sy = static_cast<int32_t>(fy + (fy >= 0 ? 0.5f : -0.5f));
    sz = fz > 0 ? (fz < 1 ? fz : 1) : 0;
    return ok;
}

bool AllFinite(std::initializer_list<float> values) {
    for (float v : values) {
        if (!Finite(v)) return false;
    }
    return true;
}

}  // namespace

bool MakeScreenMapping(const Viewport& vp, ScreenMapping& m) {
    if (!AllFinite({vp.clipX, vp.clipY, vp.clipWidth, vp.clipHeight, vp.minZ, vp.maxZ}) || vp.width == 0 ||
        vp.height == 0 || !(vp.clipWidth > 0) || !(vp.clipHeight > 0) || !(vp.maxZ > vp.minZ)) {
        return false;
    }
    m.scaleX = static_cast<float>(vp.width) / vp.clipWidth;
    m.offsetX = static_cast<float>(vp.x) - vp.clipX * m.scaleX;
    m.scaleY = -static_cast<float>(vp.height) / vp.clipHeight;
    m.offsetY = static_cast<float>(vp.y) - vp.clipY * m.scaleY;
    m.scaleZ = 1.0f / (vp.maxZ - vp.minZ);
    m.offsetZ = -vp.minZ * m.scaleZ;
    if (!AllFinite({m.scaleX, m.offsetX, m.scaleY, m.offsetY, m.scaleZ, m.offsetZ})) return false;

    // depth = offsetZ + scaleZ * z / w >= 0 and <= 1; screen x, y within +-kGuardBand.
    const float g = kGuardBand;
    m.planes[kPlaneNear] = {0, 0, m.scaleZ, m.offsetZ};
    m.planes[kPlaneFar] = {0, 0, -m.scaleZ, 1 - m.offsetZ};
    m.planes[kPlaneLeft] = {m.scaleX, 0, 0, g + m.offsetX};
    m.planes[kPlaneRight] = {-m.scaleX, 0, 0, g - m.offsetX};
    m.planes[kPlaneTop] = {0, m.scaleY, 0, g + m.offsetY};
    m.planes[kPlaneBottom] = {0, -m.scaleY, 0, g - m.offsetY};
    return true;
}

// With SSE2 four vertices at a time (runs past count within the arrays); the
// plain loop does the same one by one.
#if defined(__SSE2__)
namespace {

// Float to int32, rounding toward zero, for values known to fit. As
// WebAssembly, the SIMD instruction itself: emscripten's _mm_cvttps_epi32
// converts lane by lane to give x86's answer for values that do not fit.
inline __m128i TruncateInRange(__m128 v) {
#if defined(__wasm_simd128__)
    return wasm_i32x4_trunc_sat_f32x4(v);
#else
    return _mm_cvttps_epi32(v);
#endif
}

void ProjectBatchSse2(VertexBatch& b, std::size_t count, const ScreenMapping& m) {
    const auto finite = [](__m128 v) { return _mm_cmpeq_ps(_mm_sub_ps(v, v), _mm_setzero_ps()); };
    const __m128 limit = _mm_set1_ps(kGuardBand * kSubpixelOne), half = _mm_set1_ps(0.5f);
    const __m128 sign = _mm_castsi128_ps(_mm_set1_epi32(int32_t(0x80000000u)));
    const __m128 one = _mm_set1_ps(1.0f), zero = _mm_setzero_ps();
    // The mapping in all four lanes, taken once: read inside the loop, it would
    // be read again after every store, as far as the compiler knows. Each
    // plane above weighs w and one coordinate only: z for near and far, x for
    // left and right, y for top and bottom.
    constexpr int kAxis[kPlaneCount] = {2, 2, 0, 0, 1, 1};
    __m128 weight[kPlaneCount], bias[kPlaneCount];
    for (int p = 0; p < kPlaneCount; ++p) {
        const Plane& pl = m.planes[p];
        weight[p] = _mm_set1_ps(kAxis[p] == 0 ? pl.x : kAxis[p] == 1 ? pl.y : pl.z);
        bias[p] = _mm_set1_ps(pl.w);
    }
    const __m128 offsetX = _mm_set1_ps(m.offsetX), scaleX = _mm_set1_ps(m.scaleX), offsetY = _mm_set1_ps(m.offsetY),
                 scaleY = _mm_set1_ps(m.scaleY), offsetZ = _mm_set1_ps(m.offsetZ), scaleZ = _mm_set1_ps(m.scaleZ);
    for (std::size_t i = 0; i < count; i += 4) {
        const __m128 x = _mm_load_ps(b.x + i), y = _mm_load_ps(b.y + i), z = _mm_load_ps(b.z + i),
                     w = _mm_load_ps(b.w + i);
        const __m128 axes[3] = {x, y, z};
        __m128i code = _mm_setzero_si128();
        for (int p = 0; p < kPlaneCount; ++p) {
            const __m128 d = _mm_add_ps(_mm_mul_ps(axes[kAxis[p]], weight[p]), _mm_mul_ps(w, bias[p]));
            code = _mm_or_si128(code, _mm_and_si128(_mm_castps_si128(_mm_cmplt_ps(d, zero)), _mm_set1_epi32(1 << p)));
        }
        const __m128 inv = _mm_div_ps(one, w);
        const __m128 scale = _mm_set1_ps(float(kSubpixelOne));
        __m128 fx = _mm_mul_ps(_mm_add_ps(offsetX, _mm_mul_ps(scaleX, _mm_mul_ps(x, inv))), scale);
        __m128 fy = _mm_mul_ps(_mm_add_ps(offsetY, _mm_mul_ps(scaleY, _mm_mul_ps(y, inv))), scale);
        const __m128 fz = _mm_add_ps(offsetZ, _mm_mul_ps(scaleZ, _mm_mul_ps(z, inv)));
        const __m128 inputOk = _mm_and_ps(_mm_and_ps(finite(x), finite(y)), _mm_and_ps(finite(z), finite(w)));
        const __m128 projected = _mm_and_ps(_mm_and_ps(_mm_cmpgt_ps(w, zero), finite(fx)), _mm_and_ps(finite(fy), finite(fz)));
        // max/min return their second operand for NaN: NaN goes to the lower bound.
        fx = _mm_min_ps(_mm_max_ps(fx, _mm_sub_ps(zero, limit)), limit);
        fy = _mm_min_ps(_mm_max_ps(fy, _mm_sub_ps(zero, limit)), limit);
        const __m128 roundX = _mm_or_ps(_mm_and_ps(fx, sign), half), roundY = _mm_or_ps(_mm_and_ps(fy, sign), half);
        _mm_store_si128(reinterpret_cast<__m128i*>(b.sx + i), TruncateInRange(_mm_add_ps(fx, roundX)));
        _mm_store_si128(reinterpret_cast<__m128i*>(b.sy + i), TruncateInRange(_mm_add_ps(fy, roundY)));
        _mm_store_ps(b.sz + i, _mm_min_ps(_mm_max_ps(fz, zero), one));
        const __m128i inside = _mm_cmpeq_epi32(code, _mm_setzero_si128());
        const __m128i invalid = _mm_or_si128(_mm_xor_si128(_mm_castps_si128(inputOk), _mm_set1_epi32(-1)),
                                             _mm_andnot_si128(_mm_castps_si128(projected), inside));
        code = _mm_or_si128(_mm_and_si128(invalid, _mm_set1_epi32(int32_t(kOutsideInvalid))), _mm_andnot_si128(invalid, code));
        _mm_store_si128(reinterpret_cast<__m128i*>(b.outcode + i), code);
    }
}

}  // namespace
#endif

void ProjectBatch(VertexBatch& b, std::size_t count, const ScreenMapping& m) {
#if defined(__SSE2__)
    if (UsingSse2()) return ProjectBatchSse2(b, count, m);
#endif
    for (std::size_t i = 0; i < count; ++i) {
        const float x = b.x[i], y = b.y[i], z = b.z[i], w = b.w[i];
        uint32_t code = 0;
        for (int p = 0; p < kPlaneCount; ++p) {
            const Plane& pl = m.planes[p];
            code |= uint32_t(x * pl.x + y * pl.y + z * pl.z + w * pl.w < 0) << p;
        }
        const bool projected = Project(m, x, y, z, w, b.sx[i], b.sy[i], b.sz[i]);
        const bool finite = Finite(x) && Finite(y) && Finite(z) && Finite(w);
        b.outcode[i] = !finite || (code == 0 && !projected) ? kOutsideInvalid : code;
    }
}

bool ToScreen(const ClipVertex& v, const ScreenMapping& m, ScreenVertex& out) {
    out.r = v.r;
    out.g = v.g;
    out.b = v.b;
    return Project(m, v.x, v.y, v.z, v.w, out.x, out.y, out.z);
}

}  // namespace qv::pipeline
