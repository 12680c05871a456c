// Pixel traversal once per instruction set, each in its own file from the one
// template in raster_walk.h.
#pragma once

#include "pipeline/raster.h"

namespace qv::pipeline {

void RasterizePlain(const RasterTriangle& t, const Surface& s, const PixelStates& states, const RowShare& share);
// Needs a writable rectangle at least four pixels wide.
void RasterizeSse2(const RasterTriangle& t, const Surface& s, const PixelStates& states, const RowShare& share);
// Needs a writable rectangle at least eight pixels wide.
void RasterizeAvx2(const RasterTriangle& t, const Surface& s, const PixelStates& states, const RowShare& share);

// Whether the build has the AVX2 traversal and the processor can run it.
bool ProcessorHasAvx2();

}  // namespace qv::pipeline
