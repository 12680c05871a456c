#include "scene/random.h"

#include "seed_for_draw.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Draw(uint32_t seed, int count) {
    SeedRandom(seed);
    std::vector<int> draws;
    for (int n = 0; n < count; ++n) draws.push_back(NextRandom());
    return draws;
}

TEST(RandomSource, SeedOneStartsWithTheKnownSequence) {
    EXPECT_EQ(Draw(1, 5), (std::vector<int>{41, 18467, 6334, 26500, 19169}));
}

TEST(RandomSource, SeedZeroStartsWith38) {
    EXPECT_EQ(Draw(0, 1), std::vector<int>{38});
}

TEST(RandomSource, ReseedingRestartsTheSequence) {
    EXPECT_EQ(Draw(0xDEADBEEF, 20), Draw(0xDEADBEEF, 20));
}

TEST(RandomSource, DrawsStayWithinFifteenBitsAndReachBothEnds) {
    SeedRandom(12345);
    bool sawZero = false, sawMax = false;
    for (int n = 0; n < 1 << 20; ++n) {
        const int r = NextRandom();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, kRandomMax);
        sawZero |= r == 0;
        sawMax |= r == kRandomMax;
    }
    EXPECT_TRUE(sawZero);
    EXPECT_TRUE(sawMax);
}

TEST(RandomSource, SeedForDrawReachesTheWantedValue) {
    for (int draw = 1; draw <= 7; ++draw) {
        for (int r : {0, 1, 16384, kRandomMax}) {
            SeedRandom(scene_test::SeedForDraw(draw, r));
            for (int skipped = 1; skipped < draw; ++skipped) NextRandom();
            EXPECT_EQ(NextRandom(), r) << "draw " << draw;
        }
    }
}

}  // namespace
