#include <gtest/gtest.h>

#include "game/score.h"

namespace {

struct ScoreCase {
    int colors, seconds, clicks, score;
};

TEST(CalcScore, WorkedTable) {
    const ScoreCase cases[] = {
        {3, 45, 12, 45},     {2, 10, 5, 50},        {7, 120, 40, 213},
        {12, 600, 150, 228}, {20, 3600, 2000, 142}, {3, 0, 1, 900},
        {3, 2, 2, 900},      {3, 3, 3, 300},        {20, 19, 19, 20 * 20 * 100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CalcScore(c.clicks, c.seconds, c.colors), c.score)
            << "K=" << c.colors << " s=" << c.seconds << " c=" << c.clicks;
    }
}

TEST(CalcScore, BelowKCountsAsZeroAndArgumentOrderMatters) {
    for (int k = 2; k <= 20; ++k) EXPECT_EQ(CalcScore(k - 1, k - 1, k), k * k * 100);
    // clicks first, seconds second: 120 s / 40 clicks differ from 40 s / 120 clicks only
    // through the per-K truncation.
    EXPECT_EQ(CalcScore(40, 120, 7), 213);
    EXPECT_EQ(CalcScore(1, 13, 7), 4900 / 2);  // 13 s -> 1 step, 1 click -> 0
    EXPECT_EQ(CalcScore(13, 1, 7), 4900 / 2);
    EXPECT_EQ(CalcScore(6, 13, 7), CalcScore(0, 7, 7));
}

TEST(CalcScore, ColoursChangeTheScore) {
    EXPECT_NE(CalcScore(30, 60, 3), CalcScore(30, 60, 4));
    EXPECT_EQ(CalcScore(30, 60, 3), 900 / (20 + 10 + 1));
}

}  // namespace
