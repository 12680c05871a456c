// The program's and the tools' command lines and outputs: each bad option is
// named for what it is, outputs are checked before the work, write errors are
// reported, and each case ends with its documented exit code.
#include "e2e/process.h"
#include "e2e/scratch_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

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
        {{QUORVANE_PROGRAM}, {{"QUORVANE_TRACE", "/dev/full"}}, 3, "No space left"},
        {{QUORVANE_BENCH, "--frames", "99999999999999999999"}, {}, 2, "from 1 to 1000000"},
        {{QUORVANE_BENCH, "--frames=2", "--repeat=1", "--warmup=0", "--write-matrices=/dev/full"}, {}, 3,
         "No space left"},
        {{QUORVANE_WEBP, "--quality", "80", "frames", "clip.webp"}, {}, 2, "unknown option --quality"},
    };
    for (const CommandCase& test : cases) {
        std::string command;
        for (const std::string& arg : test.argv) command += arg + " ";
        SCOPED_TRACE(command);
        auto environment = headless;
        for (const auto& [name, value] : test.environment) environment[name] = value;
        Process process(test.argv, environment);
        ASSERT_TRUE(process.Started());
        EXPECT_EQ(process.WaitForExit(std::chrono::seconds(60)), test.code);
        EXPECT_THAT(process.Output() + process.Errors(), HasSubstr(test.message));
    }
    EXPECT_TRUE(std::filesystem::exists(scratch / "made/here/frame_00001.png"));
}

}  // namespace
}  // namespace qv::e2e
