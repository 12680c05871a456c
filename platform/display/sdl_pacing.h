// Keeps presenting from running faster than the display refreshes, where
// the renderer cannot wait for the refresh itself: sleeps out what is left
// of one refresh period since the previous frame.
#pragma once

#include <algorithm>
#include <chrono>
#include <thread>

namespace qv::display {

class FramePacer {
public:
    void Wait(int refreshHz) {
        using clock = std::chrono::steady_clock;
        const auto period = std::chrono::duration_cast<clock::duration>(std::chrono::seconds(1)) / std::max(refreshHz, 1);
        const clock::time_point now = clock::now();
        if (next_ > now) std::this_thread::sleep_until(next_);
        // A late frame starts a new period instead of letting the next ones catch up.
        next_ = std::max(next_, now) + period;
    }

private:
    std::chrono::steady_clock::time_point next_{};
};

}  // namespace qv::display
