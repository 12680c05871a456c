// The software drawing pipeline behind the Direct3D stand-in: transform,
// lighting, clipping, culling and rasterizing over memory that the surfaces
// own. Plain data in, pixels out; nothing here knows about COM objects or
// windows, so every stage can be tested and measured on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

namespace qv::pipeline {

// Row-vector convention: p' = p x M, translation in the fourth row.
struct Matrix {
    float m[4][4];
};

struct Color {
    float r, g, b, a;
};

struct Vec3 {
    float x, y, z;
};

// The layout of D3DVERTEX: position, normal, texture coordinates.
struct Vertex {
    float x, y, z;
    float nx, ny, nz;
    float tu, tv;
};

struct Material {
    Color diffuse, ambient, specular, emissive;
    float power;
};

enum class LightType : uint32_t { Point = 1, Spot = 2, Directional = 3, ParallelPoint = 4 };

struct Light {
    LightType type;
    Color color;
    Vec3 position;   // world space
    Vec3 direction;  // world space
    float range;
    float falloff;
    float attenuation0, attenuation1, attenuation2;
    float theta, phi;
};

// The visible volume and its place on the target, as D3DVIEWPORT2 gives them.
struct Viewport {
    uint32_t x, y, width, height;
    float clipX, clipY, clipWidth, clipHeight;
    float minZ, maxZ;
};

// Values as the platform numbers them (D3DCMPFUNC, D3DSHADEMODE, D3DCULL).
enum class Compare : uint32_t { Never = 1, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };
enum class ShadeMode : uint32_t { Flat = 1, Gouraud = 2, Phong = 3 };
enum class CullMode : uint32_t { None = 1, Clockwise = 2, CounterClockwise = 3 };

struct RenderStates {
    bool zEnable = false;
    bool zWriteEnable = true;
    Compare zFunc = Compare::LessEqual;
    ShadeMode shadeMode = ShadeMode::Gouraud;
    CullMode cullMode = CullMode::CounterClockwise;
};

// The pixels x0 <= x < x1, y0 <= y < y1 of a plane that may hold another
// value than the one Clear gives it: clears fill no more of the plane than
// this, and draws widen it. Whoever else writes into the plane's memory sets
// it back to everything.
struct DrawnArea {
    static constexpr int32_t kAll = std::numeric_limits<int32_t>::max();
    int32_t x0 = 0, y0 = 0, x1 = kAll, y1 = kAll;
};

// Colour: 32-bit XRGB (0x00RRGGBB) pixels. Depth: 32-bit unsigned, 0 nearest,
// 0xFFFFFFFF farthest. Pitches count elements (not bytes) per row. Either
// plane may be null, in which case it is neither read nor written. A plane
// given a drawn area has it kept up to date; without one, it is cleared
// wherever asked.
struct Target {
    uint32_t* color;
    std::size_t colorPitch;
    uint32_t* depth;
    std::size_t depthPitch;
    uint32_t width, height;
    DrawnArea* colorDrawn = nullptr;
    DrawnArea* depthDrawn = nullptr;
};

struct Rect {
    int32_t x1, y1, x2, y2;  // x2, y2 exclusive
};

// Everything one DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, ...) needs.
struct DrawCall {
    const Vertex* vertices;
    std::size_t vertexCount;  // whole triangles only; a trailing partial one is ignored
    Matrix world, view, projection;
    Material material;
    const Light* lights;
    std::size_t lightCount;
    Color ambient;  // the ambient light state
    RenderStates states;
    Viewport viewport;
};

// Transforms, lights, clips, culls and rasterizes a triangle list into the
// target. Any input is safe: what is not well defined is skipped.
void DrawTriangleList(const Target& target, const DrawCall& call);

// Clears the given rectangles, clipped to the viewport and the target: colour
// to black when clearColor, depth to farthest when clearDepth.
void Clear(const Target& target, const Viewport& viewport, const Rect* rects, std::size_t rectCount,
           bool clearColor, bool clearDepth);

}  // namespace qv::pipeline
