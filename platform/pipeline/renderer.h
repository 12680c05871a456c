// Drawing with a team of worker threads: every thread runs each draw's
// vertex stages for all its triangles, then sets up and walks, in order,
// those that reach the rows it owns (a run of rows that RowBalance places).
// No pixel has two writers and every pixel sees its triangles in the same
// order, so the pictures are the same bytes whatever the number of threads.
// Frames that are not worth sharing out (FramePace) are drawn by the calling
// thread alone.
#pragma once

#include <cstddef>
#include <memory>

#include "pipeline/pipeline.h"

namespace qv::pipeline {

class Renderer {
public:
    Renderer();
    ~Renderer();  // settles, and stops the threads
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Starts drawing with this many threads, the calling one among them (at
    // least 1; fewer when the system has no more to give), stopping the
    // previous team first. Until started, and after Stop, the calling thread
    // draws alone.
    void Start(unsigned threads);
    void Stop();
    unsigned Threads() const;

    // The frame's drawing is done (and settled): when frames come at a slow
    // pace, the threads sleep until the next draw rather than spin for it.
    // Until the first Rest every draw is shared out.
    void Rest();

    // As the pipeline's functions of the same names, except that a clear the
    // team shares out waits, to be done with the next draw into the same
    // target as one job: one wait for the team instead of two, and the rows
    // of both balanced together.
    void DrawTriangleList(const Target& target, const DrawCall& call);
    void Clear(const Target& target, const Viewport& viewport, const Rect* rects, std::size_t rectCount,
               bool clearColor, bool clearDepth);
    // Does a clear that waits, if any: whoever else uses the target's memory
    // or drawn areas settles first. Start, Stop and Rest settle too.
    void Settle();

private:
    // Whether the team draws what comes now.
    bool Sharing();

    struct Team;
    std::unique_ptr<Team> team_;
};

}  // namespace qv::pipeline
