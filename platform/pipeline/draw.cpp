// DrawTriangleList: the stages in order. Vertices are transformed and lit in
// batches into scratch memory that lives as long as the thread, so drawing
// allocates nothing; each triangle is then rejected, clipped or passed
// straight on to setup and traversal.
#include <algorithm>

#include "pipeline/batch.h"
#include "pipeline/clip.h"
#include "pipeline/geometry.h"
#include "pipeline/lighting.h"
#include "pipeline/pipeline.h"
#include "pipeline/raster.h"
#include "pipeline/setup.h"
#include "pipeline/surface.h"
#include "pipeline/transform.h"

namespace qv::pipeline {
namespace {

// What the render states ask for; false when one holds a value the platform
// does not define, in which case nothing is drawn.
struct DrawStates {
    PixelStates pixel;
    uint32_t windings;
    bool flat;
};

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

struct Context {
    const Surface& surface;
    const ScreenMapping& mapping;
    const DrawStates& states;
};

void Draw(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, const ScreenVertex* flat,
          const Context& ctx) {
    TriangleSetup setup;
    if (SetupTriangle(a, b, c, ctx.states.windings, flat, ctx.surface, setup)) {
        RasterizeTriangle(setup, ctx.surface, ctx.states.pixel);
    }
}

// A triangle crossing a clip plane: clip, project, draw as a fan.
void DrawClipped(const VertexBatch& batch, std::size_t first, uint32_t planes, const Context& ctx) {
    ClipVertex poly[kMaxPolygonVertices] = {batch.Clip(first), batch.Clip(first + 1), batch.Clip(first + 2)};
    const ClipVertex v0 = poly[0];
    const int n = ClipPolygon(poly, 3, planes, ctx.mapping);
    ScreenVertex screen[kMaxPolygonVertices];
    for (int i = 0; i < n; ++i) {
        if (!ToScreen(poly[i], ctx.mapping, screen[i])) return;
    }
    // Flat shading keeps the colour of the triangle's first vertex.
    const ScreenVertex flat{0, 0, 0, v0.r, v0.g, v0.b};
    for (int i = 1; i + 1 < n; ++i) Draw(screen[0], screen[i], screen[i + 1], ctx.states.flat ? &flat : nullptr, ctx);
}

void DrawBatch(const Vertex* in, std::size_t count, const Matrix& toClip, const DrawCall& call, VertexBatch& batch,
               const Context& ctx) {
    TransformVertices(in, count, toClip, call.world, batch);
    LightBatch(count, call, batch);
    ProjectBatch(batch, count, ctx.mapping);
    for (std::size_t i = 0; i + 2 < count; i += 3) {
        const uint32_t c0 = batch.outcode[i], c1 = batch.outcode[i + 1], c2 = batch.outcode[i + 2];
        const uint32_t any = c0 | c1 | c2;
        if (any == 0) {
            const ScreenVertex a = batch.Screen(i), b = batch.Screen(i + 1), c = batch.Screen(i + 2);
            Draw(a, b, c, ctx.states.flat ? &a : nullptr, ctx);
        } else if (!(any & kOutsideInvalid) && (c0 & c1 & c2) == 0) {
            DrawClipped(batch, i, any, ctx);
        }
    }
}

}  // namespace

void DrawTriangleList(const Target& target, const DrawCall& call) {
    DrawStates states;
    ScreenMapping mapping;
    if (!call.vertices || call.vertexCount < 3 || !MakeDrawStates(call.states, states) ||
        !MakeScreenMapping(call.viewport, mapping)) {
        return;
    }
    const Surface surface = MakeSurface(target, call.viewport);
    if ((!surface.color && !surface.depth) || surface.x0 >= surface.x1 || surface.y0 >= surface.y1) return;

    thread_local VertexBatch batch;
    const Context ctx{surface, mapping, states};
    const Matrix toClip = Multiply(Multiply(call.world, call.view), call.projection);
    const std::size_t total = call.vertexCount / 3 * 3;
    for (std::size_t start = 0; start < total; start += kBatchVertices) {
        DrawBatch(call.vertices + start, std::min(kBatchVertices, total - start), toClip, call, batch, ctx);
    }
}

}  // namespace qv::pipeline
