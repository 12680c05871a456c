#include "scene/motion.h"
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

uint32_t Bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TEST(Constants, FullTurnAndRandomScalesHaveTheirExactBits) {
    EXPECT_EQ(Bits(kTwoPi), 0x40C90FDBu);
    EXPECT_EQ(Bits(kAngleScale), 0x38000100u);
    EXPECT_EQ(Bits(kPositionScaleXZ), 0x39800100u);
    EXPECT_EQ(Bits(kPositionScaleY), 0x39400180u);
    EXPECT_EQ(Bits(kSpeedScale), 0x36CCCE67u);
    EXPECT_EQ(Bits(kBounceScale), 0x374CCE67u);
}

TEST(Constants, SpeedAndBounceScalesSitOneUnitAboveTheNearestFloat) {
    EXPECT_EQ(Bits(static_cast<float>(0.2 / 32767)) + 1, Bits(kSpeedScale));
    EXPECT_EQ(Bits(static_cast<float>(0.4 / 32767)) + 1, Bits(kBounceScale));
}

}  // namespace
