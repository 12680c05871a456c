// The control settings: display modes, injected faults and the environment.

#include "control/control.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qv::control {
namespace {

class ControlSettings : public testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override {
        for (const char* name : {"QUORVANE_MODES", "QUORVANE_FAIL", "QUORVANE_TRACE", "QUORVANE_FRAMES", "QUORVANE_CLOCK",
                                 "QUORVANE_THREADS"})
            unsetenv(name);
        Reset();
    }
};

bool Offers(uint32_t width, uint32_t height, uint32_t bits) {
    for (const DisplayMode& mode : DisplayModes()) {
        if (mode.width == width && mode.height == height && mode.bitsPerPixel == bits) return true;
    }
    return false;
}

TEST_F(ControlSettings, DefaultModesIncludeTheProgramsMode) {
    EXPECT_TRUE(Offers(800, 600, 32));
    SetDisplayModes({{640, 480, 16}});
    EXPECT_FALSE(Offers(800, 600, 32));
    Reset();
    EXPECT_TRUE(Offers(800, 600, 32));
}

TEST_F(ControlSettings, ParsesModeLists) {
    std::string error;
    auto modes = ParseDisplayModes("800x600x16,1024x768x32", error);
    ASSERT_TRUE(modes);
    ASSERT_EQ(modes->size(), 2u);
    EXPECT_EQ((*modes)[0].width, 800u);
    EXPECT_EQ((*modes)[0].height, 600u);
    EXPECT_EQ((*modes)[0].bitsPerPixel, 16u);
    EXPECT_EQ((*modes)[1].width, 1024u);
    EXPECT_EQ((*modes)[1].bitsPerPixel, 32u);
}

TEST_F(ControlSettings, RefusesMalformedModes) {
    for (const char* text : {"", "800x600", "800x600x32,", "800x600x31", "0x600x32", "800x600x32x1", "axbxc",
                             "99999x600x32", "800X600X32", "-800x600x32", "800x600x4294967328"}) {
        std::string error;
        EXPECT_FALSE(ParseDisplayModes(text, error)) << text;
        EXPECT_NE(error.find("bad display mode"), std::string::npos) << text;
    }
}

TEST_F(ControlSettings, FaultFiresOnTheNthCallOnly) {
    InjectFault("IDirectDraw::SetDisplayMode", 3, E_INVALIDARG);
    EXPECT_EQ(TakeFault("IDirectDraw::SetDisplayMode", E_FAIL), S_OK);
    EXPECT_EQ(TakeFault("IDirectDraw::CreateSurface", E_FAIL), S_OK);
    EXPECT_EQ(TakeFault("IDirectDraw::SetDisplayMode", E_FAIL), S_OK);
    EXPECT_EQ(TakeFault("IDirectDraw::SetDisplayMode", E_FAIL), E_INVALIDARG);
    EXPECT_EQ(TakeFault("IDirectDraw::SetDisplayMode", E_FAIL), S_OK);
}

TEST_F(ControlSettings, FaultWithoutCodeUsesTheOperationsDefault) {
    InjectFault("CreateWindowExA");
    EXPECT_EQ(TakeFault("CreateWindowExA", E_OUTOFMEMORY), E_OUTOFMEMORY);
    InjectFault("RegisterClassExA");
    EXPECT_NE(TakeFault("RegisterClassExA", S_OK), S_OK) << "a fault never reads as success";
}

TEST_F(ControlSettings, FaultsCountFromTheirInjection) {
    TakeFault("DirectDrawCreate", E_FAIL);
    TakeFault("DirectDrawCreate", E_FAIL);
    InjectFault("DirectDrawCreate", 1);
    EXPECT_NE(TakeFault("DirectDrawCreate", E_FAIL), S_OK);
}

TEST_F(ControlSettings, SeveralFaultsAtOnce) {
    InjectFault("A", 2);
    InjectFault("B", 1);
    InjectFault("A", 3);
    EXPECT_EQ(TakeFault("A", E_FAIL), S_OK);
    EXPECT_EQ(TakeFault("B", E_FAIL), E_FAIL);
    EXPECT_EQ(TakeFault("A", E_FAIL), E_FAIL);
    EXPECT_EQ(TakeFault("A", E_FAIL), E_FAIL);
    EXPECT_EQ(TakeFault("A", E_FAIL), S_OK);
    EXPECT_EQ(TakeFault("B", E_FAIL), S_OK);
}

TEST_F(ControlSettings, ResetAndClearForgetFaults) {
    InjectFault("A");
    Reset();
    EXPECT_EQ(TakeFault("A", E_FAIL), S_OK);
    InjectFault("A");
    ClearFaults();
    EXPECT_EQ(TakeFault("A", E_FAIL), S_OK);
}

