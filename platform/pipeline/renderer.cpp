// Every member runs all of a draw's vertex stages itself and sets up and
// walks only the triangles that reach its bands. Doing the vertex stages
// once per member costs less than handing set-up triangles from one thread
// to another: a line of memory that another processor has read is slow to
// write again, and a list written by one member and read by all would pay
// that for every triangle.
#include "pipeline/renderer.h"

#include <vector>

#include "pipeline/clear.h"
#include "pipeline/draw.h"
#include "pipeline/frame_pace.h"
#include "pipeline/workers.h"

namespace qv::pipeline {

struct Renderer::Team {
    struct Member {
        VertexBatch batch;
        DrawnArea drawn;
    };

    explicit Team(unsigned threads) : workers(threads), pace(workers.Count()) {
        for (unsigned m = 0; m < workers.Count(); ++m) members.push_back(std::make_unique<Member>());
    }

    void Draw(const PreparedDraw& draw) {
        auto job = [&](unsigned m) {
            Member& member = *members[m];
            member.drawn = DrawShare(draw, member.batch, RowShare{static_cast<uint32_t>(members.size()), m});
        };
        workers.Run(job);
        for (const auto& member : members) Widen(draw.surface, draw.writes.color, draw.writes.depthWrite, member->drawn);
    }

    Workers workers;
    FramePace pace;
    std::vector<std::unique_ptr<Member>> members;
};

Renderer::Renderer() = default;
Renderer::~Renderer() = default;

void Renderer::Start(unsigned threads) {
    Stop();
    if (threads > 1) team_ = std::make_unique<Team>(threads);
}

void Renderer::Stop() { team_.reset(); }

void Renderer::Rest() {
    if (!team_) return;
    team_->pace.Rest(FramePace::Clock::now());
    team_->workers.Rest();
}

bool Renderer::Sharing() {
    if (!team_ || team_->members.size() < 2) return false;
    team_->pace.Draw(FramePace::Clock::now());
    return team_->pace.Share();
}

unsigned Renderer::Threads() const { return team_ ? team_->workers.Count() : 1; }

void Renderer::DrawTriangleList(const Target& target, const DrawCall& call) {
    PreparedDraw draw;
    if (!Sharing()) return pipeline::DrawTriangleList(target, call);
    if (PrepareDraw(target, call, draw)) team_->Draw(draw);
}

void Renderer::Clear(const Target& target, const Viewport& viewport, const Rect* rects, std::size_t rectCount,
                     bool clearColor, bool clearDepth) {
    if (!Sharing()) return pipeline::Clear(target, viewport, rects, rectCount, clearColor, clearDepth);
    auto clear = [&](unsigned m) {
        const RowShare share{static_cast<uint32_t>(team_->members.size()), m};
        ClearRows(target, viewport, rects, rectCount, clearColor, clearDepth, share);
    };
    team_->workers.Run(clear);
    ForgetCleared(target, viewport, rects, rectCount, clearColor, clearDepth);
}

}  // namespace qv::pipeline
