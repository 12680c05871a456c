// Which pixels a triangle covers: known answers, the fill rule on shared
// edges, the viewport's scissor and triangles far beyond the target.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <set>
#include <utility>

#include "canvas.h"

namespace qv::pipeline::test {
namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels Covered(Canvas& canvas) {
    Pixels p;
    for (uint32_t y = 0; y < canvas.height; ++y) {
        for (uint32_t x = 0; x < canvas.width; ++x) {
            if (canvas.at(x, y) != 0) p.insert({int(x), int(y)});
        }
    }
    return p;
}

Pixels DrawOne(Canvas& canvas, const std::vector<Vertex>& v) {
    DrawTriangleList(canvas.target(), PixelGridCall(canvas, v));
    return Covered(canvas);
}

TEST(Coverage, RightTriangleOnPixelCentresKeepsTopAndLeftEdgesOnly) {
    Canvas canvas(8, 8);
    // Clockwise on screen: (1,1) -> (5,1) -> (1,5). Top edge y = 1 and left edge
    // x = 1 are drawn; pixel centres on the hypotenuse x + y = 6 are not.
    const Pixels got = DrawOne(canvas, {At(1, 1), At(5, 1), At(1, 5)});
    Pixels want;
    for (int y = 1; y <= 4; ++y) {
        for (int x = 1; x + y < 6; ++x) want.insert({x, y});
    }
    EXPECT_EQ(got, want);
    EXPECT_EQ(got.size(), 10u);
}

TEST(Coverage, PixelCentresAreAtIntegerCoordinates) {
    Canvas canvas(8, 8);
    // A square from 0.5 to 3.5 holds the centres 1, 2, 3 in each direction.
    const Pixels got = DrawOne(canvas, {At(0.5f, 0.5f), At(3.5f, 0.5f), At(0.5f, 3.5f), At(0.5f, 3.5f),
                                        At(3.5f, 0.5f), At(3.5f, 3.5f)});
    Pixels want;
    for (int y = 1; y <= 3; ++y) {
        for (int x = 1; x <= 3; ++x) want.insert({x, y});
    }
    EXPECT_EQ(got, want);
}

TEST(Coverage, TriangleBetweenPixelCentresCoversNothing) {
    Canvas canvas(8, 8);
    EXPECT_TRUE(DrawOne(canvas, {At(2.1f, 2.1f), At(2.9f, 2.1f), At(2.1f, 2.9f)}).empty());
    EXPECT_TRUE(DrawOne(canvas, {At(1, 1), At(5, 1), At(3, 1)}).empty());  // no area
}

TEST(Coverage, ColoursAreWrittenAsXrgbWithRounding) {
    Canvas canvas(4, 4);
    const std::vector<Vertex> v{At(0, 0), At(4, 0), At(0, 4)};
    DrawTriangleList(canvas.target(), PixelGridCall(canvas, v, {0.5f, 0.25f, 1.0f, 0.0f}));
    EXPECT_EQ(canvas.at(0, 0), Xrgb(128, 64, 255));  // 127.5 -> 128, 63.75 -> 64
}

// Draws each triangle alone and counts, per pixel, how many triangles covered it.
std::vector<int> CoverCounts(const std::vector<Vertex>& mesh, uint32_t w, uint32_t h, CullMode cull) {
    std::vector<int> counts(w * h, 0);
    for (std::size_t i = 0; i + 2 < mesh.size(); i += 3) {
        Canvas canvas(w, h);
        std::vector<Vertex> one(mesh.begin() + long(i), mesh.begin() + long(i) + 3);
        DrawCall call = PixelGridCall(canvas, one);
        call.states.cullMode = cull;
        DrawTriangleList(canvas.target(), call);
        for (std::size_t p = 0; p < counts.size(); ++p) counts[p] += canvas.color[p] != 0;
    }
    return counts;
}

// A grid of quads over [0, w] x [0, h] whose inner corners are moved about
// (some onto pixel centres, some between), each quad split along a diagonal.
std::vector<Vertex> TilingMesh(uint32_t w, uint32_t h, int cells) {
    const auto corner = [&](int i, int j) {
        float x = float(w) * i / cells, y = float(h) * j / cells;
        if (i > 0 && i < cells && j > 0 && j < cells) {
            const float jitter[] = {0, 0.5f, 0.37f, -0.25f, 0.125f, -0.61f, 1.0f, -0.0039f};
            x = std::round(x) + jitter[(i * 3 + j) % 8];
            y = std::round(y) + jitter[(i + j * 5) % 8];
        }
        return At(x, y);
    };
    std::vector<Vertex> mesh;
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            const Vertex a = corner(i, j), b = corner(i + 1, j), c = corner(i, j + 1), d = corner(i + 1, j + 1);
            if ((i + j) % 2) {
                mesh.insert(mesh.end(), {a, b, c, c, b, d});
            } else {
                mesh.insert(mesh.end(), {a, b, d, a, d, c});
            }
        }
    }
    return mesh;
}

