// Positions from model space to clip space.
#pragma once

#include <cstddef>

#include "pipeline/geometry.h"

namespace qv::pipeline {

// The row-vector product a x b: a point transformed by it goes through a first.
Matrix Multiply(const Matrix& a, const Matrix& b);

// out[i] position = (x, y, z, 1) x m for each of count vertices; colours untouched.
void TransformPositions(const Vertex* in, std::size_t count, const Matrix& m, ClipVertex* out);

}  // namespace qv::pipeline
