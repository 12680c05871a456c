// DrawTriangleList: the stages in order. Vertices are transformed and lit in
// batches into scratch memory that lives as long as the thread, so drawing
// allocates nothing; each triangle is then rejected, clipped or passed
// straight on to setup, and the set-up triangle to a sink: traversal at once,
// or a list kept for later.
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

// Triangles drawn as soon as they are set up.
struct DrawNow {
    const PreparedDraw& draw;
    RasterTriangle triangle;
    DrawnArea drawn = DrawnArea::Nothing();
    bool Full() const { return false; }
    RasterTriangle& Next() { return triangle; }
    void Commit() {
        RasterizeTriangle(triangle, draw.surface, draw.states.pixel);
        const TriangleSetup& t = triangle.setup;
        drawn.Add(t.minX, t.minY, t.maxX + 1, t.maxY + 1);
    }
};

// Triangles kept in a list; full while a clipped triangle's fan might not fit.
struct Keep {
    SetupList& list;
    bool Full() const { return list.count + kMaxPolygonVertices - 2 > list.capacity; }
    RasterTriangle& Next() { return list.items[list.count]; }
    void Commit() {
        const TriangleSetup& t = list.items[list.count++].setup;
        list.drawn.Add(t.minX, t.minY, t.maxX + 1, t.maxY + 1);
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

// One batch of count vertices from in; returns the vertices done (fewer when
// the sink filled up).
template <class Sink>
std::size_t EmitBatch(const Vertex* in, std::size_t count, const PreparedDraw& draw, VertexBatch& batch, Sink& sink) {
    TransformVertices(in, count, draw.toClip, draw.call->world, batch);
    LightBatch(count, *draw.call, batch);
    ProjectBatch(batch, count, draw.mapping);
    for (std::size_t i = 0; i + 2 < count; i += 3) {
        if (sink.Full()) return i;
        const uint32_t c0 = batch.outcode[i], c1 = batch.outcode[i + 1], c2 = batch.outcode[i + 2];
        const uint32_t any = c0 | c1 | c2;
        if (any == 0) {
            // Triangles facing away are most of those culled: dropped before their vertices are gathered.
            const int32_t* x = batch.sx + i;
            const int32_t* y = batch.sy + i;
            if (!Facing(TwiceArea(x[0], y[0], x[1], y[1], x[2], y[2]), draw.states.windings)) continue;
            const ScreenVertex a = batch.Screen(i), b = batch.Screen(i + 1), c = batch.Screen(i + 2);
            Emit(a, b, c, draw.states.flat ? &a : nullptr, draw, sink);
        } else if (!(any & kOutsideInvalid) && (c0 & c1 & c2) == 0) {
            EmitClipped(batch, i, any, draw, sink);
        }
    }
    return count;
}

template <class Sink>
std::size_t EmitTriangles(const PreparedDraw& draw, std::size_t first, std::size_t end, VertexBatch& batch,
                          Sink& sink) {
    for (std::size_t start = first; start < end; start += kBatchVertices) {
        const std::size_t count = std::min(kBatchVertices, end - start);
        const std::size_t done = EmitBatch(draw.call->vertices + start, count, draw, batch, sink);
        if (done < count) return start + done;
    }
    return end;
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

std::size_t SetupTriangles(const PreparedDraw& draw, std::size_t first, std::size_t end, VertexBatch& batch,
                           SetupList& list) {
    Keep sink{list};
    return EmitTriangles(draw, first, end, batch, sink);
}

void DrawTriangleList(const Target& target, const DrawCall& call) {
    PreparedDraw draw;
    if (!PrepareDraw(target, call, draw)) return;
    thread_local VertexBatch batch;
    DrawNow sink{draw, {}};
    EmitTriangles(draw, 0, draw.vertexCount, batch, sink);
    Widen(draw.surface, draw.writes.color, draw.writes.depthWrite, sink.drawn);
}

}  // namespace qv::pipeline
