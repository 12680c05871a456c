// The message loop and the window procedure: messages before frames, Escape
// and every other close path through WM_DESTROY and the teardown, other keys
// swallowed, and no frame after the teardown.

#include "program_run.h"

#include "user/input.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr LPARAM kAltHeld = LPARAM{1} << 29;

void Post(UINT message, WPARAM wParam, LPARAM lParam = 1) {
    qv::user::PostInputMessage(qv::user::MainWindow(), message, wParam, lParam);
}

// A run closed only by the script, at the given frame, with the given input.
ProgramRun RunUntil(uint64_t frame, std::function<void()> input) {
    return RunProgram({.frameLimit = 0, .script = [=](uint64_t presented) {
                           if (presented == frame) input();
                           // A safety net: a run the input failed to close ends anyway.
                           if (presented == frame + 50) Post(WM_CLOSE, 0, 0);
                       }});
}

void ExpectClosedAt(const ProgramRun& run, uint64_t frame) {
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.framesPresented, frame);
    // WM_DESTROY tears down; no frame is drawn after it.
    const int destroyed = run.Find("IDirect3D2::Release(");
    ASSERT_GE(destroyed, 0);
    EXPECT_EQ(run.Find("IDirect3DViewport2::Clear(", destroyed), -1);
}

TEST(MessageLoop, EscapeClosesThroughTheTeardown) {
    const ProgramRun run = RunUntil(2, [] { Post(WM_KEYDOWN, VK_ESCAPE); });
    ExpectClosedAt(run, 2);
    const int close = run.Find("PostMessageA(");
    ASSERT_GE(close, 0);
    EXPECT_NE(run.trace[close].find("WM_CLOSE"), std::string::npos) << run.trace[close];
}

TEST(MessageLoop, OtherKeysAreSwallowed) {
    const ProgramRun run = RunUntil(2, [] {
        Post(WM_KEYDOWN, 'A');
        Post(WM_KEYDOWN, VK_F4);
        Post(WM_KEYDOWN, VK_SPACE);
        Post(WM_KEYUP, VK_ESCAPE, LPARAM(0xC0000001));
        Post(WM_CHAR, 27);
        Post(WM_SYSKEYDOWN, 'X', kAltHeld | 1);
        Post(WM_SYSKEYUP, 'X', kAltHeld | LPARAM(0xC0000001));
    });
    // Nothing of that closed it: the safety net did, 50 frames later.
    ExpectClosedAt(run, 52);
    for (const std::string& line : run.Lines("DefWindowProcA("))
        EXPECT_EQ(line.find("WM_KEYDOWN"), std::string::npos) << "a key-down reached default handling: " << line;
    for (const char* handled : {"WM_KEYUP", "WM_CHAR", "WM_SYSKEYDOWN", "WM_SYSKEYUP"}) {
        bool found = false;
        for (const std::string& line : run.Lines("DefWindowProcA(")) found = found || line.find(handled) != std::string::npos;
        EXPECT_TRUE(found) << handled << " did not reach default handling";
    }
}

TEST(MessageLoop, SystemCloseKeysCloseThroughDefaultHandling) {
    ExpectClosedAt(RunUntil(3, [] { Post(WM_SYSKEYDOWN, VK_F4, kAltHeld | 1); }), 3);
}

TEST(MessageLoop, CloseRequestFromTheWindowSystemCloses) {
    ExpectClosedAt(RunUntil(4, [] { Post(WM_CLOSE, 0, 0); }), 4);
}

TEST(MessageLoop, MessagesGoBeforeFrames) {
    const ProgramRun run = RunUntil(2, [] {
        Post(WM_KEYDOWN, 'A');
        Post(WM_KEYDOWN, 'B');
        Post(WM_KEYDOWN, VK_ESCAPE);
    });
    ExpectClosedAt(run, 2);
    // After the second flip every queued message is dispatched before any
    // further drawing: the next device call is the teardown's.
    int flips = 0, afterSecond = -1;
    for (int i = 0; i < static_cast<int>(run.trace.size()); ++i)
        if (run.trace[i].rfind("IDirectDrawSurface::Flip(", 0) == 0 && ++flips == 2) afterSecond = i;
    ASSERT_GE(afterSecond, 0);
    EXPECT_EQ(run.Find("IDirect3DViewport2::Clear(", afterSecond), -1);
    EXPECT_GE(run.Lines("DispatchMessageA(").size(), 4u);
}

}  // namespace
