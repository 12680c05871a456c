// Random and hostile input: over a million triangles with NaN, infinite, huge,
// denormal and degenerate values, random matrices, viewports, lights and
// render states, drawn into small targets fenced by guard words. Nothing may
// fault, hang, write outside the planes or write a colour with a non-zero top byte.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

#include "canvas.h"

namespace qv::pipeline::test {
namespace {

constexpr uint32_t kGuard = 0xA5A5A5A5;
constexpr std::size_t kFence = 64;  // guard words before and after each plane

class Hostile {
public:
    explicit Hostile(uint32_t seed) : random_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    bool Chance(int percent) { return Int(0, 99) < percent; }

    // Mostly ordinary values of the given size, now and then a hostile one.
    float Value(float scale) {
        static const float special[] = {std::numeric_limits<float>::quiet_NaN(),
                                        std::numeric_limits<float>::infinity(),
                                        -std::numeric_limits<float>::infinity(),
                                        FLT_MAX, -FLT_MAX, 1e30f, -1e30f, 1e-40f, -1e-40f, FLT_MIN, 0.0f, -0.0f,
                                        1e19f, 16777216.5f, 0.5f, 1.0f};
        const int kind = Int(0, 99);
        if (kind < 2) return special[Int(0, 15)];
        if (kind < 6) return std::uniform_real_distribution<float>(-1e8f, 1e8f)(random_);
        if (kind < 10) return float(Int(-40, 40)) * 0.5f;  // on pixel centres and half-way
        return std::uniform_real_distribution<float>(-scale, scale)(random_);
    }

    Matrix AnyMatrix() {
        Matrix m = Identity();
        const int kind = Int(0, 3);
        if (kind == 0) return m;
        if (kind == 1) return {{{2, 0, 0, 0}, {0, 2.6666667f, 0, 0}, {0, 0, 1, 1}, {0, 0, -1, 0}}};
        for (auto& row : m.m) {
            for (float& v : row) v = kind == 2 ? std::uniform_real_distribution<float>(-3, 3)(random_) : Value(3);
        }
        return m;
    }

    Vertex AnyVertex(float scale) {
        return {Value(scale), Value(scale), Value(scale), Value(1), Value(1), Value(1), Value(1), Value(1)};
    }

    Color AnyColor() { return {Value(1.5f), Value(1.5f), Value(1.5f), Value(1)}; }

    Light AnyLight() {
        Light l{};
        l.type = static_cast<LightType>(Int(0, 5));
        l.color = AnyColor();
        l.position = {Value(10), Value(10), Value(10)};
        l.direction = {Value(1), Value(1), Value(1)};
        l.range = Chance(50) ? std::sqrt(FLT_MAX) : Value(20);
        l.falloff = Value(2);
        l.attenuation0 = Chance(50) ? 0 : Value(1);
        l.attenuation1 = Chance(50) ? 0 : Value(1);
        l.attenuation2 = Chance(50) ? 0 : Value(1);
        l.theta = Value(2);
        l.phi = Value(3);
        return l;
    }

    Viewport AnyViewport(uint32_t w, uint32_t h) {
        if (Chance(80)) {
            return {0, 0, w, h, -1, 1, 2, 2, 0, 1};
        }
        const uint32_t big = 0xFFFFFFF0u;
        return {Chance(80) ? uint32_t(Int(0, 30)) : big,
                Chance(80) ? uint32_t(Int(0, 30)) : big,
                Chance(80) ? uint32_t(Int(0, 40)) : big,
                Chance(80) ? uint32_t(Int(0, 40)) : big,
                Value(2), Value(2), Value(3), Value(3), Value(1), Value(1)};
    }

    RenderStates AnyStates() {
        RenderStates s;
        s.zEnable = Chance(70);
        s.zWriteEnable = Chance(70);
        s.zFunc = static_cast<Compare>(Int(0, 9));
        s.shadeMode = static_cast<ShadeMode>(Int(0, 4));
        s.cullMode = static_cast<CullMode>(Chance(80) ? Int(1, 3) : Int(0, 5));
        return s;
    }

private:
    std::mt19937 random_;
};

// A plane of width x height words with a pitch of its own, fenced by guard words.
struct FencedPlane {
    std::size_t pitch, height, width;
    std::vector<uint32_t> words;

