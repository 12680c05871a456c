// Drawing with worker threads: the same bytes as on one thread, for the
// program's frames and for random triangles (clipped, culled, overlapping,
// in many draws), and nothing allocated while frames are drawn.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "canvas.h"
#include "pipeline/renderer.h"
#include "scene_frame.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

// Every allocation of this test program is counted (and freed with free,
// which GCC would flag where it sees both ends).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace qv::pipeline::test {
namespace {

constexpr unsigned kThreadCounts[] = {2, 3, 4};

std::vector<bench::WorldMatrices> SomeFrames() {
    const std::vector<bench::WorldMatrices> motion = bench::RecordMotion(77, 400);
    std::vector<bench::WorldMatrices> frames;
    for (std::size_t f = 0; f < motion.size(); f += 40) frames.push_back(motion[f]);
    return frames;
}

std::vector<std::vector<uint32_t>> DrawScene(unsigned threads, const std::vector<bench::WorldMatrices>& frames) {
    bench::SceneFrame scene;
    EXPECT_TRUE(scene.Init());
    scene.UseThreads(threads);
    std::vector<std::vector<uint32_t>> pictures;
    for (const auto& frame : frames) {
        scene.Draw(frame);
        pictures.push_back(scene.Pixels());
    }
    return pictures;
}

TEST(Threads, SceneFramesAreTheSameBytesWithAnyThreadCount) {
    const auto frames = SomeFrames();
    const auto alone = DrawScene(1, frames);
    for (unsigned threads : kThreadCounts) EXPECT_TRUE(DrawScene(threads, frames) == alone) << threads << " threads";
}

// Overlapping triangles in several draws of different colours, reaching past
// the canvas and across the near and far planes, in both windings; the
// threads are sent to rest now and then, as between frames.
void DrawRandom(Renderer& renderer, Canvas& canvas, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> x(-20, float(canvas.width) + 20), y(-20, float(canvas.height) + 20),
        z(-0.3f, 1.3f), channel(0, 1);
    for (int draw = 0; draw < 6; ++draw) {
        std::vector<Vertex> vertices;
        for (int i = 0; i < 3 * 3000; ++i) vertices.push_back(At(x(random), y(random), z(random)));
        DrawCall call = PixelGridCall(canvas, vertices, {channel(random), channel(random), channel(random), 1});
        call.states.zEnable = true;
        call.states.cullMode = draw % 2 ? CullMode::None : CullMode::Clockwise;
        renderer.DrawTriangleList(canvas.target(), call);
        if (draw % 3 == 2) renderer.Rest();  // as after a frame: the threads sleep until the next draw
    }
}

TEST(Threads, RandomTrianglesAreTheSameBytesWithAnyThreadCount) {
    Renderer alone;
    Canvas want(203, 117);
    DrawRandom(alone, want, 5);
    for (unsigned threads : kThreadCounts) {
        Renderer renderer;
        renderer.Start(threads);
        EXPECT_EQ(renderer.Threads(), threads);
        Canvas got(203, 117);
        DrawRandom(renderer, got, 5);
        EXPECT_TRUE(got.color == want.color && got.depth == want.depth) << threads << " threads";
    }
}

TEST(Threads, FramesAllocateNothing) {
    const auto frames = SomeFrames();
    bench::SceneFrame scene;
    ASSERT_TRUE(scene.Init());
    scene.UseThreads(2);
    scene.Draw(frames[0]);
    const long before = allocations.load();
    for (const auto& frame : frames) scene.Draw(frame);
    EXPECT_EQ(allocations.load(), before);
}

}  // namespace
}  // namespace qv::pipeline::test