TEST_F(ControlSettings, ParsesFaultsWithScopedNames) {
    std::string error;
    ASSERT_TRUE(ParseFault("IDirect3DDevice2::BeginScene:2", error)) << error;
    EXPECT_EQ(TakeFault("IDirect3DDevice2::BeginScene", E_FAIL), S_OK);
    EXPECT_EQ(TakeFault("IDirect3DDevice2::BeginScene", E_FAIL), E_FAIL);

    ASSERT_TRUE(ParseFault("IDirectDrawSurface::Flip", error)) << error;
    EXPECT_EQ(TakeFault("IDirectDrawSurface::Flip", E_FAIL), E_FAIL);

    ASSERT_TRUE(ParseFault("operator new[]", error)) << error;
    EXPECT_EQ(TakeFault("operator new[]", E_OUTOFMEMORY), E_OUTOFMEMORY);
}

TEST_F(ControlSettings, RefusesMalformedFaults) {
    for (const char* text : {"", ":3", "A:", "A:0", "A:x", "A:-1", "A:99999999999"}) {
        std::string error;
        EXPECT_FALSE(ParseFault(text, error)) << text;
        EXPECT_NE(error.find("bad fault"), std::string::npos) << text;
    }
}

TEST_F(ControlSettings, FaultListIsAllOrNothing) {
    std::string error;
    EXPECT_FALSE(ParseFaults("A;B:0", error));
    EXPECT_EQ(TakeFault("A", E_FAIL), S_OK);
    ASSERT_TRUE(ParseFaults("A;B:2", error)) << error;
    EXPECT_EQ(TakeFault("A", E_FAIL), E_FAIL);
    EXPECT_EQ(TakeFault("B", E_FAIL), S_OK);
    EXPECT_EQ(TakeFault("B", E_FAIL), E_FAIL);
}

TEST_F(ControlSettings, EnvironmentSetsEverything) {
    setenv("QUORVANE_MODES", "640x480x16", 1);
    setenv("QUORVANE_FAIL", "IDirectDraw::SetDisplayMode;CreateWindowExA:2", 1);
    setenv("QUORVANE_FRAMES", "5", 1);
    setenv("QUORVANE_CLOCK", "1234567", 1);
    setenv("QUORVANE_THREADS", "3", 1);
    std::string error;
    ASSERT_TRUE(ApplyEnvironment(error)) << error;
    EXPECT_EQ(DrawThreads(), 3u);
    EXPECT_TRUE(Offers(640, 480, 16));
    EXPECT_FALSE(Offers(800, 600, 32));
    EXPECT_EQ(FrameLimit(), 5u);
    ASSERT_TRUE(Clock());
    EXPECT_EQ(*Clock(), 1234567);
    EXPECT_EQ(time(nullptr), 1234567) << "the program's clock";
    EXPECT_NE(TakeFault("IDirectDraw::SetDisplayMode", E_FAIL), S_OK);
    EXPECT_EQ(TakeFault("CreateWindowExA", E_FAIL), S_OK);
    EXPECT_NE(TakeFault("CreateWindowExA", E_FAIL), S_OK);
}

TEST_F(ControlSettings, EnvironmentWithABadValueChangesNothing) {
    struct Case {
        const char* name;
        const char* value;
    };
    for (Case bad : {Case{"QUORVANE_MODES", "800x600"}, Case{"QUORVANE_FRAMES", "ten"},
                     Case{"QUORVANE_FRAMES", "-1"}, Case{"QUORVANE_CLOCK", "noon"}, Case{"QUORVANE_FAIL", "A;"},
                     Case{"QUORVANE_TRACE", "/nonexistent-dir/trace.txt"}, Case{"QUORVANE_THREADS", "0"},
                     Case{"QUORVANE_THREADS", "65"}, Case{"QUORVANE_THREADS", "two"}}) {
        Reset();
        setenv("QUORVANE_FRAMES", "7", 1);
        setenv("QUORVANE_FAIL", "A", 1);
        setenv(bad.name, bad.value, 1);
        std::string error;
        EXPECT_FALSE(ApplyEnvironment(error)) << bad.name << "=" << bad.value;
        EXPECT_EQ(error.rfind(bad.name, 0), 0u) << error;
        EXPECT_EQ(FrameLimit(), 0u) << bad.name;
        EXPECT_FALSE(Tracing()) << bad.name;
        EXPECT_EQ(TakeFault("A", E_FAIL), S_OK) << bad.name;
        unsetenv(bad.name);
        unsetenv("QUORVANE_FRAMES");
        unsetenv("QUORVANE_FAIL");
    }
}

TEST_F(ControlSettings, EmptyEnvironmentValuesAreUnset) {
    setenv("QUORVANE_MODES", "", 1);
    setenv("QUORVANE_FRAMES", "", 1);
    std::string error;
    EXPECT_TRUE(ApplyEnvironment(error)) << error;
    EXPECT_TRUE(Offers(800, 600, 32));
    EXPECT_EQ(FrameLimit(), 0u);
}

}  // namespace
}  // namespace qv::control
