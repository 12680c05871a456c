// Test helpers: a small target with its own memory, and draw calls whose
// clip space is the target's pixel grid (x right, y down, depth = z, w = 1),
// coloured by the material's emissive colour alone.
#pragma once

#include <cstdint>
#include <vector>

#include "pipeline/pipeline.h"

namespace qv::pipeline::test {

constexpr uint32_t kFarthest = 0xFFFFFFFFu;

struct Canvas {
    uint32_t width, height;
    std::vector<uint32_t> color, depth;

    Canvas(uint32_t w, uint32_t h) : width(w), height(h), color(w * h, 0), depth(w * h, kFarthest) {}

    Target target() { return {color.data(), width, depth.data(), width, width, height}; }
    uint32_t& at(int x, int y) { return color[static_cast<std::size_t>(y) * width + x]; }
    uint32_t& depthAt(int x, int y) { return depth[static_cast<std::size_t>(y) * width + x]; }
    int count(uint32_t value) const {
        int n = 0;
        for (uint32_t c : color) n += c == value;
        return n;
    }
};

inline Matrix Identity() { return {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}; }

inline Vertex At(float x, float y, float z = 0.5f) { return {x, y, z, 0, 0, -1, 0, 0}; }

// Pixel-grid clip space over the whole canvas, depth test off, default culling.
inline DrawCall PixelGridCall(const Canvas& canvas, const std::vector<Vertex>& vertices, Color emissive = {1, 1, 1, 1}) {
    DrawCall call{};
    call.vertices = vertices.data();
    call.vertexCount = vertices.size();
    call.world = Identity();
    call.view = Identity();
    call.projection = Identity();
    call.projection.m[1][1] = -1;  // clip y runs up, the grid down
    call.material.emissive = emissive;
    call.viewport = {0, 0, canvas.width, canvas.height, 0, 0, float(canvas.width), float(canvas.height), 0, 1};
    return call;
}

inline uint32_t Xrgb(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

}  // namespace qv::pipeline::test
