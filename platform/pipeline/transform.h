// Positions from model space to clip space.
#pragma once

#include <cstddef>

#include "pipeline/batch.h"

namespace qv::pipeline {

// The row-vector product a x b: a point transformed by it goes through a first.
Matrix Multiply(const Matrix& a, const Matrix& b);

// Clip-space positions (x, y, z, 1) x m of count vertices into the batch.
void TransformPositions(const Vertex* in, std::size_t count, const Matrix& m, VertexBatch& out);

}  // namespace qv::pipeline
