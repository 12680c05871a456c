// Clear in two steps: the fills, on the rows one member of a team owns, then
// (once all are done) the drawn areas that are clear now.
#pragma once

#include <cstddef>

#include "pipeline/pipeline.h"
#include "pipeline/row_share.h"

namespace qv::pipeline {

void ClearRows(const Target& target, const Viewport& viewport, const Rect* rects, std::size_t rectCount,
               bool clearColor, bool clearDepth, const RowShare& share);
void ForgetCleared(const Target& target, const Viewport& viewport, const Rect* rects, std::size_t rectCount,
                   bool clearColor, bool clearDepth);

}  // namespace qv::pipeline
