// The program's frame drawn straight through the pipeline, without the
// platform objects around it: the bring-up's camera, light, ambient light and
// render states, the torus mesh, and each torus's world matrix and material.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <windows.h>
#include <d3dtypes.h>

#include "pipeline/pipeline.h"
#include "pipeline/renderer.h"

namespace qv::bench {

// One frame's four world matrices, in object order.
using WorldMatrices = std::array<D3DMATRIX, 4>;

// The program's motion, frame by frame, in the scene's own state: after
// StartMotion (which seeds the random source with seed and fills the scene's
// material table), each NextMotionFrame gives the world matrices the program
// hands the device for the next frame, from frame 0 on.
void StartMotion(uint32_t seed);
WorldMatrices NextMotionFrame();
// Frames 0..count-1 of that motion.
std::vector<WorldMatrices> RecordMotion(uint32_t seed, std::size_t count);

class SceneFrame {
public:
    static constexpr uint32_t kWidth = 800, kHeight = 600;

    // False when the mesh cannot be built. With a sample shift, the clip
    // window moves so that pixel (x, y) shows the picture at (x + shift,
    // y + shift): 0.5 samples where renderers with pixel centres at
    // half-integer coordinates (OpenGL) do.
    bool Init(float sampleShift = 0);

    // Draws with this many threads from now on (1: the calling thread alone).
    unsigned UseThreads(unsigned threads) {
        renderer_.Start(threads);
        return renderer_.Threads();
    }

    // Clears colour and depth and draws the four tori with materialTable[k].
    void Draw(const WorldMatrices& world);

    // 32-bit XRGB, row 0 at the top, kWidth pixels a row.
    const std::vector<uint32_t>& Pixels() const { return color_; }

private:
    std::vector<uint32_t> color_, depth_;
    pipeline::DrawnArea colorDrawn_, depthDrawn_;
    pipeline::Target target_{};
    pipeline::Light light_{};
    pipeline::DrawCall call_{};
    pipeline::Renderer renderer_;
};

}  // namespace qv::bench
