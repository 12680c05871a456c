#include "scene/motion.h"

#include "scene/random.h"
#include "seed_for_draw.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using scene_test::SeedForDraw;

// The factor RandomBounceFactor gives for random integer r.
float BounceFactorFor(int r) { return static_cast<float>(r) * kBounceScale + 0.8f; }

// A torus in the middle of the box, drifting slowly along every axis.
SceneObject Drifting() { return SceneObject{1.0f, 0.0f, 0.0f, 0.0f, 0.05f, 0.05f, 0.05f}; }

// --- The world matrix ---

using Matrix = double[4][4];

void Multiply(const Matrix a, const Matrix b, Matrix out) {
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            out[row][col] = 0;
            for (int n = 0; n < 4; ++n) out[row][col] += a[row][n] * b[n][col];
        }
}

TEST(WorldMatrix, IsTurnAboutYThenAboutZThenTheMoveToTheCentre) {
    for (float angle : {0.0f, 0.3f, 1.5707964f, 2.5f, 4.0f, kTwoPi}) {
        const SceneObject object{angle, 1.5f, -2.0f, 3.25f, 0.0f, 0.0f, 0.0f};
        const double c = std::cos(angle), s = std::sin(angle);
        // Row-vector elementary turns: by -angle about y, by +angle about z.
        const Matrix turnY = {{c, 0, s, 0}, {0, 1, 0, 0}, {-s, 0, c, 0}, {0, 0, 0, 1}};
        const Matrix turnZ = {{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        const Matrix move = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1.5, -2.0, 3.25, 1}};
        Matrix turned, expected;
        Multiply(turnY, turnZ, turned);
        Multiply(turned, move, expected);

        const D3DMATRIX m = MakeWorldMatrix(object);
        const float actual[4][4] = {{m._11, m._12, m._13, m._14},
                                    {m._21, m._22, m._23, m._24},
                                    {m._31, m._32, m._33, m._34},
                                    {m._41, m._42, m._43, m._44}};
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 4; ++col)
                EXPECT_NEAR(actual[row][col], expected[row][col], 1e-6)
                    << "angle " << angle << " element _" << row + 1 << col + 1;
    }
}

// --- Drift and bounce ---

TEST(Move, DriftsByTheVelocityAndDrawsNothingInsideTheBox) {
    SeedRandom(77);
    const int next = NextRandom();
    SeedRandom(77);

    SceneObject object = Drifting();
    MoveObject(object);
    EXPECT_FLOAT_EQ(object.x, 0.05f);
    EXPECT_FLOAT_EQ(object.y, 0.05f);
    EXPECT_FLOAT_EQ(object.z, 0.05f);
    EXPECT_EQ(object.vx, 0.05f);
    EXPECT_EQ(NextRandom(), next);
}

TEST(Bounce, NearTheWallTheMoveIsUndoneAndTheSpeedChanges) {
    const int r = 20000;
    SeedRandom(SeedForDraw(1, r));
    SceneObject object = Drifting();
    object.x = 3.95f;
    object.vx = 0.08f;
    MoveObject(object);

    EXPECT_FLOAT_EQ(object.x, 3.95f);
    EXPECT_EQ(object.vx, -(0.08f * BounceFactorFor(r)));
    EXPECT_GE(object.vx, -0.096f);
    EXPECT_LE(object.vx, -0.064f);
    EXPECT_FLOAT_EQ(object.y, 0.05f);  // other axes drift on
}

TEST(Bounce, LandingExactlyOnABoundBounces) {
    SeedRandom(SeedForDraw(1, 0));
    SceneObject object = Drifting();
    object.x = 3.9375f;  // 3.9375 + 0.0625 is exactly 4
    object.vx = 0.0625f;
    MoveObject(object);
    EXPECT_EQ(object.x, 3.9375f);
    EXPECT_EQ(object.vx, -(0.0625f * 0.8f));

    object = Drifting();
    object.y = -2.9375f;  // onto the lower y wall
    object.vy = -0.0625f;
    MoveObject(object);
    EXPECT_EQ(object.y, -2.9375f);
    EXPECT_GT(object.vy, 0.0f);
}

TEST(Bounce, StoppingJustShortOfTheWallDoesNotBounce) {
    SceneObject object = Drifting();
    object.z = 3.875f;
    object.vz = 0.0625f;
    MoveObject(object);
    EXPECT_EQ(object.z, 3.9375f);
    EXPECT_EQ(object.vz, 0.0625f);
}

TEST(Bounce, TorusStartingOnAWallAndMovingOutStaysOnItForTheStep) {
    SceneObject object = Drifting();
    object.x = 4.0f;
    object.vx = 0.05f;
    MoveObject(object);
    EXPECT_FLOAT_EQ(object.x, 4.0f);
    EXPECT_LE(object.x, kBoundX);
    EXPECT_LT(object.vx, 0.0f);

    MoveObject(object);
    EXPECT_LT(object.x, kBoundX);  // and leaves it on the next
}

