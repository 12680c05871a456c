// The real program where there is no display to open: its bring-up fails
// with its one message, the stand-in says why and how to render offscreen,
// and the process ends with a non-zero code instead of hanging or running
// unseen.
#include "e2e/process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qv::e2e {
namespace {

using ::testing::HasSubstr;

using Environment = std::map<std::string, std::optional<std::string>>;

void ExpectFailsSayingWhy(const Environment& environment, const std::string& reason) {
    Process program({QUORVANE_PROGRAM}, environment);
    ASSERT_TRUE(program.Started());
    const std::optional<int> code = program.WaitForExit(std::chrono::seconds(30));
    ASSERT_TRUE(code) << "the program did not end";
    EXPECT_NE(*code, 0);
    const std::string errors = program.Errors();
    EXPECT_THAT(errors, HasSubstr("Direct3D init failed!"));
    EXPECT_THAT(errors, HasSubstr(reason));
    EXPECT_THAT(errors, HasSubstr("QUORVANE_DISPLAY=headless"));
}

TEST(ProgramWithoutDisplay, NoneNamed) {
    ExpectFailsSayingWhy({{"DISPLAY", std::nullopt},
                          {"WAYLAND_DISPLAY", std::nullopt},
                          {"SDL_VIDEODRIVER", std::nullopt},
                          {"QUORVANE_DISPLAY", std::nullopt}},
                         "no display to open (DISPLAY and WAYLAND_DISPLAY are unset)");
}

TEST(ProgramWithoutDisplay, NamedButNotThere) {
    ExpectFailsSayingWhy({{"DISPLAY", ":65535"},
                          {"WAYLAND_DISPLAY", std::nullopt},
                          {"SDL_VIDEODRIVER", std::nullopt},
                          {"QUORVANE_DISPLAY", std::nullopt}},
                         "the X display ':65535' does not answer");
}

}  // namespace
}  // namespace qv::e2e
