// Clear: rectangles clipped to the viewport and the target, each plane on request.
#include <gtest/gtest.h>

#include "canvas.h"
#include "pipeline/renderer.h"

namespace qv::pipeline::test {
namespace {

constexpr uint32_t kDirty = 0x12345678;

struct Dirty : Canvas {
    Dirty() : Canvas(10, 8) {
        color.assign(color.size(), kDirty);
        depth.assign(depth.size(), kDirty);
    }
    Viewport viewport(uint32_t x, uint32_t y, uint32_t w, uint32_t h) const { return {x, y, w, h, -1, 1, 2, 2, 0, 1}; }
    bool colorCleared(int x, int y) { return at(x, y) == 0; }
    bool depthCleared(int x, int y) { return depthAt(x, y) == kFarthest; }
};

TEST(Clear, FullRectangleClearsColourToBlackAndDepthToFarthest) {
    Dirty c;
    const Rect all{0, 0, 10, 8};
    Clear(c.target(), c.viewport(0, 0, 10, 8), &all, 1, true, true);
    EXPECT_EQ(c.count(0), 80);
    for (uint32_t d : c.depth) EXPECT_EQ(d, kFarthest);
}

TEST(Clear, RectanglesAreClippedToTheViewport) {
    Dirty c;
    const Rect rects[] = {{-5, -5, 4, 4}, {6, 5, 50, 50}};
    Clear(c.target(), c.viewport(2, 1, 6, 5), rects, 2, true, true);  // viewport x 2..7, y 1..5
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inViewport = x >= 2 && x < 8 && y >= 1 && y < 6;
            const bool inRect = (x < 4 && y < 4) || (x >= 6 && y >= 5);
            EXPECT_EQ(c.colorCleared(x, y), inViewport && inRect) << x << "," << y;
            EXPECT_EQ(c.depthCleared(x, y), inViewport && inRect) << x << "," << y;
        }
    }
}

TEST(Clear, EachPlaneOnlyWhenAsked) {
    Dirty c;
    const Rect all{0, 0, 10, 8};
    Clear(c.target(), c.viewport(0, 0, 10, 8), &all, 1, true, false);
    EXPECT_EQ(c.count(0), 80);
    EXPECT_EQ(c.depthAt(3, 3), kDirty);
    Dirty d;
    Clear(d.target(), d.viewport(0, 0, 10, 8), &all, 1, false, true);
    EXPECT_EQ(d.at(3, 3), kDirty);
    EXPECT_EQ(d.depthAt(3, 3), kFarthest);
}

TEST(Clear, EmptyInvertedOrMissingRectanglesClearNothing) {
    Dirty c;
    const Rect rects[] = {{5, 5, 5, 9}, {8, 2, 3, 6}, {20, 20, 30, 30}};
    Clear(c.target(), c.viewport(0, 0, 10, 8), rects, 3, true, true);
    Clear(c.target(), c.viewport(0, 0, 10, 8), nullptr, 5, true, true);
    EXPECT_EQ(c.count(kDirty), 80);
}

TEST(Clear, ViewportBeyondTheTargetAndPaddingAreSafe) {
    const uint32_t w = 4, h = 3, pitch = 6;
    std::vector<uint32_t> color(pitch * h, kDirty);
    const Target target{color.data(), pitch, nullptr, 0, w, h};
    const Rect all{-100, -100, 100, 100};
    Clear(target, {1, 1, 1000, 1000, -1, 1, 2, 2, 0, 1}, &all, 1, true, true);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < pitch; ++x) EXPECT_EQ(color[y * pitch + x] == 0, x >= 1 && x < w && y >= 1) << x << y;
    }
}

// A plane with a drawn area is filled only within it (the rest holds the clear
// value by contract), and the area is empty once a rectangle covers it.
TEST(Clear, FillsOnlyTheDrawnAreaAndForgetsWhatItCovers) {
    const struct {
        Rect rect;
        DrawnArea after;
    } cases[] = {
        {{0, 0, 10, 8}, {0, 0, 0, 0}},
        {{2, 1, 5, 4}, {0, 0, 0, 0}},
        {{3, 0, 10, 8}, {2, 1, 5, 4}},  // covers part of it: kept whole
    };
    for (const auto& test : cases) {
        Dirty c;
        DrawnArea colorDrawn{2, 1, 5, 4}, depthDrawn;  // depth: everything
        Target target = c.target();
        target.colorDrawn = &colorDrawn;
        target.depthDrawn = &depthDrawn;
        Clear(target, c.viewport(0, 0, 10, 8), &test.rect, 1, true, true);
        const Rect& r = test.rect;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 10; ++x) {
                const bool inRect = x >= r.x1 && x < r.x2 && y >= r.y1 && y < r.y2;
                EXPECT_EQ(c.colorCleared(x, y), inRect && x >= 2 && x < 5 && y >= 1 && y < 4) << x << "," << y;
                EXPECT_EQ(c.depthCleared(x, y), inRect) << x << "," << y;
            }
        }
        EXPECT_EQ(colorDrawn.x1 - colorDrawn.x0, test.after.x1 - test.after.x0);
        EXPECT_EQ(colorDrawn.y1 - colorDrawn.y0, test.after.y1 - test.after.y0);
        EXPECT_EQ(depthDrawn.x1 == depthDrawn.x0, r.x1 == 0 && r.x2 == 10);
    }
}

// Draws widen the drawn areas of the planes they write to every pixel they
// reach, on one thread or with a team.
TEST(Clear, DrawsWidenTheDrawnAreasOverTheirPixels) {
    for (unsigned threads : {1u, 2u}) {
        Canvas c(12, 10);
        DrawnArea colorDrawn{0, 0, 0, 0}, depthDrawn{10, 8, 11, 9};
        Target target = c.target();
        target.colorDrawn = &colorDrawn;
        target.depthDrawn = &depthDrawn;
        const std::vector<Vertex> triangle = {At(2, 1), At(9, 1), At(2, 7)};
        DrawCall call = PixelGridCall(c, triangle);
        call.states.zEnable = true;
        Renderer renderer;
        renderer.Start(threads);
        renderer.DrawTriangleList(target, call);
        EXPECT_GT(c.count(Xrgb(255, 255, 255)), 10);
        const auto inside = [](const DrawnArea& a, int x, int y) { return x >= a.x0 && x < a.x1 && y >= a.y0 && y < a.y1; };
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 12; ++x) {
                EXPECT_TRUE(c.at(x, y) == 0 || inside(colorDrawn, x, y)) << x << "," << y << ", " << threads;
                EXPECT_TRUE(c.depthAt(x, y) == kFarthest || inside(depthDrawn, x, y)) << x << "," << y;
            }
        }
        EXPECT_TRUE(inside(depthDrawn, 10, 8));
    }
}

}  // namespace
}  // namespace qv::pipeline::test
