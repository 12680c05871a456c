// The real program whose start fails in a real window: it shows its message
// box, and a request to end (SIGTERM, SIGINT) ends the box and the program,
// with the program's exit code for a failed start, instead of leaving both
// waiting for a click.
#include "e2e/process.h"
#include "e2e/x_server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <thread>

namespace qv::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr const char* kCaption = "My Quorvane application";

// Whether the box is shown once the limit passes, looking every 50 ms.
template <typename Until>
bool BoxShown(XServer& x, Until until) {
    const auto deadline = std::chrono::steady_clock::now() + seconds(30);
    while (!until(x.FindWindow(kCaption, true) != 0) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(50));
    }
    return x.FindWindow(kCaption, true) != 0;
}

class FailedStartInWindow : public ::testing::TestWithParam<int> {};

TEST_P(FailedStartInWindow, MessageBoxEndsOnSignal) {
    XServer x(1024, 768);
    ASSERT_TRUE(x.Ready()) << "Xvfb did not start";
    // No 800x600 mode: the display mode cannot be set.
    Process program({QUORVANE_PROGRAM}, {{"DISPLAY", x.Name()},
                                         {"WAYLAND_DISPLAY", std::nullopt},
                                         {"SDL_VIDEODRIVER", std::nullopt},
                                         {"QUORVANE_DISPLAY", std::nullopt},
                                         {"QUORVANE_WINDOWED", "1"},
                                         {"QUORVANE_MODES", "1024x768x32"}});
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(BoxShown(x, [&](bool shown) { return shown || !program.Running(); }))
        << "no message box; the program said: " << program.Errors();

    kill(program.Pid(), GetParam());
    EXPECT_EQ(program.WaitForExit(seconds(5)), 1);
    EXPECT_THAT(program.Errors(), ::testing::HasSubstr(std::string(kCaption) + ": Direct3D init failed!\n"));
    EXPECT_FALSE(BoxShown(x, [](bool shown) { return !shown; })) << "the box is still shown";
}

INSTANTIATE_TEST_SUITE_P(Signals, FailedStartInWindow, ::testing::Values(SIGTERM, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == SIGTERM ? "SIGTERM" : "SIGINT";
                         });

}  // namespace
}  // namespace qv::e2e
