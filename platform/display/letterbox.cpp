#include "display/letterbox.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv::display {
namespace {

// One screen row of the picture, each pixel the frame pixel of its column.
// With SSE2 four pixels are gathered and stored at once: the screen's memory
// is shared with the display, which has just read it, and storing to it a
// few bytes at a time is what costs.
void ScaleRow(uint32_t* to, const uint32_t* from, const uint32_t* columns, uint32_t width) {
    uint32_t x = 0;
#if defined(__SSE2__)
    for (; x + 4 <= width; x += 4) {
        const __m128i four = _mm_set_epi32(int(from[columns[x + 3]]), int(from[columns[x + 2]]),
                                           int(from[columns[x + 1]]), int(from[columns[x]]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x), four);
    }
#endif
    for (; x < width; ++x) to[x] = from[columns[x]];
}

}  // namespace

void LetterboxScaler::Draw(const Frame& frame, const Screen& screen) {
    const Placement place = FitPicture(frame.width, frame.height, screen.width, screen.height);
    // Each screen pixel's centre picks the frame pixel it falls in.
    if (sourceColumns_.size() != place.width || columnsFrameWidth_ != frame.width) {
        sourceColumns_.resize(place.width);
        for (uint32_t x = 0; x < place.width; ++x)
            sourceColumns_[x] = uint32_t((uint64_t{2} * x + 1) * frame.width / (uint64_t{2} * place.width));
        columnsFrameWidth_ = frame.width;
    }
    for (uint32_t y = 0; y < screen.height; ++y) {
        uint32_t* line = screen.pixels + y * screen.pitch;
        if (y < place.y || y >= place.y + place.height) {
            std::fill_n(line, screen.width, 0u);
            continue;
        }
        std::fill_n(line, place.x, 0u);
        std::fill(line + place.x + place.width, line + screen.width, 0u);
        const uint64_t sourceRow = (uint64_t{2} * (y - place.y) + 1) * frame.height / (uint64_t{2} * place.height);
        const uint32_t* source = frame.pixels + sourceRow * frame.pitch;
        // A row shown twice is scaled twice: reading the screen back to copy
        // it costs more.
        if (place.width == frame.width) {
            std::memcpy(line + place.x, source, std::size_t{place.width} * sizeof(uint32_t));
        } else {
            ScaleRow(line + place.x, source, sourceColumns_.data(), place.width);
        }
    }
}

}  // namespace qv::display
