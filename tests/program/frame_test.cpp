// One frame's calls and their order, and frames skipped when the clear or
// the scene start fails.

#include "program_run.h"

#include "control/control.h"
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

bool StartsWith(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }

// The device, viewport, material and surface calls of the frames, without
// the window layer's and the bring-up's.
std::vector<std::string> FrameCalls(const ProgramRun& run) {
    std::vector<std::string> calls;
    bool running = false;
    for (const std::string& line : run.trace) {
        if (StartsWith(line, "ShowWindow(")) running = true;
        if (StartsWith(line, "DispatchMessageA(")) running = running && line.find("WM_CLOSE") == std::string::npos;
        if (running && StartsWith(line, "IDirect") && line.find("::Release(") == std::string::npos)
            calls.push_back(line.substr(0, line.find('(')));
    }
    return calls;
}

std::vector<std::string> OneFrame() {
    std::vector<std::string> frame = {"IDirect3DViewport2::Clear", "IDirect3DDevice2::BeginScene"};
    for (int k = 0; k < 4; ++k)
        for (const char* call : {"IDirect3DDevice2::SetTransform", "IDirect3DMaterial2::SetMaterial",
                                 "IDirect3DMaterial2::GetHandle", "IDirect3DDevice2::SetLightState",
                                 "IDirect3DDevice2::DrawPrimitive"})
            frame.push_back(call);
    frame.push_back("IDirect3DDevice2::EndScene");
    frame.push_back("IDirectDrawSurface::Flip");
    return frame;
}

TEST(Frame, EachFrameDrawsTheFourToriInObjectOrder) {
    const ProgramRun run = RunProgram({.frameLimit = 3});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.framesPresented, 3u);

    std::vector<std::string> expected;
    for (int f = 0; f < 3; ++f)
        for (const std::string& call : OneFrame()) expected.push_back(call);
    EXPECT_EQ(FrameCalls(run), expected);

    const std::vector<std::string> draws = run.Lines("IDirect3DDevice2::DrawPrimitive(");
    ASSERT_EQ(draws.size(), 12u);
    for (const std::string& draw : draws) {
        EXPECT_NE(draw.find("D3DPT_TRIANGLELIST, D3DVT_VERTEX"), std::string::npos) << draw;
        EXPECT_NE(draw.find(", 6144, 0)"), std::string::npos) << draw;
    }
    for (const std::string& clear : run.Lines("IDirect3DViewport2::Clear("))
        EXPECT_NE(clear.find("D3DCLEAR_TARGET|D3DCLEAR_ZBUFFER"), std::string::npos) << clear;
    for (const std::string& flip : run.Lines("IDirectDrawSurface::Flip("))
        EXPECT_NE(flip.find("DDFLIP_WAIT"), std::string::npos) << flip;
}

TEST(Frame, EachTorusIsDrawnWithItsOwnMaterial) {
    const ProgramRun run = RunProgram({.frameLimit = 1});
    ASSERT_EQ(run.exitCode, 0);
    const std::vector<std::string> materials = run.Lines("IDirect3DMaterial2::SetMaterial(");
    ASSERT_EQ(materials.size(), 4u);
    // The diffuse colours of the four materials, in object order.
    const char* diffuse[] = {"0.9, 1, 0", "1, 0, 0", "1, 0.9, 1", "0, 0, 1"};
    for (int k = 0; k < 4; ++k) EXPECT_NE(materials[k].find(diffuse[k]), std::string::npos) << materials[k];
}

// Runs three drawn frames with the given fault and returns the final state.
std::vector<SceneObject> FinalObjects(const char* fault, unsigned nth) {
    const ProgramRun run = RunProgram({.seed = 77, .frameLimit = 3, .configure = [&] {
                                           if (fault) qv::control::InjectFault(fault, nth);
                                       }});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.framesPresented, 3u);
    if (fault) {
        // The failed call is followed by the next frame's clear, nothing else.
        int failed = -1;
        for (int i = 0; i < static_cast<int>(run.trace.size()) && failed < 0; ++i)
            if (StartsWith(run.trace[i], fault) && run.trace[i].find("injected") != std::string::npos) failed = i;
        EXPECT_GE(failed, 0);
        int next = failed + 1;
        while (next < static_cast<int>(run.trace.size()) && !StartsWith(run.trace[next], "IDirect")) ++next;
        EXPECT_TRUE(next < static_cast<int>(run.trace.size()) &&
                    StartsWith(run.trace[next], "IDirect3DViewport2::Clear("));
    }
    return {objectTable, objectTable + 4};
}

bool SameObjects(const std::vector<SceneObject>& a, const std::vector<SceneObject>& b) {
    return std::memcmp(a.data(), b.data(), sizeof(SceneObject) * 4) == 0;
}

TEST(Frame, FailedClearOrSceneStartSkipsTheFrameWithoutMoving) {
    const std::vector<SceneObject> normal = FinalObjects(nullptr, 0);
    EXPECT_TRUE(SameObjects(FinalObjects("IDirect3DViewport2::Clear", 2), normal));
    EXPECT_TRUE(SameObjects(FinalObjects("IDirect3DDevice2::BeginScene", 1), normal));
}

TEST(Frame, FailuresInsideTheSceneAreIgnored) {
    const ProgramRun run = RunProgram({.frameLimit = 2, .configure = [] {
                                           qv::control::InjectFault("IDirect3DDevice2::SetTransform", 4);
                                           qv::control::InjectFault("IDirect3DMaterial2::SetMaterial", 2);
                                           qv::control::InjectFault("IDirect3DDevice2::DrawPrimitive", 3);
                                           qv::control::InjectFault("IDirect3DDevice2::EndScene", 1);
                                       }});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.framesPresented, 2u);
    EXPECT_EQ(run.Lines("IDirect3DDevice2::DrawPrimitive(").size(), 8u);
    EXPECT_EQ(run.Lines("IDirectDrawSurface::Flip(").size(), 2u);
}

}  // namespace
