// The console session: its exit status for every kind of input, the ways a
// session ends (all as quit does), the start from options, and what it
// prints for a user at a terminal.
#include "console_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

std::string settingsLine() {
    return std::string("settings ") + exampleSettings;
}

struct input_case {
    const char* name;
    std::string input;
    int status;
    const char* message; // a piece of the console's output
};

class ExitStatus : public testing::TestWithParam<input_case> {};

// Test that every malformed line counts in the exit status, whatever bytes
// it holds, and that failures and passes give theirs.
TEST_P(ExitStatus, FollowsTheWorstLine) {
    const input_case& c = GetParam();
    std::istringstream in(c.input);
    stream_line_source lines(in, false, nullptr);
    console_run run;
    run.run(lines);
    EXPECT_EQ(run.status, c.status) << run.out.str();
    EXPECT_NE(run.out.str().find(c.message), std::string::npos) << run.out.str();
}

const std::string passing = settingsLine() + "\nload Tavrin\npress ActivateCue\n" +
                            "expect property ActivateCue text Full Facs\n";

INSTANTIATE_TEST_SUITE_P(
    Console, ExitStatus,
    testing::Values(
        input_case{"random_bytes", "\x8f\x01zz\n\xff\xfe\x80\n\0\0abc\n\x7f\nq\xc3\x28uit\n"s, 2,
                   "0 failed, 5 malformed line(s)"},
        input_case{"arrow_key_from_a_file", "\x1b[A\n", 2,
                   "stdin:1: the line holds the control byte 0x1b at column 1: \"\\x1b[A\" "
                   "(editing keys such as the arrows work only at a terminal)"},
        input_case{"form_feed_before_a_statement", "\fpress ActivateCue\n", 2,
                   "control byte 0x0c at column 1"},
        input_case{"unknown_statement", "presss ActivateCue\n", 2,
                   "stdin:1: unknown statement 'presss'; did you mean 'press'?"},
        input_case{"line_too_long", std::string(console_max_line + 1, 'a') + "\nsay after\n", 2,
                   "stdin:1: the line is longer than 65536 bytes; it was skipped"},
        input_case{"passing_session", passing + "quit\n", 0, "console session: PASSED"},
        input_case{"windows_line_ends", "say hello\r\nquit\r\n", 0, "0 malformed line(s)"},
        input_case{"last_line_without_line_end", passing.substr(0, passing.size() - 1), 0,
                   "1 expectations met"},
        input_case{"failed_expectation", passing + "expect sent nothing like it\n", 1,
                   "expectation failed: expect sent nothing like it"},
        input_case{"failed_statement", "press ActivateCue\n", 1,
                   "no component is loaded (use load first)"},
        input_case{"failed_and_malformed", passing + "expect sent nothing\n\x01\n", 2,
                   "1 failed, 1 malformed line(s)"}),
    [](const testing::TestParamInfo<input_case>& param) { return std::string(param.param.name); });

// Test that quit, the end of the input and Ctrl-C end a session alike: the
// component destroyed, the summary printed, the same recording saved.
TEST(ConsoleSession, EveryEndingDestroysTheComponentAndSavesTheRecording) {
    scratch_folder folder;
    std::string recordings[3];
    const std::vector<std::string> session = {settingsLine(), "load Tavrin", "press ActivateCue"};
    const struct {
        std::vector<std::string> last;
        line_source::result end;
    } endings[] = {{{"quit", "press ActivateCue"}, line_source::result::end},
                   {{}, line_source::result::end},
                   {{}, line_source::result::interrupted}};
    for (size_t i = 0; i < 3; ++i) {
        std::vector<std::string> lines = session;
        lines.insert(lines.end(), endings[i].last.begin(), endings[i].last.end());
        scripted_lines source(lines, endings[i].end);
        interactive_options options;
        options.recordFile = folder.file("session" + std::to_string(i) + ".scenario");
        console_run run;
        run.run(source, options);
        EXPECT_EQ(run.status, 0) << run.out.str();
        EXPECT_TRUE(run.logHas(traffic_kind::in, "destroy the component")) << i;
        EXPECT_TRUE(run.logHas(traffic_kind::out, "AS")) << i;
        EXPECT_NE(run.out.str().find("---- console session: PASSED ----\n  3 statements run"),
                  std::string::npos)
            << run.out.str();
        EXPECT_NE(run.out.str().find("session saved as " + options.recordFile), std::string::npos);
        EXPECT_EQ(run.out.str().find("interrupted") != std::string::npos,
                  endings[i].end == line_source::result::interrupted);
        recordings[i] = readFile(options.recordFile);
    }
    EXPECT_NE(recordings[0].find("press ActivateCue\nexpect sent TP 'text=Full Facs'"),
              std::string::npos)
        << recordings[0];
    EXPECT_EQ(recordings[1], recordings[0]);
    EXPECT_EQ(recordings[2], recordings[0]);
}

