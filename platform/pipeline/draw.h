// The stages of a triangle-list draw up to triangle setup, for callers that
// keep the set-up triangles and rasterize them later (on several threads).
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

// Triangles ready for traversal in drawing order, in memory the caller owns,
// and the pixels they may write.
struct SetupList {
    RasterTriangle* items;
    std::size_t count, capacity;
    DrawnArea drawn = DrawnArea::Nothing();
};

// Runs the vertex stages, setup and raster setup for the triangles of
// vertices first..end (a multiple of 3 apart) and appends them to the list. Stops before a
// triangle whose pieces might not fit; returns the vertex it reached.
std::size_t SetupTriangles(const PreparedDraw& draw, std::size_t first, std::size_t end, VertexBatch& batch,
                           SetupList& list);

}  // namespace qv::pipeline