    FencedPlane(std::size_t w, std::size_t h, std::size_t p)
        : pitch(p), height(h), width(w), words(kFence * 2 + p * h, kGuard) {}
    uint32_t* data() { return words.data() + kFence; }

    // Guard words intact; the padding of every row untouched.
    bool Intact() const {
        for (std::size_t i = 0; i < kFence; ++i) {
            if (words[i] != kGuard || words[words.size() - 1 - i] != kGuard) return false;
        }
        for (std::size_t y = 0; y < height; ++y) {
            for (std::size_t x = width; x < pitch; ++x) {
                if (words[kFence + y * pitch + x] != kGuard) return false;
            }
        }
        return true;
    }
};

TEST(Robustness, MillionsOfHostileTrianglesNeitherFaultNorStrayOutsideTheTarget) {
    Hostile h(20261208);
    std::size_t triangles = 0, pixelsWritten = 0;
    std::vector<Vertex> vertices;
    for (int draw = 0; triangles < 1'100'000; ++draw) {
        const uint32_t w = uint32_t(h.Int(1, 24)), height = uint32_t(h.Int(1, 18));
        FencedPlane color(w, height, w + uint32_t(h.Int(0, 3))), depth(w, height, w + uint32_t(h.Int(0, 3)));
        const Target target{h.Chance(90) ? color.data() : nullptr, color.pitch,
                            h.Chance(80) ? depth.data() : nullptr, depth.pitch, w, height};

        const float scale = h.Chance(50) ? 2.0f : 40.0f;
        vertices.clear();
        const int count = h.Int(1, 120) * 3 + h.Int(0, 2);  // sometimes a partial triangle at the end
        for (int i = 0; i < count; ++i) {
            if (i % 3 && h.Chance(5)) {
                vertices.push_back(vertices.back());  // degenerate: a repeated corner
            } else if (i % 3 == 2 && h.Chance(5)) {   // sliver: nearly on the line of the other two
                const Vertex& a = vertices[vertices.size() - 2];
                const Vertex& b = vertices.back();
                Vertex c = b;
                c.x = 2 * b.x - a.x + 1e-4f;
                c.y = 2 * b.y - a.y;
                vertices.push_back(c);
            } else {
                vertices.push_back(h.AnyVertex(scale));
            }
        }
        Light lights[3];
        const int lightCount = h.Int(0, 3);
        for (int i = 0; i < lightCount; ++i) lights[i] = h.AnyLight();

        DrawCall call{};
        call.vertices = vertices.data();
        call.vertexCount = vertices.size();
        call.world = h.AnyMatrix();
        call.view = h.Chance(50) ? Matrix{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 10, 1}}} : h.AnyMatrix();
        call.projection = h.AnyMatrix();
        call.material = {h.AnyColor(), h.AnyColor(), h.Chance(80) ? Color{} : h.AnyColor(), h.AnyColor(), h.Value(20)};
        call.lights = lights;
        call.lightCount = std::size_t(lightCount);
        call.ambient = h.AnyColor();
        call.states = h.AnyStates();
        call.viewport = h.AnyViewport(w, height);

        if (h.Chance(10)) {
            const Rect rects[2] = {{h.Int(-5, 30), h.Int(-5, 30), h.Int(-5, 30), h.Int(-5, 30)},
                                   {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}};
            Clear(target, call.viewport, rects, std::size_t(h.Int(0, 2)), h.Chance(50), h.Chance(50));
        }
        DrawTriangleList(target, call);
        triangles += vertices.size() / 3;

        ASSERT_TRUE(color.Intact()) << "draw " << draw;
        ASSERT_TRUE(depth.Intact()) << "draw " << draw;
        for (std::size_t y = 0; target.color && y < height; ++y) {
            for (std::size_t x = 0; x < w; ++x) {
                const uint32_t c = color.data()[y * color.pitch + x];
                ASSERT_TRUE(c == kGuard || (c >> 24) == 0) << "draw " << draw << std::hex << " colour " << c;
                pixelsWritten += c != kGuard;
            }
        }
    }
    EXPECT_GE(triangles, 1'000'000u);
    EXPECT_GT(pixelsWritten, 100'000u);  // the hostile mix still draws plenty
}

}  // namespace
}  // namespace qv::pipeline::test
