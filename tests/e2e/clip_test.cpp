// The animated clip of a capture: decoded, its background is as black as the
// frames it was made from, over the whole clip.
#include "e2e/process.h"
#include "e2e/scratch_dir.h"

#include <png.h>
#include <webp/demux.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace qv::e2e {
namespace {

std::vector<uint8_t> ReadRgba(const std::string& pngPath) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<uint8_t> rgba;
    if (png_image_begin_read_from_file(&image, pngPath.c_str())) {
        image.format = PNG_FORMAT_RGBA;
        rgba.resize(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) rgba.clear();
    }
    png_image_free(&image);
    return rgba;
}

int ExitCode(const std::vector<std::string>& argv) {
    Process process(argv, {});
    return process.WaitForExit(std::chrono::seconds(120)).value_or(-1);
}

TEST(Clip, BackgroundStaysBlack) {
    const ScratchDir scratch;
    const std::string frames = scratch / "frames", clip = scratch / "clip.webp";
    ASSERT_EQ(ExitCode({QUORVANE_CAPTURE, "--seed", "1", "--frames", "16", "--every", "3", "--png-dir", frames}), 0);
    ASSERT_EQ(ExitCode({QUORVANE_WEBP, frames, clip}), 0);
    EXPECT_EQ(ExitCode({QUORVANE_WEBP, frames, "/dev/full"}), 3);

    std::ifstream in(clip, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const WebPData data{bytes.data(), bytes.size()};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    ASSERT_NE(decoder, nullptr);
    int frame = 0;
    for (; WebPAnimDecoderHasMoreFrames(decoder); frame += 3) {
        uint8_t* decoded = nullptr;
        int timestamp = 0;
        ASSERT_TRUE(WebPAnimDecoderGetNext(decoder, &decoded, &timestamp));
        char name[32];
        std::snprintf(name, sizeof name, "/frame_%05d.png", frame);
        const std::vector<uint8_t> source = ReadRgba(frames + name);
        ASSERT_FALSE(source.empty()) << name;
        int brightest = 0;  // of the pixels black in the source
        for (std::size_t i = 0; i < source.size(); i += 4) {
            if (source[i] || source[i + 1] || source[i + 2]) continue;
            brightest = std::max({brightest, int(decoded[i]), int(decoded[i + 1]), int(decoded[i + 2])});
        }
        EXPECT_LE(brightest, 2) << name;
    }
    EXPECT_EQ(frame, 18);
    WebPAnimDecoderDelete(decoder);
}

}  // namespace
}  // namespace qv::e2e
