#include "scene/torus_mesh.h"

#include "scene/constants.h"
#include "scene/trigonometry.h"

#include <new>

D3DVERTEX* torusVertices = nullptr;

namespace {

constexpr float kStepAngle = 0.03125f;  // 1 / kSegments of a full turn
constexpr float kRingRadius = 1.0f;
constexpr float kTubeRadius = 0.5f;

}  // namespace

D3DVERTEX MakeTorusVertex(int i, int j) {
    const float theta = static_cast<float>(i) * kTwoPi * kStepAngle;
    const float phi = static_cast<float>(j) * kTwoPi * kStepAngle;
    const float cosTheta = Cosine(theta), sinTheta = Sine(theta);
    const float cosPhi = Cosine(phi), sinPhi = Sine(phi);
    const float ringDistance = kRingRadius + kTubeRadius * cosPhi;

    D3DVERTEX vertex;
    vertex.x = ringDistance * cosTheta;
    vertex.y = ringDistance * sinTheta;
    vertex.z = kTubeRadius * sinPhi;
    vertex.nx = cosTheta * cosPhi;
    vertex.ny = sinTheta * cosPhi;
    vertex.nz = sinPhi;
    vertex.tu = 0.0f;  // no texture is ever bound
    vertex.tv = 0.0f;
    return vertex;
}

bool BuildTorusMesh() {
    if (torusVertices) return true;
    D3DVERTEX* vertices = new (std::nothrow) D3DVERTEX[kVertexCount];
    if (!vertices) return false;

    D3DVERTEX* out = vertices;
    for (int i = 0; i < kSegments; ++i) {
        for (int j = 0; j < kSegments; ++j) {
            *out++ = MakeTorusVertex(i, j);
            *out++ = MakeTorusVertex(i + 1, j);
            *out++ = MakeTorusVertex(i, j + 1);
            *out++ = MakeTorusVertex(i, j + 1);
            *out++ = MakeTorusVertex(i + 1, j);
            *out++ = MakeTorusVertex(i + 1, j + 1);
        }
    }
    torusVertices = vertices;
    return true;
}
