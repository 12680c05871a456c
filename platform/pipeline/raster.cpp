// The triangle goes to the traversal of the instruction set in use, or to a
// narrower one when the writable rectangle is narrower than its groups.
#include "pipeline/raster.h"

#include "pipeline/instruction_set.h"
#include "pipeline/raster_kernels.h"

namespace qv::pipeline {

void RasterizeTriangle(const RasterTriangle& t, const Surface& s, const PixelStates& states, const RowShare& share) {
    if (!share.OwnsAny(t.setup.minY, t.setup.maxY)) return;
    const InstructionSet set = CurrentInstructionSet();
    const bool avx2 = set == InstructionSet::Avx2 || set == InstructionSet::Avx512;
    if (avx2 && s.x1 - s.x0 >= 8) return RasterizeAvx2(t, s, states, share);
    if (set != InstructionSet::Plain && s.x1 - s.x0 >= 4) return RasterizeSse2(t, s, states, share);
    RasterizePlain(t, s, states, share);
}

}  // namespace qv::pipeline
