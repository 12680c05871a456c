// Seeds that make the random source yield a chosen integer at a chosen draw,
// found by running the generator backwards from the wanted state.
#pragma once

#include "scene/random.h"

#include <cstdint>

namespace scene_test {

constexpr uint32_t kMultiplier = 214013u;
constexpr uint32_t kIncrement = 2531011u;

// The multiplicative inverse modulo 2^32 by Newton's iteration: each round
// doubles the number of correct low bits, starting from three.
constexpr uint32_t InverseMultiplier() {
    uint32_t inverse = kMultiplier;
    for (int round = 0; round < 4; ++round) inverse *= 2u - kMultiplier * inverse;
    return inverse;
}
static_assert(kMultiplier * InverseMultiplier() == 1u);

// A seed after which the drawth call of NextRandom (1 = the next) returns r.
constexpr uint32_t SeedForDraw(int draw, int r) {
    uint32_t state = static_cast<uint32_t>(r) << 16;
    for (int step = 0; step < draw; ++step) state = (state - kIncrement) * InverseMultiplier();
    return state;
}

}  // namespace scene_test
