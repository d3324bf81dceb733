// Timers on the virtual clock: keyed by id, repeating until stopped,
// restarted by a second start, and an unknown id reported on stop.
#include "timer_table.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Expiries up to `until`, in the order the host would deliver them.
std::vector<std::pair<int64_t, int32_t>> expiries(timer_table& timers, int64_t until) {
    std::vector<std::pair<int64_t, int32_t>> seen;
    int64_t due = 0;
    int32_t id = 0;
    while (timers.nextDue(due, id) && due <= until) {
        seen.emplace_back(due, id);
        timers.expired(id);
    }
    return seen;
}

TEST(TimerTable, TimersExpireInTimeOrderAndRepeat) {
    timer_table timers;
    EXPECT_EQ(timers.start(2, 500, 0), timer_table::start_result::started);
    EXPECT_EQ(timers.start(1, 300, 0), timer_table::start_result::started);
    const std::vector<std::pair<int64_t, int32_t>> expected = {
        {300, 1}, {500, 2}, {600, 1}, {900, 1}, {1000, 2}};
    EXPECT_EQ(expiries(timers, 1000), expected);
}

TEST(TimerTable, EqualTimesGoByLowerId) {
    timer_table timers;
    timers.start(9, 100, 0);
    timers.start(4, 100, 0);
    const std::vector<std::pair<int64_t, int32_t>> expected = {{100, 4}, {100, 9}};
    EXPECT_EQ(expiries(timers, 100), expected);
}

TEST(TimerTable, SecondStartRestartsFromNow) {
    timer_table timers;
    timers.start(1, 5000, 0);
    EXPECT_EQ(timers.start(1, 5000, 3000), timer_table::start_result::restarted);
    EXPECT_EQ(timers.running().at(1).due, 8000);
    EXPECT_TRUE(expiries(timers, 7999).empty());
}

TEST(TimerTable, StopReportsAnUnknownId) {
    timer_table timers;
    timers.start(1, 10, 0);
    EXPECT_TRUE(timers.stop(1));
    EXPECT_FALSE(timers.stop(1));
    EXPECT_FALSE(timers.stop(42));
    EXPECT_TRUE(expiries(timers, 1000).empty());
}

TEST(TimerTable, RefusesIntervalsBelowOne) {
    timer_table timers;
    EXPECT_EQ(timers.start(1, 0, 0), timer_table::start_result::refused);
    EXPECT_EQ(timers.start(1, -5, 0), timer_table::start_result::refused);
    EXPECT_FALSE(timers.isRunning(1));
}

} // namespace
