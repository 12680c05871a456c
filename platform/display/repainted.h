// Which pixels of a frame to copy again over a copy of the frame before: the
// frame says where it may not be black, so outside what this frame or the
// one before painted both are black and the copy needs nothing.
#pragma once

#include "display/display.h"
#include "pipeline/pipeline.h"

namespace qv::display {

// All the frame's pixels when whole (the copy holds nothing known) or when
// the frame does not say what it painted; else what it or the frame before
// painted. last, the frame before's painted pixels, becomes this frame's.
inline pipeline::DrawnArea Repainted(const Frame& frame, bool whole, pipeline::DrawnArea& last) {
    pipeline::DrawnArea changed;
    if (!whole && frame.painted) {
        changed = *frame.painted;
        changed.Add(last);
    }
    last = frame.painted ? *frame.painted : pipeline::DrawnArea();
    return changed;
}

}  // namespace qv::display
