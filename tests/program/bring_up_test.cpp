// The bring-up chain: every step checked, the first failure reported once,
// nothing after it run, the window never shown, and a failure exit code.

#include "program_run.h"

#include "control/control.h"
#include "render/bring_up.h"
#include "render/render_objects.h"
#include "scene/torus_mesh.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct Step {
    const char* operation;
    unsigned nth;
};

void PrintTo(const Step& step, std::ostream* out) { *out << step.operation << ":" << step.nth; }

// Every call of the chain, in order, with its occurrence among calls of the
// same operation.
const Step kChain[] = {
    {"DirectDrawCreate", 1},
    {"IDirectDraw::QueryInterface", 1},
    {"IDirectDraw::SetCooperativeLevel", 1},
    {"IDirectDraw::SetDisplayMode", 1},
    {"IDirectDraw::CreateSurface", 1},
    {"IDirectDraw::CreateSurface", 2},
    {"IDirectDrawSurface::AddAttachedSurface", 1},
    {"IDirect3D2::CreateDevice", 1},
    {"IDirect3DDevice2::SetRenderState", 1},
    {"IDirect3DDevice2::SetRenderState", 2},
    {"IDirect3DDevice2::SetRenderState", 3},
    {"IDirect3D2::CreateViewport", 1},
    {"IDirect3DDevice2::AddViewport", 1},
    {"IDirect3DViewport2::SetViewport2", 1},
    {"IDirect3DDevice2::SetCurrentViewport", 1},
    {"IDirect3D2::CreateMaterial", 1},
    {"IDirect3D2::CreateLight", 1},
    {"IDirect3DLight::SetLight", 1},
    {"IDirect3DViewport2::AddLight", 1},
    {"IDirect3DDevice2::SetLightState", 1},
    {"IDirect3DDevice2::SetTransform", 1},
    {"IDirect3DDevice2::SetTransform", 2},
    {"IDirect3DDevice2::SetTransform", 3},
};

const char kFailureLine[] = "My Quorvane application: Direct3D init failed!\n";

// Lines of platform calls other than releases and the failure report.
bool IsWorkingCall(const std::string& line) {
    return line.find("::Release(") == std::string::npos && line.rfind("MessageBoxA(", 0) != 0;
}

void ExpectFailedStart(const ProgramRun& run) {
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.Lines("MessageBoxA(").size(), 1u);
    EXPECT_EQ(run.standardError, kFailureLine);
    EXPECT_TRUE(run.Lines("ShowWindow(").empty());
    EXPECT_TRUE(run.Lines("IDirect3DViewport2::Clear(").empty());
    EXPECT_EQ(run.framesPresented, 0u);
    EXPECT_EQ(directDraw, nullptr);
    EXPECT_EQ(torusVertices, nullptr);
}

class BringUpStep : public testing::TestWithParam<Step> {};

TEST_P(BringUpStep, FailureIsReportedOnceAndEndsTheChain) {
    const Step step = GetParam();
    const ProgramRun run = RunProgram({.configure = [&] { qv::control::InjectFault(step.operation, step.nth); }});
    ExpectFailedStart(run);

    // The failing call is the last working call of the run.
    int failed = -1;
    unsigned seen = 0;
    for (int i = 0; i < static_cast<int>(run.trace.size()); ++i)
        if (run.trace[i].rfind(std::string(step.operation) + "(", 0) == 0 && ++seen == step.nth) failed = i;
    ASSERT_GE(failed, 0) << step.operation << " was never called";
    EXPECT_NE(run.trace[failed].find("injected"), std::string::npos) << run.trace[failed];
    for (size_t i = failed + 1; i < run.trace.size(); ++i)
        EXPECT_FALSE(IsWorkingCall(run.trace[i])) << "after the failure: " << run.trace[i];
}

INSTANTIATE_TEST_SUITE_P(EveryCall, BringUpStep, testing::ValuesIn(kChain), [](const auto& info) {
    std::string name = info.param.operation;
    for (char& c : name)
        if (c == ':') c = '_';
    return name + "_" + std::to_string(info.param.nth);
});

TEST(BringUp, FailedMeshAllocationIsAFailedStep) {
    const ProgramRun run = RunProgram({.configure = [] { qv::control::InjectFault("operator new[]"); }});
    ExpectFailedStart(run);
    // Everything the platform was asked for succeeded before the allocation.
    EXPECT_EQ(run.Lines("IDirect3DDevice2::SetTransform(").size(), 3u);
}

TEST(BringUp, DisplayWithoutTheModeFailsAtSetDisplayMode) {
    const ProgramRun run = RunProgram({.configure = [] {
        qv::control::SetDisplayModes({{640, 480, 32}, {800, 600, 16}, {1024, 768, 32}});
    }});
    ExpectFailedStart(run);
    const int setMode = run.Find("IDirectDraw::SetDisplayMode(");
    ASSERT_GE(setMode, 0);
    for (size_t i = setMode + 1; i < run.trace.size(); ++i) EXPECT_FALSE(IsWorkingCall(run.trace[i])) << run.trace[i];
}

TEST(BringUp, SucceedsAndShowsTheWindowAfterwards) {
    const ProgramRun run = RunProgram({});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.standardError.empty()) << run.standardError;
    const int lastStep = run.Find("IDirect3DDevice2::SetTransform(device#1, D3DTRANSFORMSTATE_PROJECTION");
    const int shown = run.Find("ShowWindow(");
    ASSERT_GE(lastStep, 0);
    EXPECT_GT(shown, lastStep);
    EXPECT_GT(run.Find("UpdateWindow(", shown), shown);
}

TEST(Teardown, ReleaseAllOnNothingDoesNothing) {
    std::vector<std::string> trace;
    qv::control::Reset();
    qv::control::SetTraceSink([&](const std::string& line) { trace.push_back(line); });
    ReleaseAll();
    ReleaseAll();
    qv::control::Reset();
    EXPECT_TRUE(trace.empty());
    EXPECT_EQ(torusVertices, nullptr);
}

TEST(Teardown, ReleasesInOrderAndEmptiesEveryReference) {
    const ProgramRun run = RunProgram({.frameLimit = 1});
    ASSERT_EQ(run.exitCode, 0);
    const std::vector<std::string> releases = run.Lines("IDirect");
    std::vector<std::string> order;
    for (const std::string& line : releases)
        if (line.find("::Release(") != std::string::npos) order.push_back(line.substr(0, line.find("::")));
    const std::vector<std::string> expected = {"IDirect3D2",         "IDirectDrawSurface", "IDirectDrawSurface",
                                               "IDirect3DDevice2",   "IDirect3DViewport2", "IDirect3DMaterial2",
                                               "IDirect3DLight",     "IDirectDraw"};
    ASSERT_GE(order.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(order.end() - expected.size(), order.end()), expected);

    for (const void* reference : {static_cast<const void*>(directDraw), static_cast<const void*>(zBuffer),
                                  static_cast<const void*>(primarySurface), static_cast<const void*>(direct3D),
                                  static_cast<const void*>(device), static_cast<const void*>(viewport),
                                  static_cast<const void*>(material), static_cast<const void*>(light),
                                  static_cast<const void*>(torusVertices)})
        EXPECT_EQ(reference, nullptr);

    // A second teardown finds nothing to release.
    std::vector<std::string> again;
    qv::control::SetTraceSink([&](const std::string& line) { again.push_back(line); });
    ReleaseAll();
    qv::control::Reset();
    EXPECT_TRUE(again.empty());
}

}  // namespace
