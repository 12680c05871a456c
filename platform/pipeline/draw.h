// A triangle-list draw checked once and then drawn by any number of threads,
// each on the rows it owns.
#pragma once

#include <cstddef>

#include "pipeline/batch.h"
#include "pipeline/geometry.h"
#include "pipeline/raster.h"
#include "pipeline/setup.h"
#include "pipeline/surface.h"

namespace qv::pipeline {

// What the render states ask for.
struct DrawStates {
    PixelStates pixel;
    uint32_t windings;
    bool flat;
};

// A draw, checked and ready: nothing is drawn when PrepareDraw says false.
struct PreparedDraw {
    const DrawCall* call;
    DrawStates states;
    ScreenMapping mapping;
    Surface surface;
    PixelWrites writes;  // what the states let the surface's planes take
    Matrix toClip;
    std::size_t vertexCount;  // whole triangles
};

bool PrepareDraw(const Target& target, const DrawCall& call, PreparedDraw& out);

// Runs every stage for all the draw's triangles, drawing only the rows the
// share owns, with batch as scratch memory; returns the pixels they may have
// written. Triangles that reach none of those rows are dropped before setup.
DrawnArea DrawShare(const PreparedDraw& draw, VertexBatch& batch, const RowShare& share);

}  // namespace qv::pipeline
