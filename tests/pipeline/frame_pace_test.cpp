// When a team shares out a frame: judged from the frames before it, by times
// handed in (no clock is read here).
#include <gtest/gtest.h>

#include <vector>

#include "pipeline/frame_pace.h"

namespace qv::pipeline::test {
namespace {

using Ms = std::chrono::duration<double, std::milli>;

struct Frame {
    double drawMs, periodMs;  // from its first draw to Rest, and to the next frame's first draw
};

struct PaceCase {
    const char* name;
    unsigned team;
    std::vector<Frame> frames;
    std::vector<bool> shared;  // for each frame after the first, then the next frame
};

TEST(FramePace, SharesOnlyFramesThatWouldTakeMuchOfTheirTimeAlone) {
    const PaceCase cases[] = {
        {"paced with time to spare", 2, {{0.7, 16.7}, {1.2, 16.7}}, {false, false}},
        {"flat out", 2, {{0.7, 0.8}, {0.7, 0.8}}, {true, true}},
        {"paced, heavy: stays shared", 2, {{5, 16.7}, {5, 16.7}}, {true, true}},
        {"a frame alone over half the time goes back to the team", 2, {{1, 16.7}, {9, 16.7}, {5, 16.7}},
         {false, true, true}},
        {"a bigger team's frames are taken to cost more alone", 4, {{3, 16.7}, {2, 16.7}}, {true, false}},
        {"alone under half the time stays alone", 4, {{1, 16.7}, {7, 16.7}, {7, 16.7}}, {false, false, false}},
    };
    for (const PaceCase& c : cases) {
        FramePace pace(c.team);
        FramePace::Clock::time_point now{};
        const auto later = [&](double ms) { now += std::chrono::duration_cast<FramePace::Clock::duration>(Ms(ms)); };
        std::vector<bool> shared;
        for (std::size_t f = 0; f < c.frames.size(); ++f) {
            pace.Draw(now);
            if (f > 0) shared.push_back(pace.Share());
            else EXPECT_TRUE(pace.Share()) << c.name << ": untimed frames are shared";
            later(c.frames[f].drawMs / 2);
            pace.Draw(now);  // later draws of the frame change nothing
            later(c.frames[f].drawMs / 2);
            pace.Rest(now);
            later(c.frames[f].periodMs - c.frames[f].drawMs);
            pace.Rest(now);  // a Rest without a frame changes nothing
        }
        pace.Draw(now);
        shared.push_back(pace.Share());
        EXPECT_EQ(shared, c.shared) << c.name;
    }
}

}  // namespace
}  // namespace qv::pipeline::test
