// Pixel traversal one pixel at a time: the reference the others match.
#include "pipeline/raster_kernels.h"
#include "pipeline/raster_walk.h"

namespace qv::pipeline {
namespace {

class PlainLanes {
public:
    static constexpr int kWidth = 1;
    using Mask = bool;

    PlainLanes(const Planes& p, uint32_t compare)
        : compare_(compare),
          zStep_(p.z.dx),
          colorSteps_{uint32_t(p.r.dx), uint32_t(p.g.dx), uint32_t(p.b.dx)} {}

    // A pixel's depth and r, g, b, summed modulo 2^32 as the wider lanes sum them.
    struct Cursor {
        int64_t z;
        uint32_t color[3];
    };

    static Cursor Start(const Point& at) {
        return {at.z, {uint32_t(at.r), uint32_t(at.g), uint32_t(at.b)}};
    }
    void Step(Cursor& c) const {
        c.z += zStep_;
        for (int i = 0; i < 3; ++i) c.color[i] += colorSteps_[i];
    }

    static Mask Below(int32_t count) { return count > 0; }
    static Mask Range(int32_t first, int32_t last) { return first <= 0 && last >= 0; }

    template <bool DepthTest, bool DepthWrite, bool ColorWrite>
    void Write(const Cursor& c, uint32_t* color, uint32_t* depth, Mask) const {
        WritePixel<DepthTest, DepthWrite, ColorWrite>(
            color, depth, 0, compare_, FixedDepth(c.z),
            FixedColor(int32_t(c.color[0]), int32_t(c.color[1]), int32_t(c.color[2])));
    }

private:
    uint32_t compare_;
    int64_t zStep_;
    uint32_t colorSteps_[3];
};

}  // namespace

void RasterizePlain(const RasterTriangle& t, const Surface& s, const PixelStates& states, const RowShare& share) {
    Rasterize<PlainLanes>(t, s, states, share);
}

}  // namespace qv::pipeline
