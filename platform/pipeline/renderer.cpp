// Every member runs all of a draw's vertex stages itself and sets up and
// walks only the triangles that reach its rows. Doing the vertex stages
// once per member costs less than handing set-up triangles from one thread
// to another: a line of memory that another processor has read is slow to
// write again, and a list written by one member and read by all would pay
// that for every triangle.
#include "pipeline/renderer.h"

#include <chrono>
#include <vector>

#include "pipeline/clear.h"
#include "pipeline/draw.h"
#include "pipeline/frame_pace.h"
#include "pipeline/row_balance.h"
#include "pipeline/surface.h"
#include "pipeline/workers.h"

namespace qv::pipeline {

struct Renderer::Team {
    struct Member {
        VertexBatch batch;
        DrawnArea drawn;
        double time;  // from the draw's start to the member's end
    };

    explicit Team(unsigned threads) : workers(threads), pace(workers.Count()), balance(workers.Count()) {
        for (unsigned m = 0; m < workers.Count(); ++m) members.push_back(std::make_unique<Member>());
        shares.resize(members.size());
        times.resize(members.size());
    }

    void Draw(const PreparedDraw& draw) {
        balance.Divide(draw.surface.y0, draw.surface.y1, shares.data());
        const Clock::time_point start = Clock::now();
        auto job = [&](unsigned m) {
            Member& member = *members[m];
            member.drawn = DrawShare(draw, member.batch, shares[m]);
            member.time = std::chrono::duration<double>(Clock::now() - start).count();
        };
        workers.Run(job);
        DrawnArea reached = DrawnArea::Nothing();
        for (unsigned m = 0; m < members.size(); ++m) {
            const Member& member = *members[m];
            Widen(draw.surface, draw.writes.color, draw.writes.depthWrite, member.drawn);
            reached.Add(member.drawn);
            times[m] = member.time;
        }
        balance.Adjust(times.data(), reached.Top(), reached.Bottom());
    }

    using Clock = std::chrono::steady_clock;
    Workers workers;
    FramePace pace;
    RowBalance balance;
    std::vector<std::unique_ptr<Member>> members;
    std::vector<RowShare> shares;
    std::vector<double> times;
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
    team_->balance.Rest();
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
    // Each member fills the rows the next draw gives it, which its cache then holds.
    const Surface s = MakeSurface(target, viewport);
    team_->balance.Divide(s.y0, s.y1, team_->shares.data());
    auto clear = [&](unsigned m) {
        ClearRows(target, viewport, rects, rectCount, clearColor, clearDepth, team_->shares[m]);
    };
    team_->workers.Run(clear);
    ForgetCleared(target, viewport, rects, rectCount, clearColor, clearDepth);
}

}  // namespace qv::pipeline
