// The control settings: display modes, injected faults and the environment.

#include "control/control.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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
    EXPECT_EQ(TakeFault("IDirectDraw::SetDisplayMode"), S_OK);
    EXPECT_EQ(TakeFault("IDirectDraw::CreateSurface"), S_OK);
    EXPECT_EQ(TakeFault("IDirectDraw::SetDisplayMode"), S_OK);
    EXPECT_EQ(TakeFault("IDirectDraw::SetDisplayMode"), E_INVALIDARG);
    EXPECT_EQ(TakeFault("IDirectDraw::SetDisplayMode"), S_OK);
}

TEST_F(ControlSettings, FaultWithoutCodeUsesTheOperationsDefault) {
    InjectFault("IDirect3DViewport2::Clear");
    EXPECT_EQ(TakeFault("IDirect3DViewport2::Clear"), DDERR_SURFACELOST);
    InjectFault("RegisterClassExA");
    EXPECT_NE(TakeFault("RegisterClassExA"), S_OK) << "a fault never reads as success";
}

TEST_F(ControlSettings, FaultsCountFromTheirInjection) {
    TakeFault("DirectDrawCreate");
    TakeFault("DirectDrawCreate");
    InjectFault("DirectDrawCreate", 1);
    EXPECT_NE(TakeFault("DirectDrawCreate"), S_OK);
}

TEST_F(ControlSettings, SeveralFaultsAtOnce) {
    InjectFault("IDirectDraw::SetDisplayMode", 2);
    InjectFault("CreateWindowExA", 1);
    InjectFault("IDirectDraw::SetDisplayMode", 3);
    EXPECT_EQ(TakeFault("IDirectDraw::SetDisplayMode"), S_OK);
    EXPECT_EQ(TakeFault("CreateWindowExA"), E_FAIL);
    EXPECT_EQ(TakeFault("IDirectDraw::SetDisplayMode"), DDERR_UNSUPPORTEDMODE);
    EXPECT_EQ(TakeFault("IDirectDraw::SetDisplayMode"), DDERR_UNSUPPORTEDMODE);
    EXPECT_EQ(TakeFault("IDirectDraw::SetDisplayMode"), S_OK);
    EXPECT_EQ(TakeFault("CreateWindowExA"), S_OK);
}

TEST_F(ControlSettings, ResetAndClearForgetFaults) {
    InjectFault("DirectDrawCreate");
    Reset();
    EXPECT_EQ(TakeFault("DirectDrawCreate"), S_OK);
    InjectFault("DirectDrawCreate");
    ClearFaults();
    EXPECT_EQ(TakeFault("DirectDrawCreate"), S_OK);
}

TEST_F(ControlSettings, ParsesFaultsWithScopedNames) {
    std::string error;
    ASSERT_TRUE(ParseFault("IDirect3DDevice2::BeginScene:2", error)) << error;
    EXPECT_EQ(TakeFault("IDirect3DDevice2::BeginScene"), S_OK);
    EXPECT_EQ(TakeFault("IDirect3DDevice2::BeginScene"), D3DERR_SCENE_BEGIN_FAILED);

    ASSERT_TRUE(ParseFault("IDirectDrawSurface::Flip", error)) << error;
    EXPECT_EQ(TakeFault("IDirectDrawSurface::Flip"), DDERR_SURFACELOST);

    ASSERT_TRUE(ParseFault("operator new[]", error)) << error;
    EXPECT_NE(TakeFault("operator new[]"), S_OK);
}

TEST_F(ControlSettings, RefusesFaultsThatWouldDoNothing) {
    struct Case {
        const char* text;
        const char* says;  // part of the error
    };
    for (Case bad : {Case{"", "no operation named"}, Case{":3", "no operation named"},
                     Case{"CreateWindowExA:", "positive number"}, Case{"CreateWindowExA:0", "positive number"},
                     Case{"CreateWindowExA:x", "positive number"}, Case{"CreateWindowExA:-1", "positive number"},
                     Case{"CreateWindowExA:99999999999", "positive number"},
                     Case{"Clear:1", "did you mean IDirect3DViewport2::Clear?"},
                     Case{"idirect3dviewport2::clear:1", "did you mean IDirect3DViewport2::Clear?"},
                     Case{"IDirectDraw::SetDisplayMod", "did you mean IDirectDraw::SetDisplayMode?"},
                     Case{"garbage", "is no operation of the platform (quorvane-capture --fail list"},
                     Case{"IsWindow", "'IsWindow' cannot fail"}, Case{"IDirectDraw::AddRef", "cannot fail"}}) {
        std::string error;
        EXPECT_FALSE(ParseFault(bad.text, error)) << bad.text;
        EXPECT_EQ(error.rfind("bad fault '" + std::string(bad.text) + "': ", 0), 0u) << error;
        EXPECT_NE(error.find(bad.says), std::string::npos) << error;
        EXPECT_FALSE(InjectFault(bad.text)) << bad.text;
    }
}

TEST_F(ControlSettings, FaultsOnlyForTheOperationsCarried) {
    CarryOnly([](std::string_view operation) { return operation == "DirectDrawCreate"; });
    std::string error;
    EXPECT_FALSE(ParseFault("CreateWindowExA", error));
    EXPECT_NE(error.find("does not pass through this build's stand-in"), std::string::npos) << error;
    EXPECT_TRUE(ParseFault("DirectDrawCreate", error)) << error;
    Reset();
    EXPECT_TRUE(ParseFault("CreateWindowExA", error)) << "every operation is carried again";
}

