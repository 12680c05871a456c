// Clipping against the depth range and the eye: nothing behind the eye or in
// front of the near plane is drawn, and nothing divides by zero.
#include <gtest/gtest.h>

#include "canvas.h"

namespace qv::pipeline::test {
namespace {

TEST(Clipping, NearPlaneCutsATriangleWhereDepthReachesZero) {
    Canvas canvas(16, 4);
    // Depth runs from -1 at x = 0 to 1 at x = 16, so the near plane is x = 8.
    const std::vector<Vertex> v{At(0, -1, -1), At(16, -1, 1), At(0, 8, -1), At(0, 8, -1), At(16, -1, 1), At(16, 8, 1)};
    DrawCall call = PixelGridCall(canvas, v);
    call.states.zEnable = true;
    call.states.zFunc = Compare::Always;
    DrawTriangleList(canvas.target(), call);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(canvas.at(x, y) != 0, x >= 8) << x << "," << y;  // the cut is a left edge
        }
    }
    EXPECT_EQ(canvas.depthAt(8, 1), 0u);
}

// The program's camera: eye at the origin looking along +z, the near plane at
// view depth 1, 4:3 field of view.
DrawCall PerspectiveCall(const Canvas& canvas, const std::vector<Vertex>& v) {
    DrawCall call = PixelGridCall(canvas, v);
    call.projection = {{{2, 0, 0, 0}, {0, 2.6666667f, 0, 0}, {0, 0, 1, 1}, {0, 0, -1, 0}}};
    call.viewport = {0, 0, canvas.width, canvas.height, -1, 1, 2, 2, 0, 1};
    call.states.zEnable = true;
    return call;
}

TEST(Clipping, TriangleBehindTheEyeDrawsNothing) {
    Canvas canvas(80, 60);
    const std::vector<Vertex> v{At(-3, -1, -5), At(3, -1, -5), At(0, 1, -2)};
    DrawTriangleList(canvas.target(), PerspectiveCall(canvas, v));
    EXPECT_EQ(canvas.count(0), 80 * 60);
}

TEST(Clipping, FloorReachingBehindTheEyeShowsOnlyItsVisiblePart) {
    Canvas canvas(80, 60);
    // A floor at y = -1 from behind the eye (z = -5) out to z = 20. Its far
    // point is on row 30 + 80 / 20 = 34; without clipping, the part behind the
    // eye would be mirrored into the rows above.
    const std::vector<Vertex> v{At(-3, -1, -5), At(0, -1, 20), At(3, -1, -5)};
    DrawTriangleList(canvas.target(), PerspectiveCall(canvas, v));
    int drawn = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (canvas.at(x, y) == 0) continue;
            ++drawn;
            EXPECT_GE(y, 34) << x;
            // Depth 1 - 1/z grows with distance, so rows nearer the horizon are deeper.
            EXPECT_LT(canvas.depthAt(x, y), kFarthest);
        }
    }
    EXPECT_GT(drawn, 200);
    EXPECT_EQ(canvas.at(40, 59), Xrgb(255, 255, 255));  // the nearest row, straight ahead
}

TEST(Clipping, TriangleThroughTheEyePlaneStaysOnItsSide) {
    Canvas canvas(80, 60);
    // One corner exactly in the eye plane (w = 0), one behind, one in front.
    const std::vector<Vertex> v{At(0, -1, 0), At(2, 1, 5), At(0, 2, -5)};
    DrawCall call = PerspectiveCall(canvas, v);
    call.states.cullMode = CullMode::None;
    DrawTriangleList(canvas.target(), call);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (canvas.at(x, y) != 0) {
                EXPECT_GE(x, 40) << y;  // only x >= 0 is in front
            }
        }
    }
}

TEST(Clipping, FlatShadingKeepsTheFirstVertexColourAfterClipping) {
    Canvas canvas(16, 4);
    // Lit by a light along +z: the first vertex faces it, the others face away.
    std::vector<Vertex> v{At(16, -1, 1), At(0, 8, -1), At(0, -1, -1)};
    v[1].nz = v[2].nz = 1;
    const Light light{LightType::Directional, {1, 1, 1, 1}, {0, 0, 0}, {0, 0, 1}, 0, 0, 0, 0, 0, 0, 0};
    DrawCall call = PixelGridCall(canvas, v, {0, 0, 0, 0});
    call.material.diffuse = {1, 0.5f, 0.25f, 1};
    call.lights = &light;
    call.lightCount = 1;
    call.states.shadeMode = ShadeMode::Flat;
    call.states.cullMode = CullMode::None;
    DrawTriangleList(canvas.target(), call);
    int lit = 0;
    for (uint32_t c : canvas.color) {
        if (c == 0) continue;
        EXPECT_EQ(c, Xrgb(255, 128, 64));
        ++lit;
    }
    EXPECT_GT(lit, 4);
}

}  // namespace
}  // namespace qv::pipeline::test
