// Pixel traversal: coverage, depth test and write, colour write.
#pragma once

#include <cstdint>

#include "pipeline/raster_setup.h"
#include "pipeline/row_share.h"
#include "pipeline/surface.h"

namespace qv::pipeline {

struct PixelStates {
    bool depthTest;     // compare against the depth plane
    bool depthWrite;    // store the depth of pixels that pass
    uint32_t compare;   // passing outcomes: bit 0 new < stored, bit 1 equal, bit 2 greater
};

// The passing outcomes of a comparison function: the platform numbers them so
// that value - 1 is exactly this mask (Less = 2 -> 1, LessEqual = 4 -> 3, ...).
inline uint32_t CompareMask(Compare f) { return (static_cast<uint32_t>(f) - 1) & 7; }

inline PixelWrites MakePixelWrites(const PixelStates& states, const Surface& surface) {
    const bool test = states.depthTest && surface.depth;
    return {test, test && states.depthWrite, surface.color != nullptr};
}

// Draws the pixels of a triangle that PrepareRaster accepted with the same
// states and surface, on the rows the share owns.
void RasterizeTriangle(const RasterTriangle& t, const Surface& surface, const PixelStates& states,
                       const RowShare& share = {});

}  // namespace qv::pipeline
