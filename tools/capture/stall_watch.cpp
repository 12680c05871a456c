#include "stall_watch.h"

#include <cstdio>
#include <cstdlib>

StallWatch::StallWatch(uint64_t seconds, uint64_t frameLimit)
    : limit_(static_cast<std::chrono::seconds::rep>(seconds)), frameLimit_(frameLimit), thread_([this] { Watch(); }) {}

StallWatch::~StallWatch() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void StallWatch::Flipped() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (++flipped_ <= frameLimit_) lastProgress_ = Clock::now();
}

void StallWatch::Watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!done_) {
        const Clock::time_point deadline = lastProgress_ + limit_;
        if (Clock::now() < deadline) {
            wake_.wait_until(lock, deadline);
            continue;
        }
        const long long seconds = limit_.count();
        const unsigned long long flipped = flipped_, limit = frameLimit_;
        if (flipped < limit) {
            std::fprintf(stderr,
                         "quorvane-capture: no frame was flipped in %lld s (%llu of %llu frames); "
                         "the run is stalled, ending it\n",
                         seconds, flipped, limit);
        } else {
            std::fprintf(stderr,
                         "quorvane-capture: the program did not end within %lld s of its last frame "
                         "(%llu frames flipped); ending it\n",
                         seconds, flipped);
        }
        std::fflush(stderr);
        // The run's thread is busy inside the program: end the process here.
        std::_Exit(kStalled);
    }
}
