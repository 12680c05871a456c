// Every member runs all of a draw's vertex stages itself and sets up and
// walks only the triangles that reach its rows. Doing the vertex stages
// once per member costs less than handing set-up triangles from one thread
// to another: a line of memory that another processor has read is slow to
// write again, and a list written by one member and read by all would pay
// that for every triangle.
#include "pipeline/renderer.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <vector>

#include "pipeline/clear.h"
#include "pipeline/draw.h"
#include "pipeline/frame_pace.h"
#include "pipeline/row_balance.h"
#include "pipeline/surface.h"
#include "pipeline/workers.h"

namespace qv::pipeline {
namespace {

bool SameMemory(const Target& a, const Target& b) {
    return a.color == b.color && a.depth == b.depth && a.colorDrawn == b.colorDrawn && a.depthDrawn == b.depthDrawn &&
           a.colorPitch == b.colorPitch && a.depthPitch == b.depthPitch;
}

}  // namespace

struct Renderer::Team {
    struct Member {
        VertexBatch batch;
        DrawnArea drawn;
    };

    explicit Team(unsigned threads) : workers(threads), pace(workers.Count()), balance(workers.Count()) {
        for (unsigned m = 0; m < workers.Count(); ++m) members.push_back(std::make_unique<Member>());
        shares.resize(members.size());
        times.resize(members.size());
    }

    // A clear that waits for the next draw.
    struct HeldClear {
        bool held = false;
        Target target{};
        Viewport viewport{};
        std::vector<Rect> rects;  // its capacity kept from clear to clear
        bool color = false, depth = false;

        void Fill(const RowShare& share) const {
            ClearRows(target, viewport, rects.data(), rects.size(), color, depth, share);
        }
        void Done() {
            ForgetCleared(target, viewport, rects.data(), rects.size(), color, depth);
            held = false;
        }
    };

    // Runs job(m, share) on every member, shares as the next draw divides
    // rows top <= y < bottom, and times each member from the start to its end.
    template <class Job>
    void Run(int32_t top, int32_t bottom, Job&& job) {
        balance.Divide(top, bottom, shares.data());
        const Clock::time_point start = Clock::now();
        auto timed = [&](unsigned m) {
            job(m, shares[m]);
            times[m] = std::chrono::duration<double>(Clock::now() - start).count();
        };
        workers.Run(timed);
    }

    // The draw, the held clear first where there is one: each member fills
    // the clear's rows among those it draws (the first and last members also
    // those above and below the draw's), which its cache then holds.
    void Draw(const PreparedDraw& draw) {
        const unsigned last = unsigned(members.size()) - 1;
        Run(draw.surface.y0, draw.surface.y1, [&](unsigned m, RowShare share) {
            if (clear.held) {
                RowShare rows = share;
                if (m == 0) rows.top = std::numeric_limits<int32_t>::min();
                if (m == last) rows.bottom = std::numeric_limits<int32_t>::max();
                clear.Fill(rows);
            }
            members[m]->drawn = DrawShare(draw, members[m]->batch, share);
        });
        if (clear.held) clear.Done();
        int32_t reached = std::numeric_limits<int32_t>::max(), reachedEnd = 0;
        for (const auto& member : members) {
            Widen(draw.surface, draw.writes.color, draw.writes.depthWrite, member->drawn);
            reached = std::min(reached, member->drawn.Top());
            reachedEnd = std::max(reachedEnd, member->drawn.Bottom());
        }
        balance.Adjust(times.data(), reached, reachedEnd);
    }

    // The held clear alone, its rows divided as the next draw's.
    void Settle() {
        if (!clear.held) return;
        const Surface s = MakeSurface(clear.target, clear.viewport);
        Run(s.y0, s.y1, [&](unsigned, RowShare share) { clear.Fill(share); });
        clear.Done();
    }

    using Clock = std::chrono::steady_clock;
    Workers workers;
    FramePace pace;
    RowBalance balance;
    std::vector<std::unique_ptr<Member>> members;
    std::vector<RowShare> shares;
    std::vector<double> times;  // each member's, of the last job
    HeldClear clear;
};

Renderer::Renderer() = default;
Renderer::~Renderer() { Settle(); }

void Renderer::Start(unsigned threads) {
    Stop();
    if (threads > 1) team_ = std::make_unique<Team>(threads);
}

void Renderer::Stop() {
    Settle();
    team_.reset();
}

void Renderer::Settle() {
    if (team_) team_->Settle();
}

void Renderer::Rest() {
    if (!team_) return;
    team_->Settle();
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
    const bool share = Sharing();
    // A waiting clear goes with the draw when the team shares it out into the
    // same target, else first and alone.
    if (team_ && team_->clear.held && !(share && SameMemory(team_->clear.target, target))) Settle();
    if (!share) return pipeline::DrawTriangleList(target, call);
    if (PrepareDraw(target, call, draw)) {
        team_->Draw(draw);
    } else {
        Settle();
    }
}

void Renderer::Clear(const Target& target, const Viewport& viewport, const Rect* rects, std::size_t rectCount,
                     bool clearColor, bool clearDepth) {
    Settle();
    if (!Sharing()) return pipeline::Clear(target, viewport, rects, rectCount, clearColor, clearDepth);
    Team::HeldClear& held = team_->clear;
    held.target = target;
    held.viewport = viewport;
    held.rects.assign(rects, rects ? rects + rectCount : rects);
    held.color = clearColor;
    held.depth = clearDepth;
    held.held = true;
}

}  // namespace qv::pipeline
