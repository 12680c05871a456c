// The program's and the tools' command lines and outputs: each bad option is
// named for what it is, outputs are checked before the work, write errors are
// reported, and each case ends with its documented exit code.
#include "e2e/process.h"
#include "e2e/scratch_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace qv::e2e {
namespace {

using ::testing::HasSubstr;

struct CommandCase {
    std::vector<std::string> argv;
    std::map<std::string, std::optional<std::string>> environment;
    int code;
    std::string message;  // in standard output or error
};

TEST(CommandLines, EndWithTheirCodeAndSayWhy) {
    const ScratchDir scratch;
    const std::map<std::string, std::optional<std::string>> headless{{"QUORVANE_DISPLAY", "headless"},
                                                                      {"QUORVANE_FRAMES", "2"}};
    const CommandCase cases[] = {
        {{QUORVANE_CAPTURE, "--bogus"}, {}, 2, "unknown option --bogus"},
        {{QUORVANE_CAPTURE, "--frames=2", "--seed=1"}, {}, 0, ""},
        {{QUORVANE_CAPTURE, "--frames"}, {}, 2, "--frames needs a value"},
        {{QUORVANE_CAPTURE, "--every", "2"}, {}, 2, "give --png-dir too"},
        {{QUORVANE_CAPTURE, "--trace", "/tmp"}, {}, 3, "'/tmp'"},
        {{QUORVANE_CAPTURE, "--frames", "2", "--trace", "/dev/full"}, {}, 3, "No space left"},
        // Checked before the run: the frames would take hours.
        {{QUORVANE_CAPTURE, "--frames", "1000000000", "--png", "/nonexistent/last.png"}, {}, 3,
         "/nonexistent/last.png"},
        {{QUORVANE_CAPTURE, "--frames", "2", "--png-dir", scratch / "made/here"}, {}, 0, ""},
        {{QUORVANE_PROGRAM, "--help"}, {}, 0, "QUORVANE_FRAMES"},
        // The program ignores its command line, as on Windows.
        {{QUORVANE_PROGRAM, "--bogus"}, {}, 0, ""},
        {{QUORVANE_PROGRAM}, {{"QUORVANE_TRACE", "/dev/full"}}, 3, "No space left"},
        {{QUORVANE_BENCH, "--frames", "99999999999999999999"}, {}, 2, "from 1 to 1000000"},
        {{QUORVANE_BENCH, "--frames=2", "--repeat=1", "--warmup=0", "--write-matrices=/dev/full"}, {}, 3,
         "No space left"},
        {{QUORVANE_WEBP, "--quality", "80", "frames", "clip.webp"}, {}, 2, "unknown option --quality"},
        // A failed EndScene ends its scene: the run goes on and ends.
        {{QUORVANE_CAPTURE, "--seed", "1", "--frames", "5", "--fail", "IDirect3DDevice2::EndScene:2"}, {}, 0, ""},
        {{QUORVANE_CAPTURE, "--fail", "Clear:1"}, {}, 2, "did you mean IDirect3DViewport2::Clear?"},
        {{QUORVANE_CAPTURE, "--fail", "idirect3dviewport2::clear:1"}, {}, 2, "did you mean IDirect3DViewport2::Clear?"},
        {{QUORVANE_CAPTURE, "--stall-seconds", "0"}, {}, 2, "--stall-seconds"},
        {{QUORVANE_PROGRAM}, {{"QUORVANE_FAIL", "garbage"}}, 2, "QUORVANE_FAIL: bad fault 'garbage'"},
        {{QUORVANE_PROGRAM}, {{"QUORVANE_WINDOWED", "1"}}, 2, "QUORVANE_WINDOWED: the headless display has no window"},
        {{QUORVANE_PROGRAM}, {{"QUORVANE_PRESENT", "copy"}}, 2, "QUORVANE_PRESENT: the headless display"},
        {{QUORVANE_BENCH, "--frames=2"}, {{"QUORVANE_THREADS", "1"}}, 2, "QUORVANE_THREADS is a setting of the program"},
        {{QUORVANE_CAPTURE, "--help"}, {{"QUORVANE_FRAMES", "2"}}, 0, "--frames N"},
    };
    for (const CommandCase& test : cases) {
        std::string command;
        for (const std::string& arg : test.argv) command += arg + " ";
        SCOPED_TRACE(command);
        // The tools refuse the program's settings; only the program is given them.
        auto environment = test.argv[0] == QUORVANE_PROGRAM ? headless : decltype(headless){};
        for (const auto& [name, value] : test.environment) environment[name] = value;
        Process process(test.argv, environment);
        ASSERT_TRUE(process.Started());
        EXPECT_EQ(process.WaitForExit(std::chrono::seconds(60)), test.code);
        EXPECT_THAT(process.Output() + process.Errors(), HasSubstr(test.message));
    }
    EXPECT_TRUE(std::filesystem::exists(scratch / "made/here/frame_00001.png"));
}

// Every setting the program's help names would do nothing in the capture
// tool, which takes options instead: each is refused by name.
TEST(CommandLines, CaptureRefusesEachOfTheProgramsSettings) {
    Process help({QUORVANE_PROGRAM, "--help"}, {});
    ASSERT_EQ(help.WaitForExit(std::chrono::seconds(10)), 0);
    const std::string text = help.Output();
    std::set<std::string> names;
    for (auto at = text.find("QUORVANE_"); at != std::string::npos; at = text.find("QUORVANE_", at + 1)) {
        names.insert(text.substr(at, text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ_", at) - at));
    }
    EXPECT_GE(names.size(), 10u);
    for (const std::string& name : names) {
        Process capture({QUORVANE_CAPTURE, "--frames", "1"}, {{name, "1"}});
        EXPECT_EQ(capture.WaitForExit(std::chrono::seconds(10)), 2) << name;
        EXPECT_THAT(capture.Errors(), HasSubstr(name + " is a setting of the program")) << name;
    }
}

}  // namespace
}  // namespace qv::e2e
