// Fitting the picture to screens of other sizes: shape kept, centred, black
// bars, nearest pixels, and the frame itself at its own size.
#include "display/letterbox.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv::display {
namespace {

struct FitCase {
    uint32_t screenWidth, screenHeight;
    Placement expected;
};

TEST(Letterbox, FitKeepsTheShapeAndCentres) {
    const FitCase cases[] = {
        {800, 600, {0, 0, 800, 600}},      {1280, 800, {106, 0, 1067, 800}}, {1920, 1080, {240, 0, 1440, 1080}},
        {800, 1000, {0, 200, 800, 600}},   {400, 300, {0, 0, 400, 300}},     {1, 600, {0, 299, 1, 1}},
        {0, 600, {0, 0, 0, 0}},
    };
    for (const FitCase& c : cases) {
        const Placement place = FitPicture(800, 600, c.screenWidth, c.screenHeight);
        EXPECT_EQ(place.x, c.expected.x) << c.screenWidth << " x " << c.screenHeight;
        EXPECT_EQ(place.y, c.expected.y) << c.screenWidth << " x " << c.screenHeight;
        EXPECT_EQ(place.width, c.expected.width) << c.screenWidth << " x " << c.screenHeight;
        EXPECT_EQ(place.height, c.expected.height) << c.screenWidth << " x " << c.screenHeight;
    }
    const Placement none = FitPicture(0, 600, 800, 600);
    EXPECT_EQ(none.width * none.height, 0u);
}

// A 4 x 3 frame stored with a pitch of 5; the padding must never show.
constexpr uint32_t kPad = 0xDEADBEEF;
const uint32_t kPixels[] = {1, 2,  3,  4,  kPad,  //
                            5, 6,  7,  8,  kPad,  //
                            9, 10, 11, 12, kPad};
const Frame kFrame{kPixels, 5, 4, 3};

// The screen after drawing the frame on it; it starts out filled with garbage.
std::vector<uint32_t> Drawn(uint32_t width, uint32_t height) {
    const std::size_t pitch = width + 2;
    std::vector<uint32_t> pixels(pitch * height, kPad);
    LetterboxScaler scaler;
    scaler.Draw(kFrame, Screen{pixels.data(), pitch, width, height});
    std::vector<uint32_t> visible;
    for (uint32_t y = 0; y < height; ++y)
        visible.insert(visible.end(), pixels.begin() + std::ptrdiff_t(y * pitch),
                       pixels.begin() + std::ptrdiff_t(y * pitch + width));
    return visible;
}

TEST(Letterbox, ShowsTheFrameAsItIsAtItsOwnSize) {
    EXPECT_EQ(Drawn(4, 3), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(Letterbox, DoublesEachPixelAtTwiceTheSize) {
    EXPECT_EQ(Drawn(8, 6), (std::vector<uint32_t>{1, 1, 2, 2, 3, 3, 4, 4,  1, 1, 2, 2, 3, 3, 4, 4,  //
                                                  5, 5, 6, 6, 7, 7, 8, 8,  5, 5, 6, 6, 7, 7, 8, 8,  //
                                                  9, 9, 10, 10, 11, 11, 12, 12,                      //
                                                  9, 9, 10, 10, 11, 11, 12, 12}));
}

TEST(Letterbox, BlackBarsWhereTheShapeDiffers) {
    EXPECT_EQ(Drawn(6, 3), (std::vector<uint32_t>{0, 1, 2, 3, 4, 0, 0, 5, 6, 7, 8, 0, 0, 9, 10, 11, 12, 0}));
    EXPECT_EQ(Drawn(2, 3), (std::vector<uint32_t>{2, 4, 10, 12, 0, 0}));  // halved; the odd row's bar below
}

}  // namespace
}  // namespace qv::display
