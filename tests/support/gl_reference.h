// The project's OpenGL reference renderer (quorvane-gl-reference), run
// offscreen on Mesa's software driver: an independent picture of the same
// scene to compare the stand-in's frames against.
#pragma once

#include "scene/scene.h"

#include <d3dtypes.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One frame's four world matrices, in object order.
using FrameMatrices = std::array<D3DMATRIX, 4>;

// The world matrices the program hands the device for frames 0..count-1
// after seeding the random source with seed.
std::vector<FrameMatrices> SceneMatrices(uint32_t seed, int count);

struct RgbImage {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;  // row 0 at the top
};

// Renders the frames with the reference and returns them as images; on
// failure (reference not built, no Mesa) returns false and says why in error.
bool RenderWithGlReference(const std::vector<FrameMatrices>& frames, std::vector<RgbImage>& images,
                           std::string& error);

// True in continuous integration (CI=true), where a picture test that cannot
// run fails instead of being skipped.
bool PictureTestsRequired();

// How far a frame of the stand-in is from the reference.
struct PictureDifference {
    double withinTolerance = 0;  // share of pixels within the tolerance in every channel
    double offSilhouette = 0;    // share of pixels beyond it that lie away from any edge
    int largestOffSilhouette = 0;  // the largest channel difference of those, in 1/255
    int largest = 0;               // the largest channel difference of all pixels
    double meanChannel = 0;        // the mean channel difference, in 1/255
};

// Compares a 32-bit XRGB frame with a reference image; pixels within radius
// of a strong edge of either picture count as silhouette.
PictureDifference ComparePictures(const std::vector<uint32_t>& xrgb, const RgbImage& reference, int tolerance,
                                  int radius = 2);
