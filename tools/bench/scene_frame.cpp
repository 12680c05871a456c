#include "scene_frame.h"

#include <cstring>

#include "ddraw/pipeline_values.h"
#include "render/bring_up_values.h"
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

// The render states the pipeline reads, as the device sets them.
void SetRenderState(pipeline::RenderStates& states, const RenderStateSetting& setting) {
    switch (setting.state) {
        case D3DRENDERSTATE_ZENABLE: states.zEnable = setting.value; break;
        case D3DRENDERSTATE_ZWRITEENABLE: states.zWriteEnable = setting.value; break;
        case D3DRENDERSTATE_ZFUNC: states.zFunc = pipeline::Compare(setting.value); break;
        case D3DRENDERSTATE_SHADEMODE: states.shadeMode = pipeline::ShadeMode(setting.value); break;
        case D3DRENDERSTATE_CULLMODE: states.cullMode = pipeline::CullMode(setting.value); break;
        default: break;
    }
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
    // Both planes hold their clear values: nothing drawn yet.
    colorDrawn_ = depthDrawn_ = pipeline::DrawnArea::Nothing();
    target_ = {color_.data(), kWidth, depth_.data(), kWidth, kWidth, kHeight, &colorDrawn_, &depthDrawn_};

    light_ = ddraw::LightOf(WhiteLight());
    static_assert(sizeof(pipeline::Vertex) == sizeof(D3DVERTEX), "the D3DVERTEX layout");
    call_.vertices = reinterpret_cast<const pipeline::Vertex*>(torusVertices);
    call_.vertexCount = kVertexCount;
    call_.view = ToMatrix(ViewMatrix());
    call_.projection = ToMatrix(ProjectionMatrix());
    call_.lights = &light_;
    call_.lightCount = 1;
    call_.ambient = ddraw::ColorOf(D3DCOLOR{kAmbientLight});
    for (const RenderStateSetting& setting : kRenderStateSettings) SetRenderState(call_.states, setting);
    call_.viewport = ddraw::ViewportOf(ScreenViewport());
    call_.viewport.clipX += 2 * sampleShift / kWidth;
    call_.viewport.clipY -= 2 * sampleShift / kHeight;
    return true;
}

void SceneFrame::Draw(const WorldMatrices& world) {
    const pipeline::Rect screen{0, 0, int32_t{kWidth}, int32_t{kHeight}};
    renderer_.Clear(target_, call_.viewport, &screen, 1, true, true);
    for (int k = 0; k < kObjectCount; ++k) {
        call_.world = ToMatrix(world[k]);
        call_.material = ddraw::MaterialOf(materialTable[k]);
        renderer_.DrawTriangleList(target_, call_);
    }
    renderer_.Rest();  // the frame's drawing is done, as at the device's EndScene
}

}  // namespace qv::bench
