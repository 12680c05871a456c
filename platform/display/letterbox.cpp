#include "display/letterbox.h"

#include "display/repainted.h"

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
    const bool whole = !frame.painted || screen.pixels != shown_.pixels || screen.pitch != shown_.pitch ||
                       screen.width != shown_.width || screen.height != shown_.height ||
                       frame.width != shownWidth_ || frame.height != shownHeight_;
    const pipeline::DrawnArea changed = Repainted(frame, whole, shownPainted_);
    shown_ = screen;
    shownWidth_ = frame.width;
    shownHeight_ = frame.height;
    written_.clear();
    if (whole) written_.push_back({0, 0, screen.width, screen.height});

    const uint32_t* columns = sourceColumns_.data();
    for (uint32_t y = 0; y < screen.height; ++y) {
        uint32_t* line = screen.pixels + y * screen.pitch;
        if (y < place.y || y >= place.y + place.height) {
            if (whole) std::fill_n(line, screen.width, 0u);
            continue;
        }
        if (whole) {
            std::fill_n(line, place.x, 0u);
            std::fill(line + place.x + place.width, line + screen.width, 0u);
        }
        const auto sourceRow = int32_t((uint64_t{2} * (y - place.y) + 1) * frame.height / (uint64_t{2} * place.height));
        if (sourceRow < changed.Top() || sourceRow >= changed.Bottom()) continue;
        const uint32_t left = uint32_t(std::max(changed.Left(sourceRow), 0));
        const uint32_t right = uint32_t(std::min(changed.Right(sourceRow), int32_t(frame.width)));
        if (left >= right) continue;
        const uint32_t* source = frame.pixels + std::size_t(sourceRow) * frame.pitch;
        uint32_t x0 = left, x1 = right;  // the picture's columns that show them
        // A row shown twice is scaled twice: reading the screen back to copy
        // it costs more.
        if (place.width == frame.width) {
            std::memcpy(line + place.x + x0, source + x0, std::size_t{x1 - x0} * sizeof(uint32_t));
        } else {
            x0 = uint32_t(std::lower_bound(columns, columns + place.width, left) - columns);
            x1 = uint32_t(std::lower_bound(columns + x0, columns + place.width, right) - columns);
            ScaleRow(line + place.x + x0, source, columns + x0, x1 - x0);
        }
        if (!whole) AddWritten(place.x + x0, y, x1 - x0);
    }
}

// Rows written over the same columns one below the other make one rectangle.
void LetterboxScaler::AddWritten(uint32_t x, uint32_t y, uint32_t width) {
    if (width == 0) return;
    if (!written_.empty()) {
        ScreenRect& last = written_.back();
        if (last.x == x && last.width == width && last.y + last.height == y) {
            ++last.height;
            return;
        }
    }
    written_.push_back({x, y, width, 1});
}

}  // namespace qv::display
