// The rows one member of a team of drawing threads owns: top <= y < bottom,
// by default all of them.
#pragma once

#include <cstdint>
#include <limits>

namespace qv::pipeline {

struct RowShare {
    int32_t top = 0, bottom = std::numeric_limits<int32_t>::max();
    // Whether any row first <= y <= last is the member's.
    bool OwnsAny(int32_t first, int32_t last) const { return first <= last && first < bottom && last >= top; }
};

}  // namespace qv::pipeline
