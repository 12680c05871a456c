#include "scene_frame.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#include "scene/motion.h"
#include "scene/random.h"
#include "scene/scene.h"
#include "scene/torus_mesh.h"

namespace qv::bench {
namespace {

pipeline::Matrix ToMatrix(const D3DMATRIX& m) {
    static_assert(sizeof(pipeline::Matrix) == sizeof(D3DMATRIX), "both are 16 floats, row by row");
    pipeline::Matrix out;
    std::memcpy(&out, &m, sizeof out);
    return out;
}

pipeline::Color ToColor(const D3DCOLORVALUE& c) { return {c.r, c.g, c.b, c.a}; }

pipeline::Material ToMaterial(const D3DMATERIAL& m) {
    return {ToColor(m.diffuse), ToColor(m.ambient), ToColor(m.specular), ToColor(m.emissive), m.power};
}

}  // namespace

void StartMotion(uint32_t seed) {
    SeedRandom(seed);
    InitScene();
}

WorldMatrices NextMotionFrame() {
    WorldMatrices frame;
    for (int k = 0; k < kObjectCount; ++k) {
        frame[k] = MakeWorldMatrix(objectTable[k]);
        MoveObject(objectTable[k]);
    }
    return frame;
}

std::vector<WorldMatrices> RecordMotion(uint32_t seed, std::size_t count) {
    StartMotion(seed);
    std::vector<WorldMatrices> frames(count);
    for (WorldMatrices& frame : frames) frame = NextMotionFrame();
    return frames;
}

bool SceneFrame::Init(float sampleShift) {
    if (!BuildTorusMesh()) return false;
    color_.assign(std::size_t{kWidth} * kHeight, 0);
    depth_.assign(std::size_t{kWidth} * kHeight, 0xFFFFFFFFu);
    target_ = {color_.data(), kWidth, depth_.data(), kWidth, kWidth, kHeight};

    // The white point light, unattenuated, with the largest range.
    light_.type = pipeline::LightType::Point;
    light_.color = {1, 1, 1, 0};
    light_.position = {4, 4, -4};
    light_.range = std::sqrt(FLT_MAX);

    static_assert(sizeof(pipeline::Vertex) == sizeof(D3DVERTEX), "the D3DVERTEX layout");
    call_.vertices = reinterpret_cast<const pipeline::Vertex*>(torusVertices);
    call_.vertexCount = kVertexCount;
    call_.view = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 10, 1}}};
    call_.projection = {{{2, 0, 0, 0}, {0, 2.6666667f, 0, 0}, {0, 0, 1, 1}, {0, 0, -1, 0}}};
    call_.lights = &light_;
    call_.lightCount = 1;
    call_.ambient = {1, 1, 1, 1};
    call_.states.zEnable = true;
    call_.states.zFunc = pipeline::Compare::LessEqual;
    call_.states.shadeMode = pipeline::ShadeMode::Gouraud;
    call_.viewport = {0, 0, kWidth, kHeight, -1 + 2 * sampleShift / kWidth, 1 - 2 * sampleShift / kHeight, 2, 2, 0, 1};
    return true;
}

void SceneFrame::Draw(const WorldMatrices& world) {
    const pipeline::Rect screen{0, 0, int32_t{kWidth}, int32_t{kHeight}};
    pipeline::Clear(target_, call_.viewport, &screen, 1, true, true);
    for (int k = 0; k < kObjectCount; ++k) {
        call_.world = ToMatrix(world[k]);
        call_.material = ToMaterial(materialTable[k]);
        pipeline::DrawTriangleList(target_, call_);
    }
}

}  // namespace qv::bench
