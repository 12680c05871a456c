// Each vertex is read once for both transforms. With SSE2 four records are
// loaded and transposed into one register per component; every sum is formed
// in the same order as in the scalar code, so both give the same bits.
#include "pipeline/transform.h"

#include "pipeline/instruction_set.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv::pipeline {
namespace {

void TransformOne(const Vertex& v, const Matrix& toClip, const Matrix& world, VertexBatch& out, std::size_t i) {
    const auto& c = toClip.m;
    const auto& w = world.m;
    out.x[i] = v.x * c[0][0] + v.y * c[1][0] + v.z * c[2][0] + c[3][0];
    out.y[i] = v.x * c[0][1] + v.y * c[1][1] + v.z * c[2][1] + c[3][1];
    out.z[i] = v.x * c[0][2] + v.y * c[1][2] + v.z * c[2][2] + c[3][2];
    out.w[i] = v.x * c[0][3] + v.y * c[1][3] + v.z * c[2][3] + c[3][3];
    out.px[i] = v.x * w[0][0] + v.y * w[1][0] + v.z * w[2][0] + w[3][0];
    out.py[i] = v.x * w[0][1] + v.y * w[1][1] + v.z * w[2][1] + w[3][1];
    out.pz[i] = v.x * w[0][2] + v.y * w[1][2] + v.z * w[2][2] + w[3][2];
    out.nx[i] = v.nx * w[0][0] + v.ny * w[1][0] + v.nz * w[2][0];
    out.ny[i] = v.nx * w[0][1] + v.ny * w[1][1] + v.nz * w[2][1];
    out.nz[i] = v.nx * w[0][2] + v.ny * w[1][2] + v.nz * w[2][2];
}

#if defined(__SSE2__)

// Every element of a matrix in all four lanes, taken once per batch (read
// from the matrix inside the loop, they would be read again after every
// store, as far as the compiler knows).
struct Spread {
    __m128 m[4][4];
    explicit Spread(const Matrix& matrix) {
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) m[i][j] = _mm_set1_ps(matrix.m[i][j]);
        }
    }
    // Column j applied to four directions, x m0j + y m1j + z m2j, and to four points (+ m3j).
    __m128 Direction(int j, __m128 x, __m128 y, __m128 z) const {
        return _mm_add_ps(_mm_add_ps(_mm_mul_ps(x, m[0][j]), _mm_mul_ps(y, m[1][j])), _mm_mul_ps(z, m[2][j]));
    }
    __m128 Point(int j, __m128 x, __m128 y, __m128 z) const { return _mm_add_ps(Direction(j, x, y, z), m[3][j]); }
};

void TransformFour(const Vertex* v, const Spread& toClip, const Spread& world, VertexBatch& out, std::size_t i) {
    // Each record is eight floats: x y z nx | ny nz tu tv.
    const float* f = &v->x;
    __m128 a0 = _mm_loadu_ps(f), a1 = _mm_loadu_ps(f + 8), a2 = _mm_loadu_ps(f + 16), a3 = _mm_loadu_ps(f + 24);
    _MM_TRANSPOSE4_PS(a0, a1, a2, a3);  // now x, y, z, nx of the four
    const __m128 b01 = _mm_unpacklo_ps(_mm_loadu_ps(f + 4), _mm_loadu_ps(f + 12));   // ny0 ny1 nz0 nz1
    const __m128 b23 = _mm_unpacklo_ps(_mm_loadu_ps(f + 20), _mm_loadu_ps(f + 28));  // ny2 ny3 nz2 nz3
    const __m128 ny = _mm_movelh_ps(b01, b23), nz = _mm_movehl_ps(b23, b01);
    const __m128 x = a0, y = a1, z = a2, nx = a3;
    _mm_store_ps(out.x + i, toClip.Point(0, x, y, z));
    _mm_store_ps(out.y + i, toClip.Point(1, x, y, z));
    _mm_store_ps(out.z + i, toClip.Point(2, x, y, z));
    _mm_store_ps(out.w + i, toClip.Point(3, x, y, z));
    _mm_store_ps(out.px + i, world.Point(0, x, y, z));
    _mm_store_ps(out.py + i, world.Point(1, x, y, z));
    _mm_store_ps(out.pz + i, world.Point(2, x, y, z));
    _mm_store_ps(out.nx + i, world.Direction(0, nx, ny, nz));
    _mm_store_ps(out.ny + i, world.Direction(1, nx, ny, nz));
    _mm_store_ps(out.nz + i, world.Direction(2, nx, ny, nz));
}

#endif

}  // namespace

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
        }
    }
    return r;
}

void TransformVertices(const Vertex* in, std::size_t count, const Matrix& toClip, const Matrix& world,
                       VertexBatch& out) {
    std::size_t i = 0;
#if defined(__SSE2__)
    if (UsingSse2()) {
        const Spread clip(toClip), model(world);
        for (; i + 4 <= count; i += 4) TransformFour(in + i, clip, model, out, i);
    }
#endif
    for (; i < count; ++i) TransformOne(in[i], toClip, world, out, i);
}

}  // namespace qv::pipeline
