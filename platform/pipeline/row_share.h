// The rows one member of a team of drawing threads owns: bands of
// 1 << kBandShift rows dealt out in turn, band b to member b % count.
#pragma once

#include <cstdint>

namespace qv::pipeline {

constexpr int kBandShift = 5;

struct RowShare {
    uint32_t count = 1, member = 0;
    bool Owns(int32_t y) const { return (static_cast<uint32_t>(y) >> kBandShift) % count == member; }
    // Whether any row first <= y <= last (both at least 0) is the member's.
    bool OwnsAny(int32_t first, int32_t last) const {
        if (first > last) return false;
        const uint32_t firstBand = uint32_t(first) >> kBandShift, lastBand = uint32_t(last) >> kBandShift;
        if (lastBand - firstBand + 1 >= count) return true;
        for (uint32_t band = firstBand; band <= lastBand; ++band) {
            if (band % count == member) return true;
        }
        return false;
    }
};

}  // namespace qv::pipeline
