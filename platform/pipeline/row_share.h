// The rows one member of a team of drawing threads owns: bands of
// 1 << kBandShift rows dealt out in turn, band b to member b % count.
#pragma once

#include <cstdint>

namespace qv::pipeline {

constexpr int kBandShift = 5;

struct RowShare {
    uint32_t count = 1, member = 0;
    bool Owns(int32_t y) const { return (static_cast<uint32_t>(y) >> kBandShift) % count == member; }
};

}  // namespace qv::pipeline