TEST_F(ControlSettings, FaultListNamesEveryFallibleOperationWithItsDefault) {
    const std::string list = FaultList();
    for (const char* line : {"DirectDrawCreate DDERR_NODIRECTDRAWHW\n", "IDirect3DDevice2::EndScene D3DERR_SCENE_END_FAILED\n",
                             "CreateWindowExA NULL\n", "GetMessageA -1\n", "operator new[] NULL\n"})
        EXPECT_NE(list.find(line), std::string::npos) << line;
    EXPECT_EQ(list.find("IsWindow"), std::string::npos);
}

TEST_F(ControlSettings, FaultListIsAllOrNothing) {
    std::string error;
    EXPECT_FALSE(ParseFaults("DirectDrawCreate;CreateWindowExA:0", error));
    EXPECT_EQ(TakeFault("DirectDrawCreate"), S_OK);
    ASSERT_TRUE(ParseFaults("DirectDrawCreate;CreateWindowExA:2", error)) << error;
    EXPECT_EQ(TakeFault("DirectDrawCreate"), DDERR_NODIRECTDRAWHW);
    EXPECT_EQ(TakeFault("CreateWindowExA"), S_OK);
    EXPECT_EQ(TakeFault("CreateWindowExA"), E_FAIL);
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
    EXPECT_NE(TakeFault("IDirectDraw::SetDisplayMode"), S_OK);
    EXPECT_EQ(TakeFault("CreateWindowExA"), S_OK);
    EXPECT_NE(TakeFault("CreateWindowExA"), S_OK);
}

TEST_F(ControlSettings, EnvironmentWithABadValueChangesNothing) {
    struct Case {
        const char* name;
        const char* value;
    };
    const std::string kept = testing::TempDir() + "quorvane-kept-trace.txt";
    for (Case bad : {Case{"QUORVANE_MODES", "800x600"}, Case{"QUORVANE_FRAMES", "ten"},
                     Case{"QUORVANE_FRAMES", "-1"}, Case{"QUORVANE_CLOCK", "noon"}, Case{"QUORVANE_FAIL", "DirectDrawCreate;"},
                     Case{"QUORVANE_FAIL", "garbage"}, Case{"QUORVANE_TRACE", "/nonexistent-dir/trace.txt"},
                     Case{"QUORVANE_THREADS", "0"}, Case{"QUORVANE_THREADS", "65"}, Case{"QUORVANE_THREADS", "two"},
                     Case{"QUORVANE_CAPTURE", "/nonexistent-dir/frame.ppm"}}) {
        Reset();
        std::FILE* file = std::fopen(kept.c_str(), "w");
        ASSERT_TRUE(file);
        std::fputs("kept\n", file);
        std::fclose(file);
        setenv("QUORVANE_FRAMES", "7", 1);
        setenv("QUORVANE_FAIL", "DirectDrawCreate", 1);
        setenv("QUORVANE_TRACE", kept.c_str(), 1);
        setenv(bad.name, bad.value, 1);
        std::string error;
        EXPECT_FALSE(ApplyEnvironment(error)) << bad.name << "=" << bad.value;
        EXPECT_EQ(error.rfind(bad.name, 0), 0u) << error;
        EXPECT_EQ(FrameLimit(), 0u) << bad.name;
        EXPECT_FALSE(Tracing()) << bad.name;
        EXPECT_EQ(TakeFault("DirectDrawCreate"), S_OK) << bad.name;
        char line[8] = {};
        file = std::fopen(kept.c_str(), "r");
        ASSERT_TRUE(file);
        EXPECT_TRUE(std::fgets(line, sizeof line, file) && std::string(line) == "kept\n") << "the trace file is kept";
        std::fclose(file);
        for (const char* name : {bad.name, "QUORVANE_FRAMES", "QUORVANE_FAIL", "QUORVANE_TRACE"}) unsetenv(name);
    }
    std::remove(kept.c_str());
}

TEST_F(ControlSettings, CaptureNeedsAFrameLimitAndKeepsTheFrameThatReachesIt) {
    const std::string path = testing::TempDir() + "quorvane-capture.ppm";
    setenv("QUORVANE_CAPTURE", path.c_str(), 1);
    std::string error;
    EXPECT_FALSE(ApplyEnvironment(error)) << "no frame limit";
    EXPECT_EQ(error.rfind("QUORVANE_CAPTURE", 0), 0u) << error;
    setenv("QUORVANE_FRAMES", "2", 1);
    ASSERT_TRUE(ApplyEnvironment(error)) << error;
    EXPECT_FALSE(EndCapture(error)) << "nothing was captured";
    ASSERT_TRUE(ApplyEnvironment(error)) << error;
    const uint32_t pixels[] = {0x00102030, 0x00405060, 0xDEADBEEF, 0x00708090, 0x00A0B0C0, 0xDEADBEEF};
    CaptureFrame(pixels, 3, 2, 2);
    EXPECT_TRUE(EndCapture(error)) << error;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(file);
    char bytes[64] = {};
    const std::size_t size = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    EXPECT_EQ(std::string(bytes, size), std::string("P6\n2 2\n255\n\x10\x20\x30\x40\x50\x60\x70\x80\x90\xA0\xB0\xC0", 23));
    unsetenv("QUORVANE_CAPTURE");
    unsetenv("QUORVANE_FRAMES");
    std::remove(path.c_str());
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
