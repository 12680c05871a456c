// Fitting the picture to screens of other sizes: shape kept, centred, black
// bars, nearest pixels, and the frame itself at its own size; frames that
// say where they may not be black rewrite no more than they change.
#include "display/letterbox.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <vector>

#include "pipeline/pipeline.h"

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

// A 16 x 12 frame black outside a box, with a value of its own in each pixel
// of it.
struct BoxFrame {
    explicit BoxFrame(const pipeline::DrawnArea& box, uint32_t seed) : painted(box) {
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 16; ++x) {
                const bool in = y >= box.Top() && y < box.Bottom() && x >= box.Left(y) && x < box.Right(y);
                pixels[y * 16 + x] = in ? seed * 1000 + uint32_t(y * 16 + x) : 0;
            }
        }
    }
    Frame frame(bool saysPainted) const { return {pixels, 16, 16, 12, saysPainted ? &painted : nullptr}; }
    uint32_t pixels[16 * 12];
    pipeline::DrawnArea painted;
};

TEST(Letterbox, FramesThatSayWhereTheyPaintRewriteOnlyWhatChanges) {
    struct Step {
        pipeline::DrawnArea painted;
        bool saysPainted, lost;  // lost: the screen lost its pixels first
    };
    const Step steps[] = {
        {{2, 1, 9, 5}, true, false},   {{6, 4, 15, 11}, true, false}, {{0, 0, 3, 2}, true, false},
        {pipeline::DrawnArea::Nothing(), true, false}, {{5, 5, 7, 12}, true, true}, {{1, 1, 4, 4}, false, false},
    };
    for (const auto& size : {std::pair<uint32_t, uint32_t>{16, 12}, {37, 19}, {9, 11}}) {
        const auto [width, height] = size;
        const std::size_t pitch = width + 3;
        std::vector<uint32_t> screen(pitch * height, kPad);
        LetterboxScaler scaler;
        uint32_t seed = 1;
        for (const Step& step : steps) {
            const BoxFrame box(step.painted, seed++);
            if (step.lost) {
                std::fill(screen.begin(), screen.end(), kPad);
                scaler.Invalidate();
            }
            const std::vector<uint32_t> before = screen;
            scaler.Draw(box.frame(step.saysPainted), Screen{screen.data(), pitch, width, height});
            std::vector<uint32_t> whole(pitch * height, kPad);
            LetterboxScaler().Draw(box.frame(false), Screen{whole.data(), pitch, width, height});
            for (uint32_t y = 0; y < height; ++y) {
                for (uint32_t x = 0; x < width; ++x) {
                    const std::size_t i = y * pitch + x;
                    EXPECT_EQ(screen[i], whole[i]) << width << " x " << height << ", frame " << seed - 1 << " at " << x
                                                   << "," << y;
                    const auto& written = scaler.Written();
                    const bool inWritten = std::any_of(written.begin(), written.end(), [&](const ScreenRect& r) {
                        return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
                    });
                    EXPECT_TRUE(screen[i] == before[i] || inWritten) << x << "," << y;
                }
            }
        }
    }
}

}  // namespace
}  // namespace qv::display
