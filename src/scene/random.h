// The one random source of the run: a linear congruential generator with a
// 32-bit state, yielding 15-bit integers.
#pragma once

#include <cstdint>

constexpr int kRandomMax = 32767;

// Sets the state; until the first call the state is 1.
void SeedRandom(uint32_t seed);

// Advances the state and returns its bits 16 to 30: an integer in 0..kRandomMax.
int NextRandom();
