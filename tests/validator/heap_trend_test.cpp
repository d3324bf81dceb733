// The heap's trend over load/unload cycles: a leak of a block per cycle is
// found at every run length, while warm-up growth, one-time steps and the
// allocator's back-and-forth never are.
#include "heap_trend.h"
#include "random_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The bytes in use after `cycle` of `cycles`.
using heap_series = long long (*)(long long cycle, long long cycles);

struct trend_case {
    const char* name;
    heap_series heap;
    bool grows;
    long long cycles;
};

void PrintTo(const trend_case& c, std::ostream* os) {
    *os << c.name << " over " << c.cycles << " cycles";
}

class heap_trend_case : public testing::TestWithParam<trend_case> {};

TEST_P(heap_trend_case, IsJudgedByItsTrend) {
    const trend_case& c = GetParam();
    heap_trend trend(c.cycles);
    for (long long cycle = 1; cycle <= c.cycles; ++cycle) {
        trend.add(cycle, c.heap(cycle, c.cycles));
    }
    EXPECT_EQ(trend.grows(), c.grows) << "bytes per cycle " << trend.bytesPerCycle();
}

constexpr long long base = 1200000;

// What the shipped component shows: growth in the first cycles, then 48
// bytes up and down from one cycle to the next, and two steps of the
// validator's own strings.
long long shipped(long long cycle) {
    return base + (cycle < 8 ? cycle * 500 : 4000) + (cycle % 2) * 48 + (cycle >= 88 ? 112 : 0) +
           (cycle >= 100 ? 96 : 0);
}

long long steps(long long cycle, long long cycles) {
    return base + (cycle > cycles / 2 ? 4096 : 0) + (cycle > cycles * 3 / 4 ? 4096 : 0);
}

long long noise(long long cycle, long long) {
    return base + static_cast<long long>(random_source(cycle).below(4096));
}

long long aBlockPerCycle(long long cycle, long long) {
    return shipped(cycle) + 32 * cycle;
}

long long aBlockEveryOtherCycle(long long cycle, long long) {
    return base + 32 * (cycle / 2);
}

long long twoBlocksPerCycleWithNoise(long long cycle, long long) {
    return base + 64 * cycle + static_cast<long long>(random_source(cycle).below(256));
}

std::vector<trend_case> cases() {
    const trend_case series[] = {
        {"flat", [](long long, long long) { return base; }, false, 0},
        {"shipped_component", [](long long cycle, long long) { return shipped(cycle); }, false, 0},
        {"steps_in_the_middle", steps, false, 0},
        {"bounded_random_noise", noise, false, 0},
        {"a_block_per_cycle", aBlockPerCycle, true, 0},
        {"a_block_every_other_cycle", aBlockEveryOtherCycle, true, 0},
        {"two_blocks_per_cycle_with_noise", twoBlocksPerCycleWithNoise, true, 0},
    };
    std::vector<trend_case> all;
    for (long long cycles : {60LL, 1000LL, 32000LL}) {
        for (trend_case one : series) {
            one.cycles = cycles;
            all.push_back(one);
        }
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(Series, heap_trend_case, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<trend_case>& tested) {
                             return std::string(tested.param.name) + "_" +
                                    std::to_string(tested.param.cycles);
                         });

TEST(HeapTrend, TooFewCyclesAreNotJudged) {
    heap_trend trend(heap_trend::fewestCycles - 1);
    for (long long cycle = 1; cycle < heap_trend::fewestCycles; ++cycle) {
        trend.add(cycle, base + 1024 * cycle);
    }
    EXPECT_FALSE(trend.judged());
    EXPECT_FALSE(trend.grows());
}

TEST(HeapTrend, AMemoryToolsOwnGrowthIsAllowed) {
    heap_trend trend(1000);
    for (long long cycle = 1; cycle <= 1000; ++cycle) {
        trend.add(cycle, base + 150 * cycle);
    }
    EXPECT_NEAR(trend.bytesPerCycle(), 150, 1);
    EXPECT_TRUE(trend.grows());
    EXPECT_FALSE(trend.grows(256));
    EXPECT_TRUE(trend.grows(100));
}

} // namespace
