// Members wait for a job by spinning a little (the next job of a frame
// usually follows within microseconds) and then sleeping on a condition
// variable; the caller waits for the others the same way. The spin lasts up
// to 100 microseconds: on a virtual machine falling asleep and waking again
// takes tens of them, and a member that slept through a job's start delays
// its end. It is bounded in time, as a pause takes from a few to over a
// hundred cycles depending on the processor, and offers the processor to
// other threads between its clock readings: on a busy machine the thread
// being waited for may be the one waiting to run. After Rest (a frame's
// drawing is done), members sleep at once when the pause before the last job
// that followed a Rest was long: the program is paced, and the spin would be
// spent for nothing. Drawing as fast as it can, a program keeps them spinning
// for the next frame.
#include "pipeline/workers.h"

#include <algorithm>
#include <vector>

// Threads are missing from the browser's build without them, and from
// libstdc++ built for the win32 thread model (mingw-w64's default).
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
#elif defined(__GLIBCXX__) && !defined(_GLIBCXX_HAS_GTHREADS)
#else
#define QV_WORKER_THREADS 1
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#endif

namespace qv::pipeline {

#if defined(QV_WORKER_THREADS)

namespace {

constexpr unsigned kMaxDefaultWorkers = 4;
constexpr std::chrono::microseconds kSpinTime{100};
constexpr std::chrono::milliseconds kPacedPause{1};
constexpr int kPausesPerClockRead = 32;

inline void Pause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Spins until ready() holds, for up to kSpinTime; true when it did.
template <class Ready>
bool SpinUntil(Ready ready) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + kSpinTime;
    for (;;) {
        for (int i = 0; i < kPausesPerClockRead; ++i) {
            if (ready()) return true;
            Pause();
        }
        if (Clock::now() >= end) return false;
        std::this_thread::yield();
    }
}

}  // namespace

unsigned DefaultWorkerCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(cores, 1u, kMaxDefaultWorkers);
}

struct Workers::Shared {
    std::mutex mutex;
    std::condition_variable wake, done;
    std::atomic<uint64_t> generation{0};
    std::atomic<unsigned> pending{0};
    void (*job)(void*, unsigned) = nullptr;
    void* data = nullptr;
    std::atomic<bool> stop{false};
    std::atomic<bool> resting{false};
    std::vector<std::thread> threads;
    // The caller's: when it last rested the team, and whether the pause
    // after the rest before that was long.
    std::chrono::steady_clock::time_point restedAt;
    bool restPending = false, paced = false;

    void Serve(unsigned member) {
        uint64_t seen = 0;
        for (;;) {
            const auto posted = [&] { return generation.load(std::memory_order_acquire) != seen; };
            if (resting.load(std::memory_order_relaxed) || !SpinUntil(posted)) {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [&] { return stop || generation.load(std::memory_order_acquire) != seen; });
            }
            if (stop) return;
            seen = generation.load(std::memory_order_acquire);
            job(data, member);
            if (pending.fetch_sub(1, std::memory_order_acq_rel) == 1) {
                std::lock_guard<std::mutex> lock(mutex);
                done.notify_one();
            }
        }
    }
};

Workers::Workers(unsigned count) : count_(1), shared_(std::make_unique<Shared>()) {
    try {
        for (unsigned member = 1; member < count; ++member) {
            shared_->threads.emplace_back([shared = shared_.get(), member] { shared->Serve(member); });
            count_ = member + 1;
        }
    } catch (const std::system_error&) {
        // Fewer threads than asked for: the team draws with those it has.
    }
}

Workers::~Workers() {
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->stop = true;
        shared_->generation.fetch_add(1, std::memory_order_release);
    }
    shared_->wake.notify_all();
    for (std::thread& thread : shared_->threads) thread.join();
}

void Workers::RunJob(void (*job)(void*, unsigned), void* data) {
    Shared& s = *shared_;
    if (s.restPending) {
        s.paced = std::chrono::steady_clock::now() - s.restedAt > kPacedPause;
        s.restPending = false;
    }
    if (count_ > 1) {
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.job = job;
            s.data = data;
            s.pending.store(count_ - 1, std::memory_order_relaxed);
            s.resting.store(false, std::memory_order_relaxed);
            s.generation.fetch_add(1, std::memory_order_release);
        }
        s.wake.notify_all();
    }
    job(data, 0);
    if (count_ > 1 && !SpinUntil([&] { return s.pending.load(std::memory_order_acquire) == 0; })) {
        std::unique_lock<std::mutex> lock(s.mutex);
        s.done.wait(lock, [&] { return s.pending.load(std::memory_order_acquire) == 0; });
    }
}

void Workers::Rest() {
    Shared& s = *shared_;
    s.restedAt = std::chrono::steady_clock::now();
    s.restPending = true;
    s.resting.store(s.paced, std::memory_order_relaxed);
}

#else

unsigned DefaultWorkerCount() { return 1; }

struct Workers::Shared {};

Workers::Workers(unsigned) : count_(1) {}
Workers::~Workers() = default;

void Workers::RunJob(void (*job)(void*, unsigned), void* data) { job(data, 0); }

void Workers::Rest() {}

#endif

}  // namespace qv::pipeline
