// Every instruction set draws the same bytes as the plain C++ path, the
// reference: the program's frames, and random draws that reach every path
// (small, large and sliver triangles, lit colours, every depth test, flat
// shading, culling, targets narrower than a group of either width or missing
// a plane).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <random>

#include "canvas.h"
#include "pipeline/instruction_set.h"
#include "scene_frame.h"

namespace qv::pipeline::test {
namespace {

using Picture = std::vector<uint32_t>;  // colour then depth of each frame

Picture ProgramFrames() {
    bench::SceneFrame scene;
    EXPECT_TRUE(scene.Init());
    Picture out;
    const auto motion = bench::RecordMotion(31, 240);
    for (std::size_t f = 0; f < motion.size(); f += 60) {
        scene.Draw(motion[f]);
        out.insert(out.end(), scene.Pixels().begin(), scene.Pixels().end());
    }
    return out;
}

// Draws of 600 triangles and more (their vertex counts leave every remainder
// of a group) around random centres, each draw with other states; size is the
// triangles' extent in pixels, sliver flattens every third one, and grid puts
// the corners on whole and half pixels, so that edges run through pixel
// centres and the fill rule decides.
Picture RandomDraws(uint32_t width, uint32_t height, float size, bool sliver, bool grid = false) {
    std::mt19937 random(width * 7919 + height);
    std::uniform_real_distribution<float> unit(0, 1);
    Canvas canvas(width, height);
    for (int draw = 0; draw < 16; ++draw) {
        std::vector<Vertex> vertices;
        for (int i = 0; i < 600 + draw; ++i) {
            const float cx = unit(random) * (width + 20) - 10, cy = unit(random) * (height + 20) - 10;
            Vertex corners[3];
            for (Vertex& v : corners) {
                float px = cx + (unit(random) - 0.5f) * size, py = cy + (unit(random) - 0.5f) * size;
                if (grid) px = std::round(px * 2) / 2, py = std::round(py * 2) / 2;
                v = At(px, py, unit(random) * 1.4f - 0.2f);
                v.nx = unit(random) - 0.5f;
                v.ny = unit(random) - 0.5f;
            }
            if (sliver && i % 3 == 0) {
                corners[2].x = (corners[0].x + corners[1].x) / 2 + 0.01f;
                corners[2].y = (corners[0].y + corners[1].y) / 2;
            }
            vertices.insert(vertices.end(), corners, corners + 3);
        }
        DrawCall call = PixelGridCall(canvas, vertices, {unit(random) * 0.3f, unit(random) * 0.3f, 0, 1});
        call.material.diffuse = {unit(random), unit(random), unit(random), 1};
        const Light light{LightType::Point, {1, 1, 1, 1}, {width / 2.0f, height / 2.0f, -30}, {}, std::sqrt(FLT_MAX)};
        call.lights = &light;
        call.lightCount = 1;
        call.states = {draw % 5 != 4, draw % 4 != 1, static_cast<Compare>(1 + draw % 8),
                       draw % 6 == 5 ? ShadeMode::Flat : ShadeMode::Gouraud, static_cast<CullMode>(1 + draw % 3)};
        Target target = canvas.target();
        if (draw == 7) target.color = nullptr;
        if (draw == 11) target.depth = nullptr;
        DrawTriangleList(target, call);
    }
    canvas.color.insert(canvas.color.end(), canvas.depth.begin(), canvas.depth.end());
    return canvas.color;
}

struct Scene {
    const char* name;
    std::function<Picture()> draw;
};

const Scene kScenes[] = {
    {"program frames", ProgramFrames},
    {"small triangles", [] { return RandomDraws(203, 117, 12, false); }},
    {"small triangles on the pixel grid", [] { return RandomDraws(203, 117, 12, false, true); }},
    {"large triangles", [] { return RandomDraws(160, 120, 300, false); }},
    {"slivers", [] { return RandomDraws(97, 61, 30, true); }},
    {"narrower than a group", [] { return RandomDraws(3, 40, 8, false); }},
    {"a group's width plus one", [] { return RandomDraws(5, 40, 8, false); }},
    {"narrower than a wide group", [] { return RandomDraws(7, 40, 8, false); }},
    {"a wide group's width plus one", [] { return RandomDraws(9, 40, 8, false); }},
    {"two wide groups' width plus one", [] { return RandomDraws(17, 40, 14, false); }},
};

class InstructionSets : public ::testing::Test {
protected:
    void TearDown() override { UseInstructionSet(kBest); }
    const InstructionSet kBest = CurrentInstructionSet();
};

TEST_F(InstructionSets, DrawTheSameBytesAsThePlainPath) {
    ASSERT_TRUE(UseInstructionSet(InstructionSet::Plain));
    EXPECT_EQ(CurrentInstructionSet(), InstructionSet::Plain);
    std::vector<Picture> reference;
    for (const Scene& scene : kScenes) reference.push_back(scene.draw());
    for (InstructionSet set : {InstructionSet::Sse2, InstructionSet::Avx2, InstructionSet::Avx512}) {
        if (!UseInstructionSet(set)) {
            EXPECT_FALSE(Supports(set));
            continue;
        }
        for (std::size_t s = 0; s < std::size(kScenes); ++s) {
            EXPECT_TRUE(kScenes[s].draw() == reference[s]) << kScenes[s].name << ", set " << int(set);
        }
    }
}

}  // namespace
}  // namespace qv::pipeline::test
