// Timers on the virtual clock: keyed by id, repeating until stopped,
// restarted by a second start, and an unknown id reported on stop.
#include "timer_table.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
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

// The first expiry as a scan of every running timer finds it: the earliest
// due time, and at equal times the lower id.
bool scannedNextDue(const timer_table& timers, int64_t& due, int32_t& id) {
    bool found = false;
    for (const auto& entry : timers.running()) {
        if (!found || entry.second.due < due) {
            due = entry.second.due;
            id = entry.first;
            found = true;
        }
    }
    return found;
}

// Starts, restarts, stops and expiries in a seeded mix: after each one the
// table names the same next expiry as a scan of its running timers.
TEST(TimerTable, NextDueAgreesWithAScanThroughStartsStopsAndExpiries) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        timer_table timers;
        int64_t now = 0;
        for (int step = 0; step < 20000; ++step) {
            const auto id = static_cast<int32_t>(random() % 40) - 5;
            switch (random() % 4) {
            case 0:
            case 1:
                timers.start(id, static_cast<int32_t>(random() % 50) - 2, now);
                break;
            case 2:
                timers.stop(id);
                break;
            default: {
                int64_t due = 0;
                int32_t first = 0;
                if (timers.nextDue(due, first)) {
                    now = due;
                    timers.expired(first);
                }
                break;
            }
            }
            int64_t due = 0;
            int32_t first = 0;
            int64_t scannedDue = 0;
            int32_t scannedFirst = 0;
            const bool any = timers.nextDue(due, first);
            ASSERT_EQ(any, scannedNextDue(timers, scannedDue, scannedFirst))
                << "seed " << seed << ", step " << step;
            if (any) {
                ASSERT_EQ(std::make_pair(due, first), std::make_pair(scannedDue, scannedFirst))
                    << "seed " << seed << ", step " << step;
            }
        }
    }
}

// Finding the next expiry does not look at every timer: 40,000 timers that
// all expire once take well under a second (a scan for each expiry took
// seconds).
TEST(TimerTable, ManyTimersExpireWithoutAScanForEach) {
    constexpr int32_t count = 40000;
    timer_table timers;
    for (int32_t id = 1; id <= count; ++id) {
        timers.start(id, 1000, 0);
    }
    const auto started = std::chrono::steady_clock::now();
    const std::vector<std::pair<int64_t, int32_t>> seen = expiries(timers, 1000);
    const auto took = std::chrono::steady_clock::now() - started;
    ASSERT_EQ(seen.size(), static_cast<size_t>(count));
    EXPECT_EQ(seen.front(), std::make_pair(int64_t{1000}, int32_t{1}));
    EXPECT_EQ(seen.back(), std::make_pair(int64_t{1000}, count));
    EXPECT_LT(took, std::chrono::seconds(2))
        << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
}

TEST(TimerTable, RefusesIntervalsBelowOne) {
    timer_table timers;
    EXPECT_EQ(timers.start(1, 0, 0), timer_table::start_result::refused);
    EXPECT_EQ(timers.start(1, -5, 0), timer_table::start_result::refused);
    EXPECT_FALSE(timers.isRunning(1));
}

} // namespace
