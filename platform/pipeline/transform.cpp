#include "pipeline/transform.h"

namespace qv::pipeline {

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
        }
    }
    return r;
}

void TransformPositions(const Vertex* in, std::size_t count, const Matrix& m, VertexBatch& out) {
    const auto& t = m.m;
    for (std::size_t i = 0; i < count; ++i) {
        const Vertex& v = in[i];
        out.x[i] = v.x * t[0][0] + v.y * t[1][0] + v.z * t[2][0] + t[3][0];
        out.y[i] = v.x * t[0][1] + v.y * t[1][1] + v.z * t[2][1] + t[3][1];
        out.z[i] = v.x * t[0][2] + v.y * t[1][2] + v.z * t[2][2] + t[3][2];
        out.w[i] = v.x * t[0][3] + v.y * t[1][3] + v.z * t[2][3] + t[3][3];
    }
}

}  // namespace qv::pipeline