TEST(Coverage, MeshTilingARectangleCoversEveryPixelExactlyOnce) {
    const uint32_t w = 29, h = 23;
    const std::vector<Vertex> mesh = TilingMesh(w, h, 6);
    const std::vector<int> counts = CoverCounts(mesh, w, h, CullMode::CounterClockwise);
    for (uint32_t p = 0; p < w * h; ++p) ASSERT_EQ(counts[p], 1) << "pixel " << p % w << "," << p / w;
}

TEST(Coverage, FanAroundAPixelCentreCoversEveryPixelExactlyOnce) {
    const uint32_t size = 21;
    const float cx = 10, cy = 10;
    std::vector<Vertex> fan;
    const int spokes = 24;
    const auto rim = [&](int k) {
        const float a = 6.2831853f * float(k % spokes) / spokes;
        return At(cx + 30 * std::cos(a), cy + 30 * std::sin(a));
    };
    for (int k = 0; k < spokes; ++k) fan.insert(fan.end(), {At(cx, cy), rim(k), rim(k + 1)});
    // Angles grow clockwise on screen (y down), so every triangle is front facing.
    const std::vector<int> counts = CoverCounts(fan, size, size, CullMode::CounterClockwise);
    for (uint32_t p = 0; p < size * size; ++p) ASSERT_EQ(counts[p], 1) << "pixel " << p % size << "," << p / size;
}

TEST(Coverage, MirroredMeshWithoutCullingCoversEveryPixelExactlyOnce) {
    const uint32_t w = 17, h = 19;
    std::vector<Vertex> mesh = TilingMesh(w, h, 5);
    for (std::size_t i = 0; i + 2 < mesh.size(); i += 3) std::swap(mesh[i + 1], mesh[i + 2]);
    const std::vector<int> counts = CoverCounts(mesh, w, h, CullMode::None);
    for (uint32_t p = 0; p < w * h; ++p) ASSERT_EQ(counts[p], 1) << "pixel " << p % w << "," << p / w;
}

TEST(Coverage, DrawingStaysInsideTheViewport) {
    Canvas canvas(12, 10);
    const std::vector<Vertex> v{At(-50, -50), At(100, -50), At(-50, 100)};
    DrawCall call = PixelGridCall(canvas, v);
    call.viewport = {2, 3, 5, 4, 2, -3, 5, 4, 0, 1};  // clip space still the pixel grid
    DrawTriangleList(canvas.target(), call);
    Pixels want;
    for (int y = 3; y < 7; ++y) {
        for (int x = 2; x < 7; ++x) want.insert({x, y});
    }
    EXPECT_EQ(Covered(canvas), want);
}

TEST(Coverage, ViewportBeyondTheTargetIsCutToTheTarget) {
    Canvas canvas(6, 5);
    const std::vector<Vertex> v{At(-50, -50), At(100, -50), At(-50, 100)};
    DrawCall call = PixelGridCall(canvas, v);
    call.viewport = {3, 2, 1000, 1000, 3, -2, 1000, 1000, 0, 1};
    DrawTriangleList(canvas.target(), call);
    EXPECT_EQ(Covered(canvas).size(), 3u * 3u);
}

