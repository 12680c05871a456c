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
    ~Renderer();  // stops the threads
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Starts drawing with this many threads, the calling one among them (at
    // least 1; fewer when the system has no more to give), stopping the
    // previous team first. Until started, and after Stop, the calling thread
    // draws alone.
    void Start(unsigned threads);
    void Stop();
    unsigned Threads() const;

    // The frame's drawing is done: when frames come at a slow pace, the
    // threads sleep until the next draw rather than spin for it. Until the
    // first Rest every draw is shared out.
    void Rest();

    // As the pipeline's functions of the same names.
    void DrawTriangleList(const Target& target, const DrawCall& call);
    void Clear(const Target& target, const Viewport& viewport, const Rect* rects, std::size_t rectCount,
               bool clearColor, bool clearDepth);

private:
    // Whether the team draws what comes now.
    bool Sharing();

    struct Team;
    std::unique_ptr<Team> team_;
};

}  // namespace qv::pipeline
