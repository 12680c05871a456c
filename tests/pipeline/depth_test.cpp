// The depth test and depth writes, and culling by winding.
#include <gtest/gtest.h>

#include "canvas.h"

namespace qv::pipeline::test {
namespace {

const uint32_t kRed = Xrgb(255, 0, 0), kGreen = Xrgb(0, 255, 0);

// A triangle over the whole 8x8 canvas at constant depth z.
std::vector<Vertex> Cover(float z) { return {At(-1, -1, z), At(30, -1, z), At(-1, 30, z)}; }

void Draw(Canvas& canvas, float z, Color color, RenderStates states) {
    const std::vector<Vertex> v = Cover(z);
    DrawCall call = PixelGridCall(canvas, v, color);
    call.states = states;
    DrawTriangleList(canvas.target(), call);
}

RenderStates DepthStates(Compare func, bool write = true) {
    RenderStates s;
    s.zEnable = true;
    s.zFunc = func;
    s.zWriteEnable = write;
    return s;
}

TEST(Depth, NearerSurfaceWinsWhicheverIsDrawnFirst) {
    for (bool nearFirst : {true, false}) {
        Canvas canvas(8, 8);
        const RenderStates s = DepthStates(Compare::LessEqual);
        Draw(canvas, nearFirst ? 0.25f : 0.75f, nearFirst ? Color{1, 0, 0, 1} : Color{0, 1, 0, 1}, s);
        Draw(canvas, nearFirst ? 0.75f : 0.25f, nearFirst ? Color{0, 1, 0, 1} : Color{1, 0, 0, 1}, s);
        EXPECT_EQ(canvas.count(kRed), 64) << nearFirst;
        EXPECT_EQ(canvas.depthAt(3, 3), 1073741824u);  // 0.25 of the 32-bit range, rounded
    }
}

TEST(Depth, EqualDepthPassesLessEqualButNotLess) {
    Canvas canvas(8, 8);
    Draw(canvas, 0.5f, {1, 0, 0, 1}, DepthStates(Compare::LessEqual));
    Draw(canvas, 0.5f, {0, 1, 0, 1}, DepthStates(Compare::Less));
    EXPECT_EQ(canvas.count(kRed), 64);
    Draw(canvas, 0.5f, {0, 1, 0, 1}, DepthStates(Compare::LessEqual));
    EXPECT_EQ(canvas.count(kGreen), 64);
}

TEST(Depth, EveryComparisonFunction) {
    struct Case {
        Compare func;
        bool nearer, equal, farther;
    };
    const Case cases[] = {{Compare::Never, false, false, false},      {Compare::Less, true, false, false},
                          {Compare::Equal, false, true, false},       {Compare::LessEqual, true, true, false},
                          {Compare::Greater, false, false, true},     {Compare::NotEqual, true, false, true},
                          {Compare::GreaterEqual, false, true, true}, {Compare::Always, true, true, true}};
    for (const Case& c : cases) {
        const bool expected[3] = {c.nearer, c.equal, c.farther};
        const float z[3] = {0.25f, 0.5f, 0.75f};
        for (int k = 0; k < 3; ++k) {
            Canvas canvas(8, 8);
            Draw(canvas, 0.5f, {1, 0, 0, 1}, DepthStates(Compare::Always));
            Draw(canvas, z[k], {0, 1, 0, 1}, DepthStates(c.func));
            EXPECT_EQ(canvas.count(kGreen), expected[k] ? 64 : 0) << int(c.func) << " case " << k;
        }
    }
}

TEST(Depth, WriteDisabledTestsButLeavesDepth) {
    Canvas canvas(8, 8);
    Draw(canvas, 0.5f, {1, 0, 0, 1}, DepthStates(Compare::LessEqual, false));
    EXPECT_EQ(canvas.count(kRed), 64);
    EXPECT_EQ(canvas.depthAt(0, 0), kFarthest);
}

TEST(Depth, DisabledNeitherTestsNorWrites) {
    Canvas canvas(8, 8);
    Draw(canvas, 0.25f, {1, 0, 0, 1}, DepthStates(Compare::LessEqual));
    RenderStates off;
    off.zEnable = false;
    Draw(canvas, 0.75f, {0, 1, 0, 1}, off);
    EXPECT_EQ(canvas.count(kGreen), 64);
    EXPECT_EQ(canvas.depthAt(0, 0), 1073741824u);
}

TEST(Depth, InterpolatesLinearlyInScreenSpace) {
    Canvas canvas(16, 4);
    // Depth 0 at x = 0 rising to 1 at x = 16.
    const std::vector<Vertex> v{At(0, -1, 0), At(16, -1, 1), At(0, 8, 0), At(0, 8, 0), At(16, -1, 1), At(16, 8, 1)};
    DrawCall call = PixelGridCall(canvas, v);
    call.states = DepthStates(Compare::Always);
    DrawTriangleList(canvas.target(), call);
    for (int x = 0; x < 16; ++x) {
        const double want = x / 16.0 * 4294967295.0;
        EXPECT_NEAR(double(canvas.depthAt(x, 2)), want, 2.0) << x;
    }
}

TEST(Depth, ValuesOutsideTheDepthRangeAreClippedAway) {
    Canvas canvas(8, 8);
    Draw(canvas, 1.5f, {1, 0, 0, 1}, DepthStates(Compare::Always));
    Draw(canvas, -0.5f, {1, 0, 0, 1}, DepthStates(Compare::Always));
    EXPECT_EQ(canvas.count(kRed), 0);
}

// Culling. On screen (y down), (0,0) -> (8,0) -> (0,8) turns clockwise.
int CoveredWith(CullMode cull, bool clockwise) {
    Canvas canvas(8, 8);
    std::vector<Vertex> v{At(0, 0), At(8, 0), At(0, 8)};
    if (!clockwise) std::swap(v[1], v[2]);
    DrawCall call = PixelGridCall(canvas, v);
    call.states.cullMode = cull;
    DrawTriangleList(canvas.target(), call);
    return canvas.count(Xrgb(255, 255, 255));
}

TEST(Culling, DefaultDropsCounterClockwiseAndDrawsClockwise) {
    EXPECT_EQ(RenderStates{}.cullMode, CullMode::CounterClockwise);
    EXPECT_EQ(CoveredWith(CullMode::CounterClockwise, true), 36);
    EXPECT_EQ(CoveredWith(CullMode::CounterClockwise, false), 0);
}

TEST(Culling, ClockwiseModeDropsClockwise) {
    EXPECT_EQ(CoveredWith(CullMode::Clockwise, true), 0);
    EXPECT_EQ(CoveredWith(CullMode::Clockwise, false), 36);
}

TEST(Culling, NoneDrawsBothWindingsAlike) {
    EXPECT_EQ(CoveredWith(CullMode::None, true), 36);
    EXPECT_EQ(CoveredWith(CullMode::None, false), 36);
}

TEST(Culling, UndefinedStateValuesDrawNothing) {
    EXPECT_EQ(CoveredWith(static_cast<CullMode>(0), true), 0);
    EXPECT_EQ(CoveredWith(static_cast<CullMode>(77), true), 0);
}

}  // namespace
}  // namespace qv::pipeline::test
