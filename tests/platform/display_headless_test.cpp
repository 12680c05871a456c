// The headless display: flips counted and kept, capture, the back-end
// registry and the PNG writer.

#include "control/control.h"
#include "display/display.h"
#include "display/headless.h"
#include "display/png_writer.h"
#include "user/input.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <vector>

namespace qv::display {
namespace {

LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class HeadlessDisplay : public testing::Test {
protected:
    void SetUp() override {
        control::Reset();
        user::Reset();
        auto owned = std::make_unique<HeadlessBackend>();
        backend = owned.get();
        Install(std::move(owned));
    }
    void TearDown() override {
        Install(nullptr);
        user::Reset();
        control::Reset();
    }

    HWND MakeWindow() {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = PlainProcedure;
        windowClass.lpszClassName = "HeadlessTest";
        RegisterClassExA(&windowClass);
        return CreateWindowExA(0, "HeadlessTest", "test", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                               nullptr, nullptr, nullptr, nullptr);
    }

    HeadlessBackend* backend = nullptr;
};

// A 3 x 2 frame stored with a pitch of 4 pixels; the padding must not show.
const uint32_t kPixels[] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xDEADBEEF,
                            0x00FFFFFF, 0x00000000, 0x00123456, 0xDEADBEEF};
const Frame kFrame{kPixels, 4, 3, 2};

TEST_F(HeadlessDisplay, ActiveIsHeadlessByDefault) {
    Install(nullptr);
    EXPECT_NE(dynamic_cast<HeadlessBackend*>(&Active()), nullptr);
}

TEST_F(HeadlessDisplay, OpensSetsModesAndRefusesNothing) {
    std::string error;
    HWND window = MakeWindow();
    EXPECT_TRUE(Active().Open(window, error));
    EXPECT_TRUE(Active().SetMode(800, 600, 32, error));
    EXPECT_EQ(backend->OpenWindow(), window);
    EXPECT_EQ(backend->ModeWidth(), 800u);
    EXPECT_EQ(backend->ModeHeight(), 600u);
    EXPECT_EQ(backend->ModeBitsPerPixel(), 32u);
    EXPECT_FALSE(Active().PumpInput(-1)) << "no input can ever arrive";
    Active().Close();
    EXPECT_EQ(backend->OpenWindow(), nullptr);
}

TEST_F(HeadlessDisplay, CountsFlipsAndKeepsTheLastFramePackedOnlyWhenAsked) {
    EXPECT_EQ(backend->PresentedFrames(), 0u);
    Active().Present(kFrame, true);
    EXPECT_TRUE(backend->LastFramePixels().empty());
    backend->KeepLastFrame();
    Active().Present(kFrame, false);
    EXPECT_EQ(backend->PresentedFrames(), 2u);
    EXPECT_EQ(backend->LastFrameWidth(), 3u);
    EXPECT_EQ(backend->LastFrameHeight(), 2u);
    EXPECT_EQ(backend->LastFramePixels(),
              (std::vector<uint32_t>{0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF, 0x00000000, 0x00123456}));
}

TEST_F(HeadlessDisplay, CapturesEachPresentedFrame) {
    std::vector<uint32_t> firstPixels;
    int captured = 0;
    backend->SetCapture([&](const Frame& frame) {
        ++captured;
        firstPixels.assign(frame.pixels, frame.pixels + frame.width);
    });
    Active().Present(kFrame, true);
    Active().Present(kFrame, true);
    EXPECT_EQ(captured, 2);
    EXPECT_EQ(firstPixels, (std::vector<uint32_t>{0x00FF0000, 0x0000FF00, 0x000000FF}));
}

TEST_F(HeadlessDisplay, MalformedFramesAreCountedButNotRead) {
    backend->KeepLastFrame();
    Active().Present(Frame{nullptr, 800, 800, 600}, true);
    Active().Present(Frame{kPixels, 1, 3, 2}, true);  // pitch narrower than a row
    EXPECT_EQ(backend->PresentedFrames(), 2u);
    EXPECT_TRUE(backend->LastFramePixels().empty());
}

TEST_F(HeadlessDisplay, InstallsByName) {
    std::string error;
    EXPECT_TRUE(InstallByName("headless", error)) << error;
    EXPECT_NE(&Active(), static_cast<Backend*>(backend)) << "a fresh back end";
    EXPECT_NE(dynamic_cast<HeadlessBackend*>(&Active()), nullptr);
    Backend* before = &Active();
    EXPECT_FALSE(InstallByName("teletype", error));
    EXPECT_NE(error.find("unknown display 'teletype'"), std::string::npos) << error;
    EXPECT_NE(error.find("headless"), std::string::npos) << "names the known back ends: " << error;
    EXPECT_EQ(&Active(), before) << "a refused name leaves the active back end";
}

// Reads a PNG back as RGBA pixels packed as 0xAARRGGBB.
std::vector<uint32_t> ReadPng(const std::string& path, uint32_t& width, uint32_t& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_BGRA;
    std::vector<uint32_t> pixels(std::size_t{image.width} * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    width = image.width;
    height = image.height;
    return pixels;
}

TEST(PngWriter, WritesTheFrameAsOpaqueRgb) {
    std::string path = testing::TempDir() + "png_writer_test.png";
    std::string error;
    ASSERT_TRUE(WritePng(path, kFrame, error)) << error;
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> pixels = ReadPng(path, width, height);
    EXPECT_EQ(width, 3u);
    EXPECT_EQ(height, 2u);
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF123456}));
    std::remove(path.c_str());
}

TEST(PngWriter, RefusesBadFramesAndPaths) {
    std::string error;
    EXPECT_FALSE(WritePng(testing::TempDir() + "never.png", Frame{nullptr, 1, 1, 1}, error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(WritePng("/nonexistent-dir/frame.png", kFrame, error));
    EXPECT_NE(error.find("/nonexistent-dir/frame.png"), std::string::npos) << error;
}

}  // namespace
}  // namespace qv::display
