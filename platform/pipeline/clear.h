// Clear on the rows one member of a team owns.
#pragma once

#include <cstddef>

#include "pipeline/pipeline.h"
#include "pipeline/row_share.h"

namespace qv::pipeline {

void ClearRows(const Target& target, const Viewport& viewport, const Rect* rects, std::size_t rectCount,
               bool clearColor, bool clearDepth, const RowShare& share);

}  // namespace qv::pipeline
