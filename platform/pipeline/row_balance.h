// How a team of drawing threads divides a draw's rows among its members:
// in as many runs of whole rows, one to each member in turn, placed so that
// the members finish together. Each draw of a frame (the first, the second,
// and so on) keeps its own division, moved after the draw by how long each
// member took: the shapes of a frame stand close to where they stood in the
// last, so the division that would have balanced a draw last frame nearly
// balances it now. Who draws which rows never changes a pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "pipeline/row_share.h"

namespace qv::pipeline {

class RowBalance {
public:
    explicit RowBalance(unsigned members);

    // The frame's drawing is done: the next draw is a frame's first.
    void Rest() { draw_ = 0; }
    // The members' rows for the next draw, whose surface has the rows
    // top <= y < bottom: shares[m] for member m.
    void Divide(int32_t top, int32_t bottom, RowShare* shares);
    // After that draw: each member's time from its start to the member's end
    // (in any unit), and the rows it drew, reached <= y < reachedEnd.
    void Adjust(const double* times, int32_t reached, int32_t reachedEnd);

private:
    // One draw's division: member m owns the rows edge[m] <= y < edge[m + 1]
    // of the surface rows edge[0] <= y < edge[members].
    int32_t* Edges() { return &edges_[std::size_t(draw_ < kDraws ? draw_ : kDraws - 1) * (members_ + 1)]; }

    static constexpr unsigned kDraws = 16;  // later draws of a frame share the last division
    unsigned members_, draw_ = 0;
    std::vector<int32_t> edges_;
};

}  // namespace qv::pipeline