TEST(Bounce, AxesDrawInTheOrderXYZ) {
    SeedRandom(99);
    const int first = NextRandom(), second = NextRandom(), third = NextRandom();

    SeedRandom(99);
    SceneObject object{1.0f, 3.95f, 2.95f, 3.95f, 0.08f, 0.08f, 0.08f};
    MoveObject(object);
    EXPECT_EQ(object.vx, -(0.08f * BounceFactorFor(first)));
    EXPECT_EQ(object.vy, -(0.08f * BounceFactorFor(second)));
    EXPECT_EQ(object.vz, -(0.08f * BounceFactorFor(third)));
}

TEST(Bounce, FastBounceIsCutToTheTopSpeedAndSlowOneRaisedToTheBottom) {
    SeedRandom(SeedForDraw(1, kRandomMax));  // factor 1.2
    SceneObject object = Drifting();
    object.x = 3.95f;
    object.vx = 0.1f;
    MoveObject(object);
    EXPECT_EQ(object.vx, -kMaxSpeed);

    SeedRandom(SeedForDraw(1, 0));  // factor 0.8
    object = Drifting();
    object.x = -3.99f;
    object.vx = -0.0125f;
    MoveObject(object);
    EXPECT_EQ(object.vx, kMinSpeed);
}

// --- Speed band ---

TEST(ClampSpeed, BringsEveryComponentIntoTheBandKeepingItsSign) {
    const struct {
        float in, out;
    } cases[] = {
        {0.2f, 0.1f},       {-0.2f, -0.1f},       {0.1f, 0.1f},         {-0.1f, -0.1f},
        {0.001f, 0.0125f},  {-0.001f, -0.0125f},  {0.0125f, 0.0125f},   {-0.0125f, -0.0125f},
        {0.05f, 0.05f},     {-0.05f, -0.05f},     {1e-30f, 0.0125f},    {1e30f, 0.1f},
        {0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        float v = c.in;
        ClampSpeed(v);
        EXPECT_EQ(v, c.out) << "from " << c.in;
    }
}

TEST(Move, ClampsSlowAndFastComponentsWithoutABounce) {
    SceneObject object{1.0f, 0.0f, 0.0f, 0.0f, 0.001f, -0.001f, -0.2f};
    MoveObject(object);
    EXPECT_EQ(object.vx, 0.0125f);
    EXPECT_EQ(object.vy, -0.0125f);
    EXPECT_EQ(object.vz, -0.1f);
    EXPECT_FLOAT_EQ(object.z, -0.2f);  // the first move uses the velocity as it was
}

// --- Spin ---

TEST(Spin, PassingTheFullTurnWrapsBack) {
    SceneObject object = Drifting();
    object.angle = 6.25f;
    MoveObject(object);
    EXPECT_NEAR(object.angle, 6.30 - 6.2831855, 1e-6);
    EXPECT_GT(object.angle, 0.0f);
}

TEST(Spin, ReachingExactlyTheFullTurnDoesNotWrap) {
    SceneObject object = Drifting();
    object.angle = kTwoPi - kSpinStep;
    ASSERT_EQ(object.angle + kSpinStep, kTwoPi);
    MoveObject(object);
    EXPECT_EQ(object.angle, kTwoPi);
}

// --- A long run ---

testing::AssertionResult WithinBounds(const SceneObject& o) {
    auto speedOk = [](float v) { return v == 0.0f || (std::fabs(v) >= kMinSpeed && std::fabs(v) <= kMaxSpeed); };
    if (std::fabs(o.x) > kBoundX || std::fabs(o.y) > kBoundY || std::fabs(o.z) > kBoundZ)
        return testing::AssertionFailure() << "centre (" << o.x << ", " << o.y << ", " << o.z << ") left the box";
    if (!speedOk(o.vx) || !speedOk(o.vy) || !speedOk(o.vz))
        return testing::AssertionFailure() << "velocity (" << o.vx << ", " << o.vy << ", " << o.vz << ") left the band";
    if (!(o.angle > 0.0f && o.angle <= kTwoPi)) return testing::AssertionFailure() << "angle " << o.angle;
    return testing::AssertionSuccess();
}

TEST(LongRun, ToriStayInTheBoxWithinTheSpeedBand) {
    for (uint32_t seed : {0u, 1u, 1700000000u, 0xFFFFFFFFu}) {
        SeedRandom(seed);
        InitScene();
        for (int frame = 0; frame < 100000; ++frame) {
            for (int k = 0; k < kObjectCount; ++k) {
                MoveObject(objectTable[k]);
                ASSERT_TRUE(WithinBounds(objectTable[k])) << "seed " << seed << " frame " << frame << " torus " << k;
            }
        }
    }
}

}  // namespace
