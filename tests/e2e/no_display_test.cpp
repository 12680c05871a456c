// The real program where there is no display: its bring-up fails with its
// one message, the stand-in says why and how to render offscreen, and the
// process ends with a non-zero code instead of hanging.
#include "e2e/process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qv::e2e {
namespace {

using ::testing::HasSubstr;

TEST(ProgramWithoutDisplay, FailsWithTheMessageAndTheReason) {
    Process program({QUORVANE_PROGRAM}, {{"DISPLAY", std::nullopt},
                                         {"WAYLAND_DISPLAY", std::nullopt},
                                         {"SDL_VIDEODRIVER", std::nullopt},
                                         {"QUORVANE_DISPLAY", std::nullopt}});
    ASSERT_TRUE(program.Started());
    const std::optional<int> code = program.WaitForExit(std::chrono::seconds(30));
    ASSERT_TRUE(code) << "the program did not end";
    EXPECT_NE(*code, 0);
    const std::string errors = program.Errors();
    EXPECT_THAT(errors, HasSubstr("Direct3D init failed!"));
    EXPECT_THAT(errors, HasSubstr("no display"));
    EXPECT_THAT(errors, HasSubstr("quorvane-capture"));
}

}  // namespace
}  // namespace qv::e2e
