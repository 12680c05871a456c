// How a team divides a draw's rows: whole runs that tile the surface's rows,
// moved frame by frame until the members take about as long, each draw of a
// frame on its own. Times are made up from a cost per row (no clock is read).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "pipeline/row_balance.h"

namespace qv::pipeline::test {
namespace {

// The time of each member for a draw whose row y costs cost(y), plus the
// work every member does whatever its rows.
std::vector<double> Times(const std::vector<RowShare>& shares, const std::function<double(int32_t)>& cost) {
    std::vector<double> times;
    for (const RowShare& s : shares) {
        double t = 10;
        for (int32_t y = s.top; y < s.bottom; ++y) t += cost(y);
        times.push_back(t);
    }
    return times;
}

struct BalanceCase {
    const char* name;
    unsigned members;
    std::function<double(int32_t)> first, second;  // the costs of a frame's two draws
};

TEST(RowBalance, RunsTileTheRowsAndEvenOutEachDrawOfAFrame) {
    const auto band = [](int32_t from, int32_t to) {
        return [=](int32_t y) { return y >= from && y < to ? 1.0 : 0.0; };
    };
    const BalanceCase cases[] = {
        {"two members, draws at either end", 2, band(20, 180), band(400, 590)},
        {"three members, rows heavier further down", 3, [](int32_t y) { return 1 + y / 600.0; }, band(0, 300)},
        {"four members, small draws", 4, band(300, 420), band(100, 180)},
    };
    for (const BalanceCase& c : cases) {
        RowBalance balance(c.members);
        std::vector<RowShare> shares(c.members);
        std::vector<double> spread[2];
        for (int frame = 0; frame < 30; ++frame) {
            for (int draw = 0; draw < 2; ++draw) {
                balance.Divide(0, 600, shares.data());
                for (unsigned m = 0; m < c.members; ++m) {
                    EXPECT_EQ(shares[m].top, m == 0 ? 0 : shares[m - 1].bottom) << c.name;
                    EXPECT_LE(shares[m].top, shares[m].bottom) << c.name;
                }
                EXPECT_EQ(shares.back().bottom, 600) << c.name;
                const auto& cost = draw == 0 ? c.first : c.second;
                const std::vector<double> times = Times(shares, cost);
                int32_t reached = 600, reachedEnd = 0;
                for (int32_t y = 0; y < 600; ++y) {
                    if (cost(y) > 0) reached = std::min(reached, y), reachedEnd = y + 1;
                }
                balance.Adjust(times.data(), reached, reachedEnd);
                const auto [low, high] = std::minmax_element(times.begin(), times.end());
                spread[draw].push_back(*high - *low);
            }
            balance.Rest();
        }
        for (const auto& s : spread) {
            // Unbalanced at first, even to within a few rows' cost at the end.
            EXPECT_GT(s.front(), 20) << c.name;
            EXPECT_LT(s.back(), 6) << c.name;
        }
        // Another surface starts again from equal runs.
        balance.Divide(0, 400, shares.data());
        EXPECT_EQ(shares[0].bottom, int32_t(400 / c.members)) << c.name;
    }
}

}  // namespace
}  // namespace qv::pipeline::test
