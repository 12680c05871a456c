// Each vertex is read once for both transforms; the SIMD kernels load
// several records and transpose them into one register per component.
#include "pipeline/transform.h"

#include "pipeline/vertex_kernels.h"

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
    const VertexKernels* kernels = CurrentVertexKernels();
    std::size_t i = kernels ? kernels->transform(in, count, toClip, world, out) : 0;
    for (; i < count; ++i) TransformOne(in[i], toClip, world, out, i);
}

}  // namespace qv::pipeline
