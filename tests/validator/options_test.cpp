// The validator's command line: what it accepts, what it refuses with a
// reason, and the counts and limits each strictness level gives.
#include "options.h"

#include "row_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct parsed {
    bool ok;
    std::string error;
    validator_options options;
};

parsed parseLine(std::vector<const char*> words) {
    words.insert(words.begin(), "vrel-validate");
    parsed result;
    result.ok =
        parseOptions(static_cast<int>(words.size()), words.data(), result.options, result.error);
    return result;
}

TEST(Options, TheDefaultsAreLevelFiveWithAFreshSeed) {
    const parsed p = parseLine({"lib.so", "settings"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.library, "lib.so");
    EXPECT_EQ(p.options.settingsFolder, "settings");
    EXPECT_EQ(p.options.level, 5);
    EXPECT_FALSE(p.options.seedGiven);
    EXPECT_EQ(cycleCount(p.options), 1000);
    EXPECT_EQ(notificationCount(p.options), 1000000);
    EXPECT_EQ(timeoutSeconds(p.options), 300);
}

TEST(Options, EveryOptionIsRead) {
    const parsed p = parseLine({"--level", "8", "--seed", "0x2a", "--timeout", "9", "--cycles",
                                "12", "--notifications", "0", "--tests", "soak,hostile",
                                "--component-path", "dir", "--no-fork", "-v", "-v", "a.so", "s"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.level, 8);
    EXPECT_TRUE(p.options.seedGiven);
    EXPECT_EQ(p.options.seed, 42u);
    EXPECT_EQ(timeoutSeconds(p.options), 9);
    EXPECT_EQ(cycleCount(p.options), 12);
    EXPECT_EQ(notificationCount(p.options), 0);
    EXPECT_EQ(p.options.tests, (std::vector<std::string>{"soak", "hostile"}));
    EXPECT_EQ(p.options.componentPath, "dir");
    EXPECT_FALSE(p.options.isolate);
    EXPECT_EQ(p.options.verbosity, 3);
}

struct refused_line {
    std::vector<const char*> words;
    const char* reason; // a fragment of the error
};

class refused : public testing::TestWithParam<refused_line> {};

TEST_P(refused, SaysWhy) {
    const parsed p = parseLine(GetParam().words);
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.find(GetParam().reason), std::string::npos) << p.error;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, refused,
    testing::Values(refused_line{{}, "expected a component library and a settings folder"},
                    refused_line{{"a.so"}, "got 1 argument"},
                    refused_line{{"a", "b", "c"}, "got 3 argument"},
                    refused_line{{"--level", "0", "a", "b"}, "level from 1 to 10"},
                    refused_line{{"--level", "11", "a", "b"}, "level from 1 to 10"},
                    refused_line{{"--level", "5x", "a", "b"}, "level from 1 to 10"},
                    refused_line{{"a", "b", "--level"}, "--level needs a value"},
                    refused_line{{"--seed", "-1", "a", "b"}, "non-negative"},
                    refused_line{{"--seed", "99999999999999999999", "a", "b"}, "non-negative"},
                    refused_line{{"--timeout", "0", "a", "b"}, "seconds"},
                    refused_line{{"--cycles", "0", "a", "b"}, "count"},
                    refused_line{{"--tests", "soak,nap", "a", "b"}, "not 'nap'"},
                    refused_line{{"--frobnicate", "a", "b"}, "unknown option --frobnicate"},
                    refused_line{{"-q", "-v", "a", "b"}, "give one of them"},
                    refused_line{{"--component-path"}, "--component-path needs a value"}),
    rows_named_by(&refused_line::reason));

// Every option keeps its short form and its count.
TEST(Options, QuietAndRepeatedVerboseAreCounted) {
    EXPECT_EQ(parseLine({"-q", "a", "b"}).options.verbosity, 0);
    EXPECT_EQ(parseLine({"-vv", "a", "b"}).options.verbosity, 3);
    EXPECT_EQ(parseLine({"a", "b"}).options.verbosity, 1);
    EXPECT_EQ(parseLine({"--seed", "18446744073709551615", "a", "b"}).options.seed,
              18446744073709551615u);
}

TEST(Options, TheJsonFileAndTheReplayLine) {
    const parsed p = parseLine({"--json", "r.json", "--cycles", "70", "a", "b"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.jsonFile, "r.json");
    // A run is replayed with its seed, its level and the counts it was given.
    EXPECT_EQ(replayArguments(p.options, 7), "--seed 7 --level 5 --cycles 70");
    EXPECT_EQ(parseLine({"a", "b", "--json"}).error, "--json needs a value");
}

TEST(Options, HelpIsNotAnError) {
    const parsed p = parseLine({"--help"});
    EXPECT_FALSE(p.ok);
    EXPECT_TRUE(p.error.empty());
    EXPECT_NE(std::string(usageText()).find("--level"), std::string::npos);
}

TEST(Options, HigherLevelsRunLongerAndAllowLonger) {
    validator_options options;
    long long lastCycles = 0;
    long long lastNotifications = -1;
    int lastTimeout = 0;
    for (int level = 1; level <= 10; ++level) {
        options.level = level;
        EXPECT_GT(cycleCount(options), lastCycles - 1) << level;
        EXPECT_GT(notificationCount(options), lastNotifications) << level;
        EXPECT_GE(timeoutSeconds(options), lastTimeout) << level;
        lastCycles = cycleCount(options);
        lastNotifications = notificationCount(options);
        lastTimeout = timeoutSeconds(options);
    }
    options.level = 1;
    EXPECT_EQ(cycleCount(options), 10);
    options.level = 10;
    EXPECT_EQ(notificationCount(options), 32000000);
}

// The lifecycle test runs enough cycles to judge the heap unless told otherwise.
TEST(Options, TheLifecycleRunsAtLeastTheCyclesTheHeapNeeds) {
    validator_options options;
    options.level = 1;
    EXPECT_EQ(lifecycleCycles(options), 60);
    options.level = 5;
    EXPECT_EQ(lifecycleCycles(options), 1000);
    options.cycles = 12;
    EXPECT_EQ(lifecycleCycles(options), 12);
}

} // namespace
