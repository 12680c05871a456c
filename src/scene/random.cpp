#include "scene/random.h"

namespace {

uint32_t randomState = 1;

}  // namespace

void SeedRandom(uint32_t seed) {
    randomState = seed;
}

int NextRandom() {
    randomState = randomState * 214013u + 2531011u;  // wraps modulo 2^32
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}
