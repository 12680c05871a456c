// The program's frames drawn through the pipeline against the same frames
// from the OpenGL reference (Mesa, offscreen).
//
// The pipeline samples pixel (x, y) at the integer point (x, y), as the
// platform's rules put pixel centres; OpenGL samples at (x + 0.5, y + 0.5).
// Drawn with the program's own viewport the two pictures are half a pixel
// apart, which on the steep shading of a torus moves colours by more than
// 3/255 in some 1-3% of all pixels. So the main comparison moves the clip
// window by half a pixel, making both sample the same points: what remains is
// the pipeline's transform, lighting, coverage and interpolation against GL's.
#include <gtest/gtest.h>

#include <cstdio>

#include "scene_frame.h"
#include "support/gl_reference.h"

namespace qv::pipeline::test {
namespace {

constexpr int kTolerance = 3;

class Picture : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<bench::WorldMatrices> motion = bench::RecordMotion(1234, 301);
        frames_ = {motion[0], motion[100], motion[200], motion[300]};
        std::string error;
        if (!RenderWithGlReference(frames_, reference_, error)) {
            if (PictureTestsRequired()) FAIL() << "GL reference unavailable: " << error;
            GTEST_SKIP() << "GL reference unavailable: " << error;
        }
    }

    // Draws every frame with the given sample shift and compares it.
    std::vector<PictureDifference> Compare(float sampleShift) {
        bench::SceneFrame scene;
        EXPECT_TRUE(scene.Init(sampleShift));
        std::vector<PictureDifference> out;
        for (std::size_t f = 0; f < frames_.size(); ++f) {
            EXPECT_EQ(reference_[f].width * reference_[f].height, scene.Pixels().size());
            if (reference_[f].width * reference_[f].height != scene.Pixels().size()) return out;
            scene.Draw(frames_[f]);
            out.push_back(ComparePictures(scene.Pixels(), reference_[f], kTolerance));
            const PictureDifference& d = out.back();
            std::printf("shift %.1f, frame %zu: %.3f%% of pixels within %d/255, %.4f%% beyond it away from edges; "
                        "largest difference %d/255, mean %.4f/255\n",
                        sampleShift, f * 100, d.withinTolerance * 100, kTolerance, d.offSilhouette * 100, d.largest,
                        d.meanChannel);
        }
        return out;
    }

    std::vector<bench::WorldMatrices> frames_;
    std::vector<RgbImage> reference_;
};

TEST_F(Picture, SameSamplePointsAgreeWithTheGlReference) {
    for (const PictureDifference& d : Compare(0.5f)) {
        EXPECT_GE(d.withinTolerance, 0.998);
        EXPECT_LE(d.offSilhouette, 0.0001);
    }
}

TEST_F(Picture, ProgramViewportDiffersOnlyByTheHalfPixel) {
    for (const PictureDifference& d : Compare(0)) {
        EXPECT_GE(d.withinTolerance, 0.95);
        EXPECT_LE(d.offSilhouette, 0.03);
    }
}

}  // namespace
}  // namespace qv::pipeline::test
