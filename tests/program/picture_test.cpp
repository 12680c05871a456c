// The program's picture against the OpenGL reference: the same world
// matrices, rendered by the stand-in through the whole program and by Mesa.

#include "program_run.h"

#include "support/gl_reference.h"

#include <gtest/gtest.h>

namespace {

// Tolerance: 3/255 per channel. Our pixel centres sit at integer
// coordinates and GL's half a pixel further, so edges differ by whole
// pixels and steep gradients by a few levels (measured: at most 8/255).
constexpr int kTolerance = 3;

TEST(Picture, HundredTwentiethFrameMatchesTheReference) {
    const ProgramRun run = RunProgram({.seed = 1, .frameLimit = 120});
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lastFrame.size(), 800u * 600u);

    // The last presented frame shows the state after 119 steps.
    const std::vector<FrameMatrices> frames = SceneMatrices(1, 120);
    std::vector<RgbImage> reference;
    std::string error;
    if (!RenderWithGlReference({frames.back()}, reference, error)) {
        if (PictureTestsRequired()) FAIL() << "GL reference unavailable: " << error;
        GTEST_SKIP() << "GL reference unavailable: " << error;
    }

    const PictureDifference difference = ComparePictures(run.lastFrame, reference[0], kTolerance);
    RecordProperty("within_tolerance", std::to_string(difference.withinTolerance));
    RecordProperty("off_silhouette", std::to_string(difference.offSilhouette));
    std::printf("pixels within %d/255: %.3f%%; beyond it away from silhouettes: %.3f%%, by at most %d/255; "
                "largest difference %d/255, mean %.4f/255\n",
                kTolerance, 100 * difference.withinTolerance, 100 * difference.offSilhouette,
                difference.largestOffSilhouette, difference.largest, difference.meanChannel);
    EXPECT_GE(difference.withinTolerance, 0.98);
    EXPECT_LE(difference.offSilhouette, 0.005);
    EXPECT_LE(difference.largestOffSilhouette, 16);
}

}  // namespace
