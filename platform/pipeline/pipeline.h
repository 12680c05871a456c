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

// The pixels of a plane that may hold another value than the one Clear gives
// it: clears fill no more of the plane than this, and draws widen it.
// Whoever else writes into the plane's memory sets it back to everything.
// Kept band by band (32 rows each, the last band taking every row below it),
// each band with its own columns, so that shapes spread over the plane do
// not make the whole box around them count as drawn.
class DrawnArea {
public:
    static constexpr int kBandShift = 5;
    static constexpr int kBands = 64;
    static constexpr int32_t kAll = std::numeric_limits<int32_t>::max();

    // Everything.
    DrawnArea() : DrawnArea(0, 0, kAll, kAll) {}
    // The pixels x0 <= x < x1, y0 <= y < y1; nothing when empty.
    DrawnArea(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        for (int b = 0; b < kBands; ++b) x0_[b] = kAll, x1_[b] = 0;
        Add(x0, y0, x1, y1);
    }
    static DrawnArea Nothing() { return {0, 0, 0, 0}; }

    // Widens it by a box, or by another area.
    void Add(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        if (x0 >= x1 || y0 >= y1) return;
        y0_ = y0_ < y0 ? y0_ : y0;
        y1_ = y1_ > y1 ? y1_ : y1;
        for (int b = Band(y0), last = Band(y1 - 1); b <= last; ++b) {
            x0_[b] = x0_[b] < x0 ? x0_[b] : x0;
            x1_[b] = x1_[b] > x1 ? x1_[b] : x1;
        }
    }
    void Add(const DrawnArea& other) {
        y0_ = y0_ < other.y0_ ? y0_ : other.y0_;
        y1_ = y1_ > other.y1_ ? y1_ : other.y1_;
        for (int b = 0; b < kBands; ++b) {
            x0_[b] = x0_[b] < other.x0_[b] ? x0_[b] : other.x0_[b];
            x1_[b] = x1_[b] > other.x1_[b] ? x1_[b] : other.x1_[b];
        }
    }

    bool Empty() const { return y0_ >= y1_; }
    // Its rows: first <= y < last (the box around it, as are Left and Right).
    int32_t Top() const { return y0_; }
    int32_t Bottom() const { return y1_; }
    // Its columns x0 <= x < x1 in the band of row y.
    int32_t Left(int32_t y) const { return x0_[Band(y)]; }
    int32_t Right(int32_t y) const { return x1_[Band(y)]; }
    // The box around it, as Add takes it.
    void Bounds(int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1) const {
        x0 = kAll, x1 = 0;
        for (int b = 0; b < kBands; ++b) {
            x0 = x0 < x0_[b] ? x0 : x0_[b];
            x1 = x1 > x1_[b] ? x1 : x1_[b];
        }
        y0 = y0_, y1 = y1_;
    }

private:
    // Rows above the first (none are drawn there) count with the first band.
    static int Band(int32_t y) {
        const int32_t band = y >> kBandShift;
        return band < 0 ? 0 : band < kBands - 1 ? int(band) : kBands - 1;
    }

    int32_t y0_ = kAll, y1_ = 0;
    int32_t x0_[kBands], x1_[kBands];
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
