#include "scene/scene.h"

#include "scene/random.h"
#include "seed_for_draw.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using scene_test::SeedForDraw;

// The field of torus 0 that the drawth random number of InitScene sets.
float FieldOfFirstTorus(int draw, int r) {
    SeedRandom(SeedForDraw(draw, r));
    InitScene();
    const float fields[7] = {objectTable[0].angle, objectTable[0].x,  objectTable[0].y, objectTable[0].z,
                             objectTable[0].vx,    objectTable[0].vy, objectTable[0].vz};
    return fields[draw - 1];
}

TEST(InitScene, LowestDrawGivesTheLowEndOfEveryRange) {
    const float expected[7] = {0.0f, -4.0f, -3.0f, -4.0f, -0.1f, -0.1f, -0.1f};
    for (int draw = 1; draw <= 7; ++draw) EXPECT_EQ(FieldOfFirstTorus(draw, 0), expected[draw - 1]) << "draw " << draw;
}

TEST(InitScene, HighestDrawGivesTheHighEndOfEveryRange) {
    const float expected[7] = {kTwoPi, 4.0f, 3.0f, 4.0f, 0.1f, 0.1f, 0.1f};
    for (int draw = 1; draw <= 7; ++draw) {
        EXPECT_FLOAT_EQ(FieldOfFirstTorus(draw, kRandomMax), expected[draw - 1]) << "draw " << draw;
    }
}

TEST(InitScene, PositionsStartExactlyOnTheWallsAtTheEnds) {
    EXPECT_EQ(FieldOfFirstTorus(2, kRandomMax), 4.0f);
    EXPECT_EQ(FieldOfFirstTorus(3, kRandomMax), 3.0f);
}

TEST(InitScene, ToriTakeSevenDrawsEachInOrder) {
    SeedRandom(2024);
    float draws[kObjectCount * 7];
    for (float& r : draws) r = static_cast<float>(NextRandom());

    SeedRandom(2024);
    InitScene();
    for (int k = 0; k < kObjectCount; ++k) {
        const float* r = draws + k * 7;
        const SceneObject& object = objectTable[k];
        EXPECT_EQ(object.angle, r[0] * kTwoPi * kAngleScale) << "torus " << k;
        EXPECT_EQ(object.x, r[1] * kPositionScaleXZ - 4.0f) << "torus " << k;
        EXPECT_EQ(object.y, r[2] * kPositionScaleY - 3.0f) << "torus " << k;
        EXPECT_EQ(object.z, r[3] * kPositionScaleXZ - 4.0f) << "torus " << k;
        EXPECT_EQ(object.vx, r[4] * kSpeedScale - 0.1f) << "torus " << k;
        EXPECT_EQ(object.vy, r[5] * kSpeedScale - 0.1f) << "torus " << k;
        EXPECT_EQ(object.vz, r[6] * kSpeedScale - 0.1f) << "torus " << k;
    }
}

TEST(InitScene, MaterialsHaveTheirColoursAndNothingElse) {
    std::memset(materialTable, 0xAB, sizeof materialTable);
    InitScene();

    const float diffuse[kObjectCount][3] = {{0.9f, 1.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {1.0f, 0.9f, 1.0f}, {0.0f, 0.0f, 1.0f}};
    const float ambient[kObjectCount][3] = {{0.1f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.1f}, {0.0f, 0.1f, 0.0f}, {0.1f, 0.1f, 0.0f}};
    for (int k = 0; k < kObjectCount; ++k) {
        D3DMATERIAL expected;
        std::memset(&expected, 0, sizeof expected);
        expected.dwSize = 80;
        expected.diffuse.r = diffuse[k][0];
        expected.diffuse.g = diffuse[k][1];
        expected.diffuse.b = diffuse[k][2];
        expected.ambient.r = ambient[k][0];
        expected.ambient.g = ambient[k][1];
        expected.ambient.b = ambient[k][2];
        EXPECT_EQ(std::memcmp(&materialTable[k], &expected, sizeof expected), 0) << "material " << k;
    }
}

}  // namespace
