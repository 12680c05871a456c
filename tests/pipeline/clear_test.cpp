// Clear: rectangles clipped to the viewport and the target, each plane on request.
#include <gtest/gtest.h>

#include "canvas.h"
#include "pipeline/renderer.h"

namespace qv::pipeline::test {
namespace {

constexpr uint32_t kDirty = 0x12345678;

struct Dirty : Canvas {
    explicit Dirty(uint32_t width = 10, uint32_t height = 8) : Canvas(width, height) {
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

// A plane with a drawn area is filled only within it, band by band of rows
// (the rest holds the clear value by contract), and the area is empty once a
// rectangle covers the box around it.
TEST(Clear, FillsOnlyTheDrawnAreaAndForgetsWhatItCovers) {
    const struct {
        Rect rect;
        bool forgotten;
    } cases[] = {
        {{0, 0, 10, 70}, true},
        {{1, 2, 9, 42}, true},
        {{3, 0, 10, 70}, false},  // covers part of it: kept whole
    };
    for (const auto& test : cases) {
        Dirty c(10, 70);
        // Two boxes in different bands: neither band's columns reach the other box's.
        DrawnArea colorDrawn{1, 2, 3, 4}, depthDrawn;  // depth: everything
        colorDrawn.Add(6, 40, 9, 42);
        Target target = c.target();
        target.colorDrawn = &colorDrawn;
        target.depthDrawn = &depthDrawn;
        Clear(target, c.viewport(0, 0, 10, 70), &test.rect, 1, true, true);
        const Rect& r = test.rect;
        for (int y = 0; y < 70; ++y) {
            for (int x = 0; x < 10; ++x) {
                const bool inRect = x >= r.x1 && x < r.x2 && y >= r.y1 && y < r.y2;
                const bool inDrawn = y < 32 ? x >= 1 && x < 3 && y >= 2 : x >= 6 && x < 9 && y < 42;
                EXPECT_EQ(c.colorCleared(x, y), inRect && inDrawn) << x << "," << y;
                EXPECT_EQ(c.depthCleared(x, y), inRect) << x << "," << y;
            }
        }
        EXPECT_EQ(colorDrawn.Empty(), test.forgotten);
        EXPECT_EQ(depthDrawn.Empty(), r.x1 == 0 && r.x2 == 10);
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
        const auto inside = [](const DrawnArea& a, int x, int y) {
            return x >= a.Left(y) && x < a.Right(y) && y >= a.Top() && y < a.Bottom();
        };
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