// Test that a recording that cannot be saved fails the session and says so.
TEST(ConsoleSession, AnUnsavedRecordingFailsTheSession) {
    scratch_folder folder;
    scripted_lines lines({"say hello"});
    interactive_options options;
    options.recordFile = folder.path(); // a folder
    console_run run;
    run.run(lines, options);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.str().find("the session was not saved: cannot write '" + folder.path() + "'"),
              std::string::npos)
        << run.out.str();
}

// Test that the start runs the settings, then the scenario (its paths from
// its own folder), then the load, before the first typed line.
TEST(ConsoleSession, StartsFromSettingsScenarioAndLibrary) {
    scratch_folder folder;
    fs::create_directories(folder.file("facility"));
    fs::copy_file(std::string(exampleSettings) + "/object_settings.xml",
                  folder.file("facility/object_settings.xml"));
    writeFile(folder.file("start.scenario"), "settings facility\nrouter 7 1-16=20\n");
    interactive_options options;
    options.start.scenarioFile = folder.file("start.scenario");
    options.start.library = "Tavrin";
    scripted_lines lines({"expect sent PS '1' '${component}/p1.vrel_ui'", "expect sent RR 7 1 16",
                          "press ActivateCue", "expect property ActivateCue text Full Facs"});
    console_run run;
    run.run(lines, options);
    EXPECT_EQ(run.status, 0) << run.out.str();
    EXPECT_TRUE(
        run.logHas(traffic_kind::in, "route status: router 7, destination 3 has source 20"));
}

struct start_case {
    const char* name;
    console_start start;
    int status;
    const char* message;
    bool created; // the component was created
};

class StartProblems : public testing::TestWithParam<start_case> {};

// Test that a start that cannot run says which option is at fault; a
// malformed scenario runs nothing at all.
TEST_P(StartProblems, NameTheOption) {
    const start_case& c = GetParam();
    scratch_folder folder;
    writeFile(folder.file("malformed.scenario"), "router 7 1-16=20\nadvance soon\npresss X\n");
    writeFile(folder.file("failing.scenario"), "expect crosspoint 7 1 20\nsay not reached\n");
    console_start start = c.start;
    for (std::string* path : {&start.scenarioFile, &start.settingsFolder}) {
        if (!path->empty() && path->find('/') == std::string::npos) {
            *path = folder.file(*path);
        }
    }
    interactive_options options;
    options.start = start;
    scripted_lines lines({});
    console_run run;
    run.run(lines, options);
    EXPECT_EQ(run.status, c.status) << run.out.str();
    EXPECT_NE(run.out.str().find(c.message), std::string::npos) << run.out.str();
    EXPECT_EQ(run.logHas(traffic_kind::out, "AS"), c.created);
}

INSTANTIATE_TEST_SUITE_P(
    Console, StartProblems,
    testing::Values(start_case{"malformed_scenario",
                               {exampleSettings, "malformed.scenario", "Tavrin"},
                               2,
                               "malformed.scenario:2: advance: time 'soon'",
                               false},
                    start_case{
                        "missing_scenario", {"", "absent.scenario", ""}, 2, "--scenario: '", false},
                    start_case{"failing_scenario",
                               {exampleSettings, "failing.scenario", "Tavrin"},
                               1,
                               "failing.scenario: the rest of the file, from line 2, was not run",
                               true},
                    start_case{"missing_settings",
                               {"no_such_folder", "", ""},
                               1,
                               "--settings: settings folder '",
                               false},
                    start_case{"missing_library",
                               {exampleSettings, "", "NoSuchComponent"},
                               1,
                               "--load: load library: no library 'NoSuchComponent'",
                               false}),
    [](const testing::TestParamInfo<start_case>& param) { return std::string(param.param.name); });

// Test that what the user has just typed is not printed again as a step,
// that a file's lines are, and that the 16 statuses of a load are one line.
TEST(ConsoleSession, PrintsForAReaderAtTheScreen) {
    for (const bool typed : {true, false}) {
        scripted_lines lines({settingsLine(), "router 7 1-16=20 5=2", "load Tavrin"},
                             line_source::result::end, typed);
        interactive_options options;
        options.foldStatuses = true;
        console_run run;
        run.run(lines, options);
        const std::string printed = run.printed.str();
        EXPECT_EQ(printed.find("step    stdin:3  load Tavrin") != std::string::npos, !typed)
            << printed;
        EXPECT_NE(printed.find("route status x16: router 7, destinations 1-4, 6-16 have source "
                               "20; destination 5 has source 2"),
                  std::string::npos)
            << printed;
        EXPECT_EQ(printed.find("destination 7 has source 20"), std::string::npos);
        // The log keeps every status for the expectations: 16, with the
        // creation and the destruction.
        EXPECT_EQ(run.log.count(traffic_kind::in), 18u);
    }
}

} // namespace
