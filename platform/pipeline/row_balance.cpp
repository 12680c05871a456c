#include "pipeline/row_balance.h"

#include <algorithm>
#include <cmath>

namespace qv::pipeline {
namespace {

// The number of rows a <= y < b that also lie in c <= y < d.
int64_t Overlap(int32_t a, int32_t b, int32_t c, int32_t d) {
    return std::max<int64_t>(0, int64_t{std::min(b, d)} - std::max(a, c));
}

}  // namespace

RowBalance::RowBalance(unsigned members) : members_(members), edges_(std::size_t(kDraws) * (members + 1), 0) {}

void RowBalance::Divide(int32_t top, int32_t bottom, RowShare* shares) {
    int32_t* edge = Edges();
    if (edge[0] != top || edge[members_] != bottom) {
        // A new surface: equal runs to begin with.
        for (unsigned m = 0; m <= members_; ++m) edge[m] = int32_t(top + (int64_t{bottom} - top) * m / members_);
    }
    for (unsigned m = 0; m < members_; ++m) shares[m] = {edge[m], edge[m + 1]};
}

// Each edge moves so as to even out the two members beside it, taking the
// time of the rows they drew to be spread evenly over those rows: the slower
// gives up rows worth half the difference. Their times also hold the work
// that does not depend on rows, so this undershoots, and the edge settles
// over a few frames rather than swinging past the balance.
void RowBalance::Adjust(const double* times, int32_t reached, int32_t reachedEnd) {
    int32_t* edge = Edges();
    ++draw_;
    if (reached >= reachedEnd) return;
    for (unsigned m = 1; m < members_; ++m) {
        const double before = times[m - 1], after = times[m], sum = before + after;
        const int64_t rows = Overlap(edge[m - 1], edge[m + 1], reached, reachedEnd);
        if (!(sum > 0) || rows == 0) continue;
        // An edge among rows that drew nothing moves from the nearest that did.
        const int32_t from = std::clamp(edge[m], reached, reachedEnd);
        const double move = std::round((before - after) / (2 * sum) * double(rows));
        edge[m] = int32_t(std::clamp<double>(from - move, edge[m - 1], edge[m + 1]));
    }
}

}  // namespace qv::pipeline
