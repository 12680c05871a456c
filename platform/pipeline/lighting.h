// Per-vertex lighting in world space.
#pragma once

#include <cstddef>

#include "pipeline/batch.h"

namespace qv::pipeline {

// Lights count vertices of the batch, from their world-space positions and
// normals, with the call's material, lights and ambient light state, into the
// batch's r, g, b:
//   colour = emissive + ambient x ambient state
//          + sum over lights of diffuse x light colour x max(0, N.L) x attenuation x spot
//          (+ the specular term where the material has a specular colour and power),
// each channel clamped to 0..1. A light whose term is not a number (a zero
// or non-finite normal or position) adds nothing, so such a vertex keeps
// emissive plus ambient; a channel that is itself not a number (from the
// material or the ambient state) gives 0. The alpha channel is the
// material's diffuse alpha, which the XRGB target does not store.
void LightBatch(std::size_t count, const DrawCall& call, VertexBatch& out);

}  // namespace qv::pipeline
