// Vertices from model space: to clip space for drawing, to world space for
// lighting.
#pragma once

#include <cstddef>

#include "pipeline/batch.h"

namespace qv::pipeline {

// The row-vector product a x b: a point transformed by it goes through a first.
Matrix Multiply(const Matrix& a, const Matrix& b);

// For count vertices into the batch: clip-space positions (x, y, z, 1) x toClip,
// world-space positions (x, y, z, 1) x world, and normals (nx, ny, nz, 0) x
// world, not yet of unit length.
void TransformVertices(const Vertex* in, std::size_t count, const Matrix& toClip, const Matrix& world,
                       VertexBatch& out);

}  // namespace qv::pipeline
