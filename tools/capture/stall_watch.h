// Ends a capture run that has stopped making progress, which would otherwise
// run (and grow its trace) for ever: progress is a flipped frame up to the
// frame limit; after the limit the program has as long again to end.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class StallWatch {
public:
    // The exit code of a stalled run.
    static constexpr int kStalled = 4;

    StallWatch(uint64_t seconds, uint64_t frameLimit);
    ~StallWatch();  // stops watching
    StallWatch(const StallWatch&) = delete;
    StallWatch& operator=(const StallWatch&) = delete;

    // Called by the run for each flipped frame.
    void Flipped();

private:
    using Clock = std::chrono::steady_clock;
    void Watch();

    const std::chrono::seconds limit_;
    const uint64_t frameLimit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    uint64_t flipped_ = 0;
    Clock::time_point lastProgress_ = Clock::now();
    std::thread thread_;  // last: starts once the rest is set
};
