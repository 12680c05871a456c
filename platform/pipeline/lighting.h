// Per-vertex lighting in world space.
#pragma once

#include <cstddef>

#include "pipeline/pipeline.h"

namespace qv::pipeline {

// Vertices are transformed and lit in batches of at most this many.
constexpr std::size_t kBatchVertices = 1536;

// One batch in world space, one array per component so the per-light loops
// run over plain arrays.
struct LitBatch {
    float px[kBatchVertices], py[kBatchVertices], pz[kBatchVertices];  // position
    float nx[kBatchVertices], ny[kBatchVertices], nz[kBatchVertices];  // unit normal
    float r[kBatchVertices], g[kBatchVertices], b[kBatchVertices];     // colour, 0..1
};

// Lights count (<= kBatchVertices) vertices with the call's world matrix,
// material, lights and ambient light state:
//   colour = emissive + ambient x ambient state
//          + sum over lights of diffuse x light colour x max(0, N.L) x attenuation x spot
//          (+ the specular term where the material has a specular colour and power),
// each channel clamped to 0..1; a NaN anywhere gives 0. The alpha channel is
// the material's diffuse alpha, which the XRGB target does not store.
void LightBatch(const Vertex* in, std::size_t count, const DrawCall& call, LitBatch& out);

}  // namespace qv::pipeline
