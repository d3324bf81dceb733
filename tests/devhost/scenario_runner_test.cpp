// The scenario runner's limits: what a long or greedy scenario may take.
#include "scenario_parser.h"
#include "scenario_runner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

statement line(const std::string& text, int number) {
    statement s;
    std::string error;
    EXPECT_EQ(parse_scenario_line("limits.scenario", number, text, false, s, error),
              line_result::statement)
        << error;
    return s;
}

TEST(ScenarioRunner, RouterLinesMayNotSetMoreThanAMillionCrosspoints) {
    traffic_log log;
    scenario_runner runner(log, runner_options{});
    int number = 0;
    for (; number < 10; ++number) {
        const std::string first = std::to_string(number * 100000 + 1);
        const std::string last = std::to_string(number * 100000 + 100000);
        ASSERT_TRUE(runner.run(line("router 7 " + first + "-" + last + "=20", number + 1)))
            << runner.failure();
    }
    EXPECT_FALSE(runner.run(line("router 7 1000001=20", 11)));
    EXPECT_EQ(runner.failure(), "limits.scenario:11: more than 1000000 crosspoints set by router "
                                "lines in all; the host keeps no more");
}

// A long run keeps the window it checks and a little before it, not every
// line of the traffic since the start.
TEST(ScenarioRunner, TheTrafficOfALongRunIsNotAllKept) {
    traffic_log log;
    scenario_runner runner(log, runner_options{});
    for (int number = 1; number <= 20000; ++number) {
        ASSERT_TRUE(runner.run(line("route 7 3=" + std::to_string(number), number)));
    }
    EXPECT_GE(log.size(), 40000u);
    EXPECT_LE(log.kept().size(), traffic_log::recentKept + 2);
    EXPECT_TRUE(runner.run(line("expect crosspoint 7 3=20000", 20001))) << runner.failure();
}

} // namespace
