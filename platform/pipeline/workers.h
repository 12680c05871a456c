// A fixed team of threads that run one job at a time, each on its share:
// the threads start with the team and end with it, and a job runs on the
// calling thread as member 0 while the others take 1..count-1. Where the
// build has no threads (the browser's), the team is the calling thread alone.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace qv::pipeline {

class Workers {
public:
    // A team of count members (at least 1; fewer where threads are missing).
    explicit Workers(unsigned count);
    ~Workers();
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    unsigned Count() const { return count_; }

    // Tells the team that a frame's jobs are done. When frames have been
    // coming at a slow pace (over a millisecond apart), the members sleep at
    // once until the next job instead of spinning for it.
    void Rest();

    // Calls job(member) once for every member and returns when all are done.
    template <class Job>
    void Run(Job& job) {
        RunJob([](void* data, unsigned member) { (*static_cast<Job*>(data))(member); }, &job);
    }

private:
    struct Shared;
    void RunJob(void (*job)(void*, unsigned), void* data);

    unsigned count_;
    std::unique_ptr<Shared> shared_;
};

// Processors worth a worker on this machine: their number, at most 4.
unsigned DefaultWorkerCount();

}  // namespace qv::pipeline
