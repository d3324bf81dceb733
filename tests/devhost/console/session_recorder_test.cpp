// A recorded session plays back and passes, whatever the user expected
// along the way: the recorder's own expectations never take what the user's
// were meant for.
#include "console_fixture.h"
#include "scenario_file.h"
#include "scenario_parser.h"
#include "session_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct recording_case {
    const char* name;
    std::vector<std::string> typed; // after the settings and the load
    const char* recorded;           // a piece of the recording
    const char* absent = nullptr;   // what the recording must not hold
};

class RecordAndReplay : public testing::TestWithParam<recording_case> {};

TEST_P(RecordAndReplay, PassesOnReplay) {
    const recording_case& c = GetParam();
    scratch_folder folder;
    std::vector<std::string> lines = {std::string("settings ") + exampleSettings,
                                      "router 7 1-16=20", "load Tavrin"};
    lines.insert(lines.end(), c.typed.begin(), c.typed.end());
    scripted_lines source(lines);
    interactive_options options;
    options.recordFile = folder.file("recorded.scenario");
    console_run run;
    run.run(source, options);
    ASSERT_EQ(run.status, 0) << run.out.str();
    const std::string recording = readFile(options.recordFile);
    EXPECT_NE(recording.find(c.recorded), std::string::npos) << recording;
    if (c.absent != nullptr) {
        EXPECT_EQ(recording.find(c.absent), std::string::npos) << recording;
    }

    runner_options replay;
    replay.libraryFolders = {componentFolder};
    std::ostringstream summary;
    std::ostringstream errors;
    EXPECT_EQ(run_scenario_file(options.recordFile, replay, nullptr, summary, errors).exit,
              scenario_passed)
        << errors.str() << "\n"
        << recording;
}

// "fault hold 7" makes the host note each status it holds back.
INSTANTIATE_TEST_SUITE_P(
    Console, RecordAndReplay,
    testing::Values(
        recording_case{"user_expects_a_note_at_once",
                       {"fault hold 7", "route 7 5=3", "expect flagged status held back"},
                       "route 7 5=3\nexpect flagged status held back\n# the host flagged: status "
                       "held back: router 7, destination 5 has source 3\nexpect nothing sent\n"},
        recording_case{"user_expects_a_note_later",
                       {"fault hold 7", "route 7 5=3", "press ActivateCue",
                        "expect flagged destination 5 has source 3"},
                       "expect flagged destination 5 has source 3\n"},
        recording_case{
            "piece_that_an_earlier_note_also_holds",
            {"fault hold 7", "route 7 15=3", "route 7 1=3", "expect flagged destination 1"},
            "# What the host flagged that no expectation above took.\nexpect flagged "
            "status held back: router 7, destination 1 has source 3\n"},
        recording_case{"no_expectation_of_the_user",
                       {"fault hold 7", "route 7 5=3"},
                       "expect flagged status held back: router 7, destination 5 has source 3\n"},
        recording_case{"user_expects_the_first_command",
                       {"press ActivateCue", "expect sent TP 'text=Full Facs' '1' 'ActivateCue'"},
                       "press ActivateCue\nexpect sent TP 'text=Full Facs' '1' 'ActivateCue'\n"
                       "expect sent TP 'text=Click to remove cue' '1' 'CueText'\n"
                       "expect nothing sent\n"},
        recording_case{"user_expects_every_command",
                       {"press ActivateCue", "expect sent TP 'text=Full Facs' '1' 'ActivateCue'",
                        "expect sent TP 'text=Click to remove cue' '1' 'CueText'",
                        "expect nothing sent"},
                       "'CueText'\nexpect nothing sent\n",
                       "expect nothing sent\nexpect nothing sent"}),
    [](const testing::TestParamInfo<recording_case>& param) {
        return std::string(param.param.name);
    });

// A long session keeps a bounded recording: it stops at 100,000 lines and
// says where, and how many statements it left out.
TEST(SessionRecorder, ALongSessionKeepsABoundedRecording) {
    traffic_log log;
    scenario_runner runner(log, runner_options{});
    session_recorder recorder;
    for (int number = 1; number <= 150000; ++number) {
        statement s;
        std::string error;
        ASSERT_EQ(parse_scenario_line("typed", number, "say hi", true, s, error),
                  line_result::statement);
        ASSERT_TRUE(runner.run(s)) << runner.failure();
        recorder.record(s, runner, log);
    }
    const std::string text = recorder.scenarioText("recorded.scenario");
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_LE(lines, 100010u);
    EXPECT_NE(text.find("# The recording stops here, at its bound of 100000 lines: 50000 later "
                        "statement(s)"),
              std::string::npos)
        << text.substr(text.size() > 400 ? text.size() - 400 : 0);
}

} // namespace
