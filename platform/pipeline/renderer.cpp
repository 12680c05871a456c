// A draw in rounds of two steps. First every member runs the vertex stages,
// setup and raster setup of its own run of triangles into its own list; then
// every member walks the lists' triangles in order on its bands. A list that filled up before
// its run ended closes the round: later lists are set up again next round.
#include "pipeline/renderer.h"

#include <algorithm>
#include <vector>

#include "pipeline/clear.h"
#include "pipeline/draw.h"
#include "pipeline/frame_pace.h"
#include "pipeline/workers.h"

namespace qv::pipeline {
namespace {

// A member's run of triangles per round, and room for their pieces when
// some are clipped into fans.
constexpr std::size_t kRunTriangles = 2048;
constexpr std::size_t kListCapacity = kRunTriangles + 64;

}  // namespace

struct Renderer::Team {
    struct Member {
        VertexBatch batch;
        std::vector<RasterTriangle> setups = std::vector<RasterTriangle>(kListCapacity);
        SetupList list{};
        std::size_t first = 0, end = 0, reached = 0;
    };

    explicit Team(unsigned threads) : workers(threads), pace(workers.Count()) {
        for (unsigned m = 0; m < workers.Count(); ++m) members.push_back(std::make_unique<Member>());
    }

    void Draw(const PreparedDraw& draw) {
        const std::size_t count = members.size();
        for (std::size_t next = 0; next < draw.vertexCount;) {
            const std::size_t triangles = (draw.vertexCount - next) / 3;
            const std::size_t run = 3 * std::min(kRunTriangles, (triangles + count - 1) / count);
            for (std::size_t m = 0; m < count; ++m) {
                Member& member = *members[m];
                member.first = std::min(next + m * run, draw.vertexCount);
                member.end = std::min(member.first + run, draw.vertexCount);
            }
            auto setUp = [&](unsigned m) {
                Member& member = *members[m];
                member.list = {member.setups.data(), 0, member.setups.size()};
                member.reached = SetupTriangles(draw, member.first, member.end, member.batch, member.list);
            };
            workers.Run(setUp);
            // This round draws the lists up to the first that stopped short, and
            // the next one starts where that stopped.
            std::size_t lists = 0;
            while (lists < count && members[lists]->first < members[lists]->end) {
                const Member& member = *members[lists++];
                Widen(draw.surface, draw.writes.color, draw.writes.depthWrite, member.list.drawn);
                next = member.reached;
                if (member.reached < member.end) break;
            }
            auto rasterize = [&](unsigned m) {
                const RowShare share{static_cast<uint32_t>(count), m};
                for (std::size_t l = 0; l < lists; ++l) {
                    const SetupList& list = members[l]->list;
                    for (std::size_t i = 0; i < list.count; ++i) {
                        RasterizeTriangle(list.items[i], draw.surface, draw.states.pixel, share);
                    }
                }
            };
            workers.Run(rasterize);
        }
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
