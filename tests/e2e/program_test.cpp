// The real program in a real window: under its own X server it opens its
// window, draws the four lit tori, ends with exit code 0 on Escape, Alt+F4
// and the window's close button, and goes on running after other keys. When
// its start fails, its message box ends with it on SIGTERM and SIGINT.
#include "e2e/process.h"
#include "e2e/tori_colours.h"
#include "e2e/x_server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <array>
#include <thread>

namespace qv::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr const char* kTitle = "My Quorvane application";
// Limits that only keep a broken run from hanging the test.
constexpr seconds kStartLimit{30}, kEndLimit{15};

class ProgramInWindow : public ::testing::Test {
protected:
    // Starts the program on the private X server, windowed or full screen,
    // offering the display modes given (QUORVANE_MODES; nullopt: the
    // stand-in's own), and waits until its window exists.
    void Start(bool windowed, std::optional<std::string> modes = std::nullopt) {
        ASSERT_TRUE(x_.Ready()) << "Xvfb did not start";
        program_ = std::make_unique<Process>(
            std::vector<std::string>{QUORVANE_PROGRAM},
            std::map<std::string, std::optional<std::string>>{{"DISPLAY", x_.Name()},
                                                              {"WAYLAND_DISPLAY", std::nullopt},
                                                              {"SDL_VIDEODRIVER", std::nullopt},
                                                              {"QUORVANE_DISPLAY", std::nullopt},
                                                              {"QUORVANE_WINDOWED", windowed ? "1" : "0"},
                                                              {"QUORVANE_MODES", modes}});
        ASSERT_TRUE(program_->Started());
        const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
        while (!(window_ = x_.FindWindow(kTitle)) && program_->Running() &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(milliseconds(50));
        }
        ASSERT_NE(window_, 0u) << "no window titled \"" << kTitle << "\"; the program said: " << program_->Errors();
    }

    // Waits for the tori, then takes the window that shows them: the window
    // Start found may since have been replaced, as SDL creates a window again
    // when a renderer it tries wants another visual.
    Screenshot WaitForTori() {
        Screenshot shot = e2e::WaitForTori(x_, *program_, kStartLimit);
        window_ = x_.FindWindow(kTitle, true);
        return shot;
    }

    // Whether the condition holds within the start limit, looking every 50 ms.
    template <typename Condition>
    static bool Eventually(Condition condition) {
        const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
        while (!condition() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(milliseconds(50));
        return condition();
    }

    void Key(const std::string& keys) {
        Process xdotool({XDOTOOL_PATH, "key", keys}, {{"DISPLAY", x_.Name()}});
        ASSERT_EQ(xdotool.WaitForExit(kEndLimit), 0) << xdotool.Errors();
    }

    void ExpectEndsWithZero() {
        EXPECT_EQ(program_->WaitForExit(kEndLimit), 0) << "the program said: " << program_->Errors();
    }

    XServer x_{1280, 800};
    std::unique_ptr<Process> program_;
    unsigned long window_ = 0;
};

TEST_F(ProgramInWindow, FullScreenShowsTheFourToriKeepingTheShapeAndEndsOnEscape) {
    Start(false);
    const Screenshot shot = WaitForTori();
    const ColourCounts counts = Count(shot, 0, shot.width);
    EXPECT_TRUE(counts.AllFour()) << counts.Text();
    EXPECT_TRUE(KeepsTheShapeFullScreen(shot));
    Key("Escape");
    ExpectEndsWithZero();
}

TEST_F(ProgramInWindow, WindowShowsTheFourToriAndEndsOnEscape) {
    Start(true);
    const ColourCounts counts = Count(WaitForTori(), 0, 1280);
    EXPECT_TRUE(counts.AllFour());
    EXPECT_EQ(x_.IconSize(window_), std::pair(32L, 32L)) << "the class icon, 107";
    Key("Escape");
    ExpectEndsWithZero();
}

TEST_F(ProgramInWindow, AltF4Closes) {
    Start(true);
    // Keys pressed before the window is drawing may reach no window at all.
    WaitForTori();
    Key("alt+F4");
    ExpectEndsWithZero();
}

TEST_F(ProgramInWindow, CloseButtonCloses) {
    Start(true);
    WaitForTori();
    x_.RequestClose(window_);
    ExpectEndsWithZero();
}

TEST_F(ProgramInWindow, OtherKeysDoNotClose) {
    Start(true);
    WaitForTori();
    for (const char* key : {"a", "space", "Return", "F4", "shift+q", "ctrl+c", "Left"}) Key(key);
    // Keys are handled before the next frame; give the program a moment to
    // have handled them, then see it still drawing.
    std::this_thread::sleep_for(seconds(1));
    EXPECT_TRUE(program_->Running());
    EXPECT_TRUE(Count(WaitForTori(), 0, 1280).AllFour());
    Key("Escape");
    ExpectEndsWithZero();
}

class FailedStartInWindow : public ProgramInWindow, public ::testing::WithParamInterface<int> {};

TEST_P(FailedStartInWindow, MessageBoxEndsOnSignal) {
    Start(true, "1024x768x32");  // no 800x600 mode: the display mode cannot be set
    const auto boxShown = [this] { return x_.FindWindow(kTitle, true) != 0; };
    ASSERT_TRUE(Eventually(boxShown)) << "no message box; the program said: " << program_->Errors();
    kill(program_->Pid(), GetParam());
    EXPECT_EQ(program_->WaitForExit(seconds(5)), 1);
    EXPECT_THAT(program_->Errors(), ::testing::HasSubstr(std::string(kTitle) + ": Direct3D init failed!\n"));
    EXPECT_TRUE(Eventually([&] { return !boxShown(); })) << "the box is still shown";
}

INSTANTIATE_TEST_SUITE_P(Signals, FailedStartInWindow, ::testing::Values(SIGTERM, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == SIGTERM ? "SIGTERM" : "SIGINT";
                         });

}  // namespace
}  // namespace qv::e2e
