// The SDL display on a machine without a display: it fails fast and says
// why; on SDL's dummy display: what the copy to the window shows.
#include "display/sdl_backend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

namespace qv::display {
namespace {

// Sets or clears an environment variable for one test and restores it after.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class SdlWithoutDisplay : public ::testing::Test {
protected:
    ScopedEnvironment display_{"DISPLAY", nullptr};
    ScopedEnvironment wayland_{"WAYLAND_DISPLAY", nullptr};
    ScopedEnvironment driver_{"SDL_VIDEODRIVER", nullptr};
    ScopedEnvironment windowed_{"QUORVANE_WINDOWED", nullptr};
    std::string error_;
    std::unique_ptr<Backend> backend_ = MakeSdlBackend(error_);
};

using ::testing::HasSubstr;

TEST_F(SdlWithoutDisplay, OpenSaysWhyAndHowToRenderOffscreen) {
    ASSERT_TRUE(backend_);
    EXPECT_FALSE(backend_->Open(nullptr, error_));
    EXPECT_THAT(error_, HasSubstr("no display"));
    EXPECT_THAT(error_, HasSubstr("DISPLAY"));
    EXPECT_THAT(error_, HasSubstr("QUORVANE_DISPLAY=headless"));
    EXPECT_EQ(error_.find('\n'), std::string::npos);
}

TEST_F(SdlWithoutDisplay, NothingElseWorksOrWaits) {
    EXPECT_FALSE(backend_->SetMode(800, 600, 32, error_));
    backend_->ShowMessageBox("Direct3D init failed!", "My Quorvane application", MB_ICONERROR);
    EXPECT_FALSE(backend_->PumpInput(-1));  // must not wait for input that cannot come
    backend_->Present({nullptr, 0, 0, 0}, true);
    backend_->WindowShown(nullptr, true);
    backend_->Close();
}

TEST_F(SdlWithoutDisplay, BadSettingsAreNamed) {
    for (const char* name : {"QUORVANE_WINDOWED", "QUORVANE_PRESENT"}) {
        ScopedEnvironment bad(name, "yes");
        EXPECT_FALSE(backend_->Open(nullptr, error_));
        EXPECT_THAT(error_, HasSubstr(name));
    }
}

// The copy into the window's own pixels, on SDL's display that shows
// nothing but keeps the window's pixels to look at.
class SdlCopyOnDummyDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(backend_->Open(nullptr, error_)) << error_;
        ASSERT_TRUE(backend_->SetMode(800, 600, 32, error_)) << error_;
        backend_->WindowShown(nullptr, true);
        for (Uint32 id = 1; id < 100 && !window_; ++id) window_ = SDL_GetWindowFromID(id);
        ASSERT_NE(window_, nullptr);
    }

    // An 800 x 600 frame whose neighbouring pixels all differ.
    static std::vector<uint32_t> Pattern(uint32_t seed) {
        std::vector<uint32_t> frame(800 * 600);
        for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = uint32_t(i * 2654435761u + seed) & 0xFFFFFF;
        return frame;
    }
    void Present(const std::vector<uint32_t>& frame) { backend_->Present({frame.data(), 800, 800, 600}, false); }
    // What the window holds, 0xRRGGBB, row by row.
    std::vector<uint32_t> Shown() const {
        const SDL_Surface* surface = SDL_GetWindowSurface(window_);
        std::vector<uint32_t> shown;
        for (int y = 0; y < surface->h; ++y) {
            const auto* row =
                reinterpret_cast<const uint32_t*>(static_cast<const char*>(surface->pixels) + y * surface->pitch);
            for (int x = 0; x < surface->w; ++x) shown.push_back(row[x] & 0xFFFFFF);
        }
        return shown;
    }

    ScopedEnvironment driver_{"SDL_VIDEODRIVER", "dummy"};
    ScopedEnvironment windowed_{"QUORVANE_WINDOWED", "1"};
    ScopedEnvironment present_{"QUORVANE_PRESENT", "copy"};
    std::string error_;
    std::unique_ptr<Backend> backend_ = MakeSdlBackend(error_);
    SDL_Window* window_ = nullptr;
};

TEST_F(SdlCopyOnDummyDisplay, ShowsTheFramePixelForPixelAtItsOwnSize) {
    Present(Pattern(1));
    EXPECT_EQ(Shown(), Pattern(1));
}

TEST_F(SdlCopyOnDummyDisplay, AHiddenWindowIsNotDrawnTo) {
    Present(Pattern(1));
    backend_->WindowShown(nullptr, false);
    Present(Pattern(2));
    EXPECT_EQ(Shown(), Pattern(1));
    backend_->WindowShown(nullptr, true);
    Present(Pattern(2));
    EXPECT_EQ(Shown(), Pattern(2));
}

TEST_F(SdlCopyOnDummyDisplay, AWiderWindowGetsBlackBarsBesideTheFrame) {
    SDL_SetWindowSize(window_, 1000, 600);
    Present(Pattern(1));
    const std::vector<uint32_t> shown = Shown(), frame = Pattern(1);
    ASSERT_EQ(shown.size(), 1000u * 600u);
    for (std::size_t y = 0; y < 600; ++y) {
        const auto row = shown.begin() + std::ptrdiff_t(y * 1000);
        ASSERT_TRUE(std::all_of(row, row + 100, [](uint32_t pixel) { return pixel == 0; })) << y;
        ASSERT_TRUE(std::equal(row + 100, row + 900, frame.begin() + std::ptrdiff_t(y * 800))) << y;
        ASSERT_TRUE(std::all_of(row + 900, row + 1000, [](uint32_t pixel) { return pixel == 0; })) << y;
    }
}

TEST(SdlGpuOnDummyDisplay, AskingForARendererThatIsNotThereIsRefused) {
    ScopedEnvironment driver("SDL_VIDEODRIVER", "dummy");
    ScopedEnvironment present("QUORVANE_PRESENT", "gpu");
    std::string error;
    std::unique_ptr<Backend> backend = MakeSdlBackend(error);
    EXPECT_FALSE(backend->Open(nullptr, error));
    EXPECT_THAT(error, HasSubstr("QUORVANE_PRESENT=gpu"));
}

}  // namespace
}  // namespace qv::display
