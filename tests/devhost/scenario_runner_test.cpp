// The scenario runner's limits: what a long or greedy scenario may take.
#include "scenario_parser.h"
#include "scenario_runner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#if !defined(_WIN32)
#include "child_process.h"

#include <cstdlib>
#include <sys/stat.h>
#endif

#ifndef VREL_TAVRIN_FOLDER
#error "VREL_TAVRIN_FOLDER names the folder of the cue control's library"
#endif

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

#if !defined(_WIN32)
// Test that loading a FIFO named as a library is refused at once with the
// file and line, rather than waiting forever for something to write to it.
TEST(ScenarioRunner, AFifoIsRefusedAsALibrary) {
    char pattern[] = "/tmp/vrel_fifo_load_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    const std::string fifo = folder + "/libFifo.so";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const child_outcome outcome = runInChild(
        [&fifo] {
            traffic_log log;
            scenario_runner runner(log, runner_options{});
            if (runner.run(line("load " + fifo, 3))) {
                return std::string("loaded");
            }
            const std::string expected =
                "limits.scenario:3: load library: '" + fifo + "': not a regular file (a FIFO)";
            return runner.failure() == expected ? std::string()
                                                : "the failure was: " + runner.failure();
        },
        std::chrono::milliseconds(3000));
    EXPECT_TRUE(outcome.finished) << "the load did not return within 3 s";
    EXPECT_EQ(outcome.failures, "");
    EXPECT_EQ(std::system(("rm -rf '" + folder + "'").c_str()), 0);
}
#endif

// A window of statements that cause nothing ("say", for hours at a console)
// is bounded too: its newest entries stay, and a failure says the rest went.
TEST(ScenarioRunner, ALongWindowKeepsItsNewestEntries) {
    traffic_log log;
    scenario_runner runner(log, runner_options{});
    ASSERT_TRUE(runner.run(line("route 7 3=1", 1))) << runner.failure();
    for (int number = 2; number <= 150001; ++number) {
        ASSERT_TRUE(runner.run(line("say hi", number))) << runner.failure();
    }
    EXPECT_LE(log.kept().size(), scenario_runner::windowKept + 1);
    EXPECT_TRUE(runner.run(line("expect crosspoint 7 3=1", 150002))) << runner.failure();
    EXPECT_FALSE(runner.run(line("expect sent RC 7 1 3 ',' 1", 150003)));
    EXPECT_NE(runner.failure().find("(of this window only the newest 100000 log entries are kept)"),
              std::string::npos)
        << runner.failure();
}

// A runner with the cue control loaded, from the example settings.
struct loaded_runner {
    loaded_runner() {
        runner_options options;
        options.libraryFolders = {VREL_TAVRIN_FOLDER};
        runner = std::make_unique<scenario_runner>(log, options);
        EXPECT_TRUE(runner->run(line(std::string("settings ") + VREL_EXAMPLE_SETTINGS, 1)))
            << runner->failure();
        EXPECT_TRUE(runner->run(line("load Tavrin", 2))) << runner->failure();
    }
    traffic_log log;
    std::unique_ptr<scenario_runner> runner;
};

// The virtual clock never wraps round: an advance that would take it past
// its end is refused with the file and line, and the clock stays where it
// was.
TEST(ScenarioRunner, AnAdvancePastTheEndOfTheClockIsRefused) {
    loaded_runner loaded;
    scenario_runner& runner = *loaded.runner;
    const int64_t nearTheEnd = std::numeric_limits<int64_t>::max() / 2 - 1000;
    runner.host().advance(nearTheEnd);
    ASSERT_EQ(runner.host().now(), nearTheEnd);
    ASSERT_TRUE(runner.run(line("advance 1s", 3))) << runner.failure();
    EXPECT_FALSE(runner.run(line("advance 1ms", 4)));
    EXPECT_EQ(runner.failure(),
              "limits.scenario:4: advance 1 ms: the virtual clock would pass its end, "
              "4611686018427387903 ms (it is at 4611686018427387903 ms); it stays where it is");
    EXPECT_FALSE(runner.run(line("advance 1000000000000", 5)));
    EXPECT_EQ(runner.host().now(), nearTheEnd + 1000);
    EXPECT_TRUE(runner.run(line("expect timer 1 stopped", 6))) << runner.failure();
}

// A failure names what the scenario said and what was seen with their control
// bytes escaped: nothing of it can act on the terminal it is printed on.
TEST(ScenarioRunner, AFailureShowsControlBytesEscaped) {
    loaded_runner loaded;
    scenario_runner& runner = *loaded.runner;
    ASSERT_TRUE(runner.run(line("parent Take=1", 3))) << runner.failure();
    const struct {
        const char* text;
        const char* shown;
    } rows[] = {
        {"expect sent \x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
        {"expect property CueInfo text ok\rFAIL", "ok\\x0dFAIL"},
        {"press Activate\x1b[2JCue", "Activate\\x1b[2JCue"},
    };
    int number = 4;
    for (const auto& row : rows) {
        EXPECT_FALSE(runner.run(line(row.text, number++)));
        const std::string failure = runner.failure();
        EXPECT_NE(failure.find(row.shown), std::string::npos) << failure;
        EXPECT_EQ(failure.find_first_of("\x1b\x07\r"), std::string::npos) << failure;
    }
}

} // namespace
