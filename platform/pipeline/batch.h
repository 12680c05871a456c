// Vertices in flight: one batch of a draw, transformed, lit and projected,
// one array per component so each stage is a plain loop over arrays.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pipeline/geometry.h"

namespace qv::pipeline {

// Vertices are processed in batches of at most this many: whole triangles,
// and a multiple of 16, so sixteen-wide loops may run past the count within
// the arrays.
constexpr std::size_t kBatchVertices = 1536;
static_assert(kBatchVertices % 48 == 0, "whole triangles, and whole groups of sixteen vertices");

struct VertexBatch {
    static constexpr std::size_t N = kBatchVertices;
    alignas(64) float x[N], y[N], z[N], w[N];                 // clip space
    alignas(64) float r[N], g[N], b[N];                       // lit colour, 0..1
    alignas(64) uint32_t outcode[N];                          // planes outside, or kOutsideInvalid
    alignas(64) int32_t sx[N], sy[N];                         // screen, where outcode is 0
    alignas(64) float sz[N];                                  // depth 0..1, likewise
    alignas(64) float px[N], py[N], pz[N], nx[N], ny[N], nz[N];  // world space, for lighting

    ClipVertex Clip(std::size_t i) const { return {x[i], y[i], z[i], w[i], r[i], g[i], b[i]}; }
    ScreenVertex Screen(std::size_t i) const { return {sx[i], sy[i], sz[i], r[i], g[i], b[i]}; }
};

}  // namespace qv::pipeline
