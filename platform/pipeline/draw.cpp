// DrawTriangleList: the stages in order. Vertices are transformed and lit in
// batches into scratch memory that lives as long as the thread, so drawing
// allocates nothing; each triangle is then rejected, clipped or passed
// straight on to setup, and the set-up triangle to traversal at once.
#include "pipeline/draw.h"

#include <algorithm>

#include "pipeline/clip.h"
#include "pipeline/lighting.h"
#include "pipeline/pipeline.h"
#include "pipeline/transform.h"

namespace qv::pipeline {
namespace {

// False when a state holds a value the platform does not define, in which
// case nothing is drawn.
bool MakeDrawStates(const RenderStates& rs, DrawStates& out) {
    switch (rs.cullMode) {
        case CullMode::None: out.windings = kDrawClockwise | kDrawCounterClockwise; break;
        case CullMode::Clockwise: out.windings = kDrawCounterClockwise; break;
        case CullMode::CounterClockwise: out.windings = kDrawClockwise; break;
        default: return false;
    }
    switch (rs.shadeMode) {
        case ShadeMode::Flat: out.flat = true; break;
        case ShadeMode::Gouraud:
        case ShadeMode::Phong: out.flat = false; break;  // Phong shades as Gouraud, as on the platform
        default: return false;
    }
    const auto func = static_cast<uint32_t>(rs.zFunc);
    if (rs.zEnable && (func < static_cast<uint32_t>(Compare::Never) || func > static_cast<uint32_t>(Compare::Always))) {
        return false;
    }
    out.pixel = {rs.zEnable, rs.zEnable && rs.zWriteEnable, CompareMask(rs.zFunc)};
    return true;
}

// Triangles drawn as soon as they are set up, on the rows the share owns.
struct DrawNow {
    const PreparedDraw& draw;
    const RowShare& share;
    RasterTriangle triangle{};
    DrawnArea drawn = DrawnArea::Nothing();

    // Whether a triangle whose vertices lie at these rows (in subpixels) may
    // reach a row of the share.
    bool Wants(const int32_t* y) const {
        const int32_t top = std::min({y[0], y[1], y[2]}), bottom = std::max({y[0], y[1], y[2]});
        return share.OwnsAny((top + kSubpixelOne - 1) >> kSubpixelBits, bottom >> kSubpixelBits);
    }
    RasterTriangle& Next() { return triangle; }
    void Commit() {
        RasterizeTriangle(triangle, draw.surface, draw.states.pixel, share);
        const TriangleSetup& t = triangle.setup;
        drawn.Add(t.minX, t.minY, t.maxX + 1, t.maxY + 1);
    }
};

template <class Sink>
void Emit(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, const ScreenVertex* flat,
          const PreparedDraw& draw, Sink& sink) {
    RasterTriangle& t = sink.Next();
    Edges edges;
    if (SetupTriangle(a, b, c, draw.states.windings, flat, draw.surface, t.setup, edges) &&
        PrepareRaster(draw.writes, edges, t)) {
        sink.Commit();
    }
}

// A triangle crossing a clip plane: clip, project, draw as a fan.
template <class Sink>
void EmitClipped(const VertexBatch& batch, std::size_t first, uint32_t planes, const PreparedDraw& draw, Sink& sink) {
    ClipVertex poly[kMaxPolygonVertices] = {batch.Clip(first), batch.Clip(first + 1), batch.Clip(first + 2)};
    const ClipVertex v0 = poly[0];
    const int n = ClipPolygon(poly, 3, planes, draw.mapping);
    ScreenVertex screen[kMaxPolygonVertices];
    for (int i = 0; i < n; ++i) {
        if (!ToScreen(poly[i], draw.mapping, screen[i])) return;
    }
    // Flat shading keeps the colour of the triangle's first vertex.
    const ScreenVertex flat{0, 0, 0, v0.r, v0.g, v0.b};
    for (int i = 1; i + 1 < n; ++i) Emit(screen[0], screen[i], screen[i + 1], draw.states.flat ? &flat : nullptr, draw, sink);
}

// One batch of count vertices from in.
template <class Sink>
void EmitBatch(const Vertex* in, std::size_t count, const PreparedDraw& draw, VertexBatch& batch, Sink& sink) {
    TransformVertices(in, count, draw.toClip, draw.call->world, batch);
    LightBatch(count, *draw.call, batch);
    ProjectBatch(batch, count, draw.mapping);
    for (std::size_t i = 0; i + 2 < count; i += 3) {
        const uint32_t c0 = batch.outcode[i], c1 = batch.outcode[i + 1], c2 = batch.outcode[i + 2];
        const uint32_t any = c0 | c1 | c2;
        if (any == 0) {
            // Triangles facing away are most of those culled: dropped before their vertices are gathered.
            const int32_t* x = batch.sx + i;
            const int32_t* y = batch.sy + i;
            if (!Facing(TwiceArea(x[0], y[0], x[1], y[1], x[2], y[2]), draw.states.windings) || !sink.Wants(y)) {
                continue;
            }
            const ScreenVertex a = batch.Screen(i), b = batch.Screen(i + 1), c = batch.Screen(i + 2);
            Emit(a, b, c, draw.states.flat ? &a : nullptr, draw, sink);
        } else if (!(any & kOutsideInvalid) && (c0 & c1 & c2) == 0) {
            EmitClipped(batch, i, any, draw, sink);
        }
    }
}

}  // namespace

bool PrepareDraw(const Target& target, const DrawCall& call, PreparedDraw& out) {
    if (!call.vertices || call.vertexCount < 3 || !MakeDrawStates(call.states, out.states) ||
        !MakeScreenMapping(call.viewport, out.mapping)) {
        return false;
    }
    out.surface = MakeSurface(target, call.viewport);
    const Surface& s = out.surface;
    if ((!s.color && !s.depth) || s.x0 >= s.x1 || s.y0 >= s.y1) return false;
    out.writes = MakePixelWrites(out.states.pixel, s);
    out.call = &call;
    out.toClip = Multiply(Multiply(call.world, call.view), call.projection);
    out.vertexCount = call.vertexCount / 3 * 3;
    return true;
}

DrawnArea DrawShare(const PreparedDraw& draw, VertexBatch& batch, const RowShare& share) {
    DrawNow sink{draw, share};
    for (std::size_t start = 0; start < draw.vertexCount; start += kBatchVertices) {
        EmitBatch(draw.call->vertices + start, std::min(kBatchVertices, draw.vertexCount - start), draw, batch, sink);
    }
    return sink.drawn;
}

void DrawTriangleList(const Target& target, const DrawCall& call) {
    PreparedDraw draw;
    if (!PrepareDraw(target, call, draw)) return;
    thread_local VertexBatch batch;
    Widen(draw.surface, draw.writes.color, draw.writes.depthWrite, DrawShare(draw, batch, RowShare{}));
}

}  // namespace qv::pipeline
