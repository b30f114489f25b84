#include "gamerules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

// Guards the pace of a game: from 2000 ms the intervals run 1990, 1980, 1970, each reduction
// rounded to the nearest millisecond (5 per mille of 1100 is 5.5, taken as 6); 99 ms is reached
// after exactly 575 chips and is never left; an outsized speed-up stops at 1 ms.
TEST(GameRules, EvolveIntervalShrinksToItsFloor) {
    EXPECT_EQ(NextEvolveInterval(2000, 5), 1990u);
    EXPECT_EQ(NextEvolveInterval(1990, 5), 1980u);
    EXPECT_EQ(NextEvolveInterval(1980, 5), 1970u);
    EXPECT_EQ(NextEvolveInterval(1100, 5), 1094u);
    uint32_t interval = 2000;
    int chips = 0;
    while (interval > 99) {
        interval = NextEvolveInterval(interval, 5);
        ++chips;
        ASSERT_LT(chips, 10000);
    }
    EXPECT_EQ(interval, 99u);
    EXPECT_EQ(chips, 575);
    for (int k = 0; k < 100; ++k) {
        interval = NextEvolveInterval(interval, 5);
    }
    EXPECT_EQ(interval, 99u);
    EXPECT_EQ(NextEvolveInterval(2000, 1000), 1u);
    EXPECT_EQ(NextEvolveInterval(std::numeric_limits<uint32_t>::max(), 5000), 1u);
}

// Guards the lives the score earns: one per multiple of 2000 passed, counted from the old
// score (1990 to 2010 passes one, 3999 to 8000 passes three, 2000 to 3999 none), and none for a
// score that does not grow or a points-per-life of 0.
TEST(GameRules, LivesFollowTheMultiplesPassed) {
    EXPECT_EQ(LivesGained(1990, 2010, 2000), 1u);
    EXPECT_EQ(LivesGained(1999, 2000, 2000), 1u);
    EXPECT_EQ(LivesGained(2000, 3999, 2000), 0u);
    EXPECT_EQ(LivesGained(3999, 8000, 2000), 3u);
    EXPECT_EQ(LivesGained(0, 2147483647u, 2000), 1073741u);
    EXPECT_EQ(LivesGained(2010, 1990, 2000), 0u);
    EXPECT_EQ(LivesGained(0, 5000, 0), 0u);
}

} // namespace
