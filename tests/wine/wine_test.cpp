// The Windows build under Wine, with the stand-in's ddraw.dll preferred to
// Wine's own: a client built against mingw-w64's declarations gets the
// published answers; the program shows the four tori full screen with their
// shape kept, ignores other keys and ends with exit code 0 on Escape and
// Alt+F4; a failed start shows its one message box and ends with its code;
// and a frame captured through the DLL, and its calls on the trace, are the
// same bytes as the Linux stand-in's for the same seed.

#include "e2e/process.h"
#include "e2e/tori_colours.h"
#include "e2e/x_server.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace qv::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using Environment = std::map<std::string, std::optional<std::string>>;

constexpr const char* kTitle = "My Quorvane application";
// Limits that only keep a broken run from hanging the test; Wine is slow to start.
constexpr seconds kStartLimit{60}, kEndLimit{20};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class UnderWine : public testing::Test {
protected:
    // Runs a program of the Windows build (quorvane.exe, ddraw-client.exe)
    // on the private X server.
    std::unique_ptr<Process> Run(const std::string& program, Environment settings = {}) {
        settings["DISPLAY"] = x_.Name();
        settings["WINEPREFIX"] = WINE_PREFIX;
        settings["WINEDEBUG"] = "-all";
        settings["WINEDLLOVERRIDES"] = "ddraw=n,b";
        return std::make_unique<Process>(std::vector<std::string>{WINE_PATH, QUORVANE_WINDOWS_DIR "/" + program},
                                         settings);
    }

    // Starts the program and waits until a window of the title is shown.
    void Start(Environment settings = {}, const std::string& title = kTitle) {
        ASSERT_TRUE(x_.Ready()) << "Xvfb did not start";
        program_ = Run("quorvane.exe", std::move(settings));
        const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
        while (!x_.FindWindow(title, true) && program_->Running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(milliseconds(100));
        ASSERT_NE(x_.FindWindow(title, true), 0u) << "no window titled \"" << title << "\"";
    }

    Screenshot WaitForTori() { return e2e::WaitForTori(x_, *program_, kStartLimit); }

    void Key(const std::string& keys) {
        Process xdotool({XDOTOOL_PATH, "key", keys}, {{"DISPLAY", x_.Name()}});
        ASSERT_EQ(xdotool.WaitForExit(kEndLimit), 0) << xdotool.Errors();
    }

    XServer x_{1280, 800};
    std::unique_ptr<Process> program_;
};

TEST_F(UnderWine, ClientGetsThePublishedAnswers) {
    ASSERT_TRUE(x_.Ready()) << "Xvfb did not start";
    std::unique_ptr<Process> client = Run("ddraw-client.exe");
    EXPECT_EQ(client->WaitForExit(kStartLimit), 0) << client->Output() << client->Errors();
}

TEST_F(UnderWine, ShowsTheToriGoesOnAfterOtherKeysAndEndsOnEscape) {
    Start();
    const Screenshot shot = WaitForTori();
    const ColourCounts counts = Count(shot, 0, shot.width);
    EXPECT_TRUE(counts.AllFour()) << counts.Text();
    EXPECT_TRUE(KeepsTheShapeFullScreen(shot));
    for (const char* key : {"a", "space", "Return"}) Key(key);
    std::this_thread::sleep_for(seconds(1));
    EXPECT_TRUE(program_->Running());
    Key("Escape");
    EXPECT_EQ(program_->WaitForExit(kEndLimit), 0);
}

TEST_F(UnderWine, AltF4Ends) {
    Start();
    WaitForTori();  // keys pressed before the window is drawing may reach no window at all
    Key("alt+F4");
    EXPECT_EQ(program_->WaitForExit(kEndLimit), 0);
}

// A failed bring-up step shows the program's box and ends with 1; a fault
// the DLL does not carry is a bad setting, shown in the DLL's box, ending
// with 2. The program's main window is not shown before its bring-up
// succeeds: the window of the box's title on the screen is the box.
TEST_F(UnderWine, FailedStartShowsOneMessageBoxAndEndsWithItsCode) {
    struct Case {
        const char* fault;
        const char* title;
        int exitCode;
    };
    for (Case failed : {Case{"IDirectDraw::SetDisplayMode", kTitle, 1}, Case{"CreateWindowExA", "Quorvane", 2}}) {
        SCOPED_TRACE(failed.fault);
        Start({{"QUORVANE_FAIL", failed.fault}}, failed.title);
        std::this_thread::sleep_for(seconds(1));
        EXPECT_TRUE(program_->Running()) << "the box waits for its answer";
        Key("Return");
        EXPECT_EQ(program_->WaitForExit(kEndLimit), failed.exitCode);
    }
}

// The same frame, and the same DirectDraw and Direct3D calls with the same
// results on the trace (the Linux trace also holds the window layer's calls).
TEST_F(UnderWine, CapturedFrameAndTraceAreTheLinuxOnes) {
    ASSERT_TRUE(x_.Ready()) << "Xvfb did not start";
    const std::string base = testing::TempDir() + "quorvane-wine-";
    const Environment run = {{"QUORVANE_FRAMES", "45"}, {"QUORVANE_CLOCK", "1700000000"}};
    Environment windows = run, linux = run;
    windows["QUORVANE_CAPTURE"] = base + "windows.ppm";
    windows["QUORVANE_TRACE"] = base + "windows.txt";
    linux["QUORVANE_CAPTURE"] = base + "linux.ppm";
    linux["QUORVANE_TRACE"] = base + "linux.txt";
    linux["QUORVANE_DISPLAY"] = "headless";
    std::unique_ptr<Process> onWindows = Run("quorvane.exe", windows);
    Process onLinux({QUORVANE_PROGRAM}, linux);
    ASSERT_EQ(onLinux.WaitForExit(kEndLimit), 0) << onLinux.Errors();
    ASSERT_EQ(onWindows->WaitForExit(kStartLimit), 0) << onWindows->Errors();
    const std::string frame = ReadFile(base + "linux.ppm");
    ASSERT_EQ(frame.size(), 15u + 800 * 600 * 3) << "P6 header and 800 x 600 RGB";
    EXPECT_TRUE(ReadFile(base + "windows.ppm") == frame) << "the frames differ";
    std::istringstream linuxTrace(ReadFile(base + "linux.txt"));
    std::string objectCalls;
    for (std::string line; std::getline(linuxTrace, line);) {
        if (line.rfind("DirectDraw", 0) == 0 || line.rfind("IDirect", 0) == 0) objectCalls += line + "\n";
    }
    EXPECT_EQ(ReadFile(base + "windows.txt"), objectCalls);
    for (const char* file : {"windows.ppm", "windows.txt", "linux.ppm", "linux.txt"}) std::remove((base + file).c_str());
}

}  // namespace
}  // namespace qv::e2e
