#include "display/letterbox.h"

#include <algorithm>
#include <cstring>

namespace qv::display {

void LetterboxScaler::Draw(const Frame& frame, const Screen& screen) {
    const Placement place = FitPicture(frame.width, frame.height, screen.width, screen.height);
    // Each screen pixel's centre picks the frame pixel it falls in.
    sourceColumns_.resize(place.width);
    for (uint32_t x = 0; x < place.width; ++x)
        sourceColumns_[x] = uint32_t((uint64_t{2} * x + 1) * frame.width / (uint64_t{2} * place.width));

    const std::size_t rowBytes = std::size_t{place.width} * sizeof(uint32_t);
    const uint32_t* previousSource = nullptr;
    for (uint32_t y = 0; y < screen.height; ++y) {
        uint32_t* row = screen.pixels + y * screen.pitch;
        if (y < place.y || y >= place.y + place.height) {
            std::fill_n(row, screen.width, 0u);
            continue;
        }
        std::fill_n(row, place.x, 0u);
        std::fill(row + place.x + place.width, row + screen.width, 0u);
        const uint64_t sourceRow = (uint64_t{2} * (y - place.y) + 1) * frame.height / (uint64_t{2} * place.height);
        const uint32_t* source = frame.pixels + sourceRow * frame.pitch;
        uint32_t* picture = row + place.x;
        if (source == previousSource) {
            std::memcpy(picture, picture - screen.pitch, rowBytes);  // a row shown twice
        } else if (place.width == frame.width) {
            std::memcpy(picture, source, rowBytes);
        } else {
            for (uint32_t x = 0; x < place.width; ++x) picture[x] = source[sourceColumns_[x]];
        }
        previousSource = source;
    }
}

}  // namespace qv::display
