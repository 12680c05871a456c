// The triangle goes to the traversal of the instruction set in use, or to a
// narrower one when the writable rectangle is narrower than its groups.
#include "pipeline/raster.h"

#include "pipeline/instruction_set.h"
#include "pipeline/raster_kernels.h"

namespace qv::pipeline {
namespace {

// Whether any row from minY to maxY belongs to the share.
bool SharesRows(const TriangleSetup& t, const RowShare& share) {
    const uint32_t firstBand = uint32_t(t.minY) >> kBandShift, lastBand = uint32_t(t.maxY) >> kBandShift;
    if (lastBand - firstBand + 1 >= share.count) return true;
    for (uint32_t band = firstBand; band <= lastBand; ++band) {
        if (band % share.count == share.member) return true;
    }
    return false;
}

}  // namespace

void RasterizeTriangle(const RasterTriangle& t, const Surface& s, const PixelStates& states, const RowShare& share) {
    if (share.count > 1 && !SharesRows(t.setup, share)) return;
    const InstructionSet set = CurrentInstructionSet();
    if (set == InstructionSet::Avx2 && s.x1 - s.x0 >= 8) return RasterizeAvx2(t, s, states, share);
    if (set != InstructionSet::Plain && s.x1 - s.x0 >= 4) return RasterizeSse2(t, s, states, share);
    RasterizePlain(t, s, states, share);
}

}  // namespace qv::pipeline