TEST(Coverage, HugeTrianglesBeyondTheGuardBandStillCoverTheTarget) {
    // Clipping runs in double precision: exact enough up to some 1e13 pixels
    // away (beyond that the cut lands off by more than a pixel).
    for (float far : {1e5f, 1e7f, 1e10f, 1e12f}) {
        Canvas canvas(9, 7);
        const Pixels got = DrawOne(canvas, {At(-far, -far), At(far, -far * 0.5f), At(-far * 0.5f, far)});
        EXPECT_EQ(got.size(), 9u * 7u) << far;
    }
}

// The coverage rule evaluated at every pixel centre on its own: inside all
// three edges, or exactly on one that is a top or a left edge. Corners are in
// 1/256 pixel, so the test's vertices are exactly what the rasterizer sees.
Pixels CoverageByDefinition(const int64_t (&x)[3], const int64_t (&y)[3], int width, int height) {
    const int64_t area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
    Pixels p;
    if (area == 0) return p;
    const int order[3] = {0, area > 0 ? 1 : 2, area > 0 ? 2 : 1};  // clockwise on screen
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            bool inside = true;
            for (int i = 0; i < 3; ++i) {
                const int a = order[i], b = order[(i + 1) % 3];
                const int64_t dx = x[b] - x[a], dy = y[b] - y[a];
                const int64_t e = dx * (int64_t{py} * 256 - y[a]) - dy * (int64_t{px} * 256 - x[a]);
                const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
                inside = inside && (e > 0 || (e == 0 && topLeft));
            }
            if (inside) p.insert({px, py});
        }
    }
    return p;
}

TEST(Coverage, RandomTrianglesCoverExactlyThePixelsTheRuleGives) {
    std::mt19937 random(7);
    const int size = 40;
    // Corners on whole pixels, on halves or anywhere on the 1/256 grid, so that
    // vertices and edges often pass exactly through pixel centres.
    const auto corner = [&random]() -> int64_t {
        const int64_t v = std::uniform_int_distribution<int64_t>(-8 * 256, 48 * 256)(random);
        switch (random() % 3) {
            case 0: return v & ~int64_t{255};
            case 1: return v & ~int64_t{127};
            default: return v;
        }
    };
    for (int n = 0; n < 3000; ++n) {
        int64_t x[3], y[3];
        std::vector<Vertex> v;
        for (int i = 0; i < 3; ++i) {
            x[i] = corner();
            y[i] = random() % 4 == 0 && i > 0 ? y[i - 1] : corner();  // some edges horizontal
            v.push_back(At(float(x[i]) / 256, float(y[i]) / 256));
        }
        Canvas canvas(size, size);
        DrawCall call = PixelGridCall(canvas, v);
        call.states.cullMode = CullMode::None;
        DrawTriangleList(canvas.target(), call);
        ASSERT_EQ(Covered(canvas), CoverageByDefinition(x, y, size, size)) << "triangle " << n;
    }
}

TEST(Coverage, TargetPitchLeavesPaddingUntouched) {
    const uint32_t w = 5, h = 4, pitch = 8;
    std::vector<uint32_t> color(pitch * h, 0xDEADBEEF), depth(pitch * h, 0xDEADBEEF);
    const Target target{color.data(), pitch, depth.data(), pitch, w, h};
    Canvas grid(w, h);
    const std::vector<Vertex> v{At(-50, -50), At(100, -50), At(-50, 100)};
    DrawCall call = PixelGridCall(grid, v);
    call.states.zEnable = true;
    call.states.zFunc = Compare::Always;
    DrawTriangleList(target, call);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < pitch; ++x) {
            const bool inside = x < w;
            EXPECT_EQ(color[y * pitch + x] == 0xDEADBEEF, !inside) << x << "," << y;
            EXPECT_EQ(depth[y * pitch + x] == 0xDEADBEEF, !inside) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace qv::pipeline::test
