// Whether a team of drawing threads should share out the next frame, judged
// from the frames before it: sharing finishes a frame sooner but costs the
// processor more in all (hand-offs, threads waking and waiting, each thread
// running every vertex stage for its own rows). A program paced to the display
// with time to spare gains nothing from finishing sooner, so its frames are
// drawn on its own thread alone while the others sleep; a program drawing
// flat out, or whose frames take much of the time between them, shares them.
#pragma once

#include <chrono>

namespace qv::pipeline {

class FramePace {
public:
    using Clock = std::chrono::steady_clock;

    explicit FramePace(unsigned teamSize) : teamSize_(teamSize) {}

    // A draw or clear at this time; the first since Rest begins a frame and
    // decides for it: drawn alone it would take at most half the time
    // between the starts of the last two frames, it is not shared. Drawn
    // shared, a frame is taken to cost the team's size times as long alone,
    // an overestimate which keeps a frame that needs the team from
    // alternating between the two ways.
    void Draw(Clock::time_point now);
    // The frame's drawing is done.
    void Rest(Clock::time_point now);
    bool Share() const { return share_; }

private:
    unsigned teamSize_;
    bool share_ = true;  // until frames have been timed
    bool inFrame_ = false, timed_ = false;
    Clock::time_point start_{};
    Clock::duration busy_{};
};

}  // namespace qv::pipeline
