// The capture tool and the program refusing what would do nothing, and a
// capture run with a failed scene ending.
#include "e2e/process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qv::e2e {
namespace {

struct ToolRun {
    std::vector<std::string> argv;
    std::map<std::string, std::optional<std::string>> environment;
    int exitCode;
    std::string says;  // part of standard error
};

TEST(ToolsEnd, WithTheirExitCodeAndMessage) {
    const std::string tool = QUORVANE_CAPTURE;
    const ToolRun runs[] = {
        {{tool, "--seed", "1", "--frames", "5", "--fail", "IDirect3DDevice2::EndScene:2"}, {}, 0, ""},
        {{tool, "--fail", "Clear:1"}, {}, 2, "did you mean IDirect3DViewport2::Clear?"},
        {{tool, "--fail", "idirect3dviewport2::clear:1"}, {}, 2, "did you mean IDirect3DViewport2::Clear?"},
        {{tool, "--stall-seconds", "0"}, {}, 2, "bad value '0' for --stall-seconds"},
        {{QUORVANE_PROGRAM}, {{"QUORVANE_DISPLAY", "headless"}, {"QUORVANE_FAIL", "garbage"}}, 2,
         "QUORVANE_FAIL: bad fault 'garbage'"},
    };
    for (const ToolRun& run : runs) {
        SCOPED_TRACE(testing::PrintToString(run.argv));
        Process process(run.argv, run.environment);
        ASSERT_TRUE(process.Started());
        EXPECT_EQ(process.WaitForExit(std::chrono::seconds(60)), run.exitCode) << process.Errors();
        EXPECT_THAT(process.Errors(), testing::HasSubstr(run.says));
    }
}

}  // namespace
}  // namespace qv::e2e
