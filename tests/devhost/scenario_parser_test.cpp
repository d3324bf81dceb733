// Reading scenario lines: what each statement takes apart, and the message
// for every kind of malformed line, with file and line for whole files.
#include "scenario_parser.h"
#include "scenario_source.h"

#include "row_name.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

namespace {

statement parsed(const std::string& line, bool interactive = false) {
    statement s;
    std::string error;
    const line_result result = parse_scenario_line("t.scenario", 3, line, interactive, s, error);
    EXPECT_EQ(result, line_result::statement) << line << ": " << error;
    return s;
}

TEST(ScenarioParser, FreeTextsRunToTheEndOfTheLineExactly) {
    const statement sent = parsed("expect sent TP 'text=a |b' '1' 'CueInfo'");
    EXPECT_EQ(sent.kind, statement_kind::expect_sent);
    EXPECT_EQ(sent.text, "TP 'text=a |b' '1' 'CueInfo'");
    EXPECT_EQ(sent.where(), "t.scenario:3");

    const statement debug = parsed(R"(expect debug "not even \"this\" \n")");
    EXPECT_EQ(debug.text, "not even \"this\" \n");

    // An empty text is written as "", never as nothing.
    const statement property = parsed("expect property 2:CueInfo text \"\"");
    EXPECT_EQ(property.words, (std::vector<std::string>{"2", "CueInfo", "text"}));
    EXPECT_EQ(property.text, "");
    EXPECT_EQ(property.warning, "");

    const statement parent = parsed("parent Source=12");
    EXPECT_EQ(parent.text, "Source=12");
    // A trailing carriage return (a file saved with CRLF) is not part of the text.
    EXPECT_EQ(parsed("parent Take=1\r").text, "Take=1");
}

TEST(ScenarioParser, NumbersRangesAndDurations) {
    const statement router = parsed("router 7 1-16=20 5=2");
    EXPECT_EQ(router.numbers, (std::vector<int64_t>{7, 1, 16, 20, 5, 5, 2}));

    EXPECT_EQ(parsed("advance 5s").numbers, (std::vector<int64_t>{5000}));
    EXPECT_EQ(parsed("advance 250ms").numbers, (std::vector<int64_t>{250}));
    EXPECT_EQ(parsed("advance 0").numbers, (std::vector<int64_t>{0}));

    // Destination before source everywhere.
    const statement route = parsed("route 7 3=5 silently");
    EXPECT_EQ(route.numbers, (std::vector<int64_t>{7, 3, 5}));
    EXPECT_TRUE(route.flag);
    EXPECT_EQ(parsed("status 7 3=5").numbers, (std::vector<int64_t>{7, 3, 5}));
    EXPECT_EQ(parsed("status 7 3 5").numbers, (std::vector<int64_t>{7, 3, 5}));
    EXPECT_EQ(parsed("expect crosspoint 7 3=5").numbers, (std::vector<int64_t>{7, 3, 5}));

    const statement delay = parsed("fault delay 7 2s");
    EXPECT_EQ(delay.fault, status_fault::delay);
    EXPECT_EQ(delay.numbers, (std::vector<int64_t>{7, 2000}));
    EXPECT_TRUE(parsed("fault release 7").flag);
    EXPECT_TRUE(parsed("replies hold").flag);
    EXPECT_FALSE(parsed("replies release").flag);
    EXPECT_TRUE(parsed("replies release").isAction());

    const statement load = parsed("load \"my lib.so\" path \"\"");
    EXPECT_EQ(load.words, (std::vector<std::string>{"my lib.so", ""}));
    EXPECT_TRUE(load.flag);

    const statement timer = parsed("expect timer 1 due 5s");
    EXPECT_EQ(timer.numbers, (std::vector<int64_t>{1, 5000}));
    EXPECT_EQ(timer.words, (std::vector<std::string>{"due"}));
}

TEST(ScenarioParser, BlankLinesAndComments) {
    statement s;
    std::string error;
    for (const char* line : {"", "   ", "# a comment", "  #indented", "\r"}) {
        EXPECT_EQ(parse_scenario_line("f", 1, line, false, s, error), line_result::blank) << line;
    }
}

struct bad_line {
    const char* line;
    const char* message; // a piece of the error
};

class RefusesScenarioLine : public testing::TestWithParam<bad_line> {};

TEST_P(RefusesScenarioLine, SaysWhatIsWrong) {
    statement s;
    std::string error;
    EXPECT_EQ(parse_scenario_line("f", 1, GetParam().line, false, s, error), line_result::error)
        << GetParam().line;
    EXPECT_NE(error.find(GetParam().message), std::string::npos)
        << GetParam().line << " gave: " << error;
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, RefusesScenarioLine,
    testing::Values(
        bad_line{"presss ActivateCue", "unknown statement 'presss'; did you mean 'press'?"},
        bad_line{"press", "missing control to press"}, bad_line{"press A B", "unexpected 'B'"},
        bad_line{"status 7 x 3", "destination 'x' is not a whole number"},
        bad_line{"status 7 3", "missing source"},
        bad_line{"route 7 3=5 quietly", "'silently' or nothing"},
        bad_line{"route 7 5 3", "the old form 'route <device> <source> <destination>'"},
        bad_line{"route 7 3=x", "crosspoint '3=x' is not destination=source"},
        bad_line{"status 7 3=", "crosspoint '3=' is not destination=source"},
        bad_line{"router 7 1-60000=20 60001-120000=20", "split them over several router lines"},
        bad_line{"wait 5s", "did you mean 'advance'?"},
        bad_line{"expect property CueInfo text", "missing the property's text (write \"\""},
        bad_line{"expect info 9 5", "missing the slot's text"},
        bad_line{"router 7", "at least one crosspoint"},
        bad_line{"router 7 16-1=20", "first-last=source"},
        bad_line{"router 7 3:5", "destination=source"},
        bad_line{"router 7 1-999999=20", "longer than 100000"},
        bad_line{"advance soon", "not a duration"}, bad_line{"advance -5", "not a duration"},
        bad_line{"advance 5h", "not a duration"},
        bad_line{"fault wobble 7", "unknown fault 'wobble'"},
        bad_line{"fault delay 7", "missing delay"}, bad_line{"expect", "missing what to expect"},
        bad_line{"replies", "missing hold or release"},
        bad_line{"replies keep", "'keep' is not hold or release"},
        bad_line{"replies hold 3", "unexpected '3'"},
        bad_line{"expect sometimes x", "unknown expectation 'sometimes'"},
        bad_line{"expect sent", "missing the command text"},
        bad_line{"expect nothing else", "unknown expectation 'nothing else'"},
        bad_line{"expect timer 1 asleep", "not running, stopped or due"},
        bad_line{"expect debug \"open", "without its closing"},
        bad_line{"expect debug \"x\" y", "text after the closing quote"},
        bad_line{"expect debug \"\\q\"", "unknown escape"},
        bad_line{"load Tavrin from x", "'path <component path>'"},
        bad_line{"parent", "missing the command text"}, bad_line{"show a b c", "at most two words"},
        bad_line{"help", "interactive use only"}, bad_line{"quit", "interactive use only"},
        bad_line{"save x.scenario", "interactive use only"}),
    rows_named_by(&bad_line::line));

TEST(ScenarioParser, PatternsAndPiecesAreMarked) {
    const statement like = parsed("expect sent like RC 7 * ',' 1");
    EXPECT_TRUE(like.flag);
    EXPECT_EQ(like.text, "RC 7 * ',' 1");
    // Without the keyword the text is compared exactly, "*" and all.
    const statement exact = parsed("expect sent likeness");
    EXPECT_FALSE(exact.flag);
    EXPECT_EQ(exact.text, "likeness");
    const statement contains = parsed("expect debug contains cueoffsource=");
    EXPECT_TRUE(contains.flag);
    EXPECT_EQ(contains.text, "cueoffsource=");
}

TEST(ScenarioParser, TrailingBlanksOfAnUnquotedTextDrawAWarning) {
    EXPECT_NE(parsed("expect reply CueRouter=7  ").warning.find("ends in blanks"),
              std::string::npos);
    EXPECT_EQ(parsed("expect reply \"CueRouter=7  \"").warning, "");
    EXPECT_EQ(parsed("expect reply CueRouter=7").warning, "");
}

TEST(ScenarioParser, ClosestWordsAreOfferedOnlyWhenClose) {
    EXPECT_EQ(closest_statement("advnace"), "advance");
    EXPECT_EQ(closest_statement("sleep"), "advance");
    EXPECT_EQ(closest_statement("xyzzy"), "");
    EXPECT_EQ(closest_word("ActivateCeu", {"ActivateCue", "CueText"}), "ActivateCue");
    EXPECT_EQ(closest_word("Zzz", {"ActivateCue", "CueText"}), "");
}

// A malformed word of 10 MB, wherever it stands, is refused in linear time
// and small memory, and the message quotes only its start, control bytes
// escaped.
TEST(ScenarioParser, AHugeMalformedWordIsCutInTheMessageAndReadQuickly) {
#if defined(_WIN32)
    // The 32-bit build runs under an emulator with a small heap.
    constexpr size_t length = size_t{1} << 20;
#else
    constexpr size_t length = size_t{10} << 20;
#endif
    const std::string huge = "\x1b]0;" + std::string(length, 'w');
    const std::string quoted = "'\\x1b]0;" + std::string(36, 'w') + "...'";
    const struct {
        std::string line;
        std::string message;
    } rows[] = {
        {huge, "unknown statement " + quoted},
        {"advance " + huge, "advance: time " + quoted + " is not a duration"},
        {"route 7 " + huge, quoted + " is not"},
        {"press A " + huge, "press: unexpected " + quoted + " at the end of the line"},
        {"fault " + huge + " 7", "fault: unknown fault " + quoted},
    };
    for (const auto& row : rows) {
        statement s;
        std::string error;
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(parse_scenario_line("f", 1, row.line, false, s, error), line_result::error);
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_NE(error.find(row.message), std::string::npos) << error.substr(0, 200);
        EXPECT_LT(error.size(), 200u);
        EXPECT_LT(took, std::chrono::seconds(2))
            << row.message << ": "
            << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
    }
    // A guess is still offered for a word near enough, and not for a long one.
    EXPECT_EQ(closest_word(std::string(100000, 'x'), {"ActivateCue", "CueText"}), "");
    EXPECT_EQ(closest_word("CueTxet", {"ActivateCue", "CueText", "CueInfo"}), "CueText");
}

TEST(ScenarioParser, InteractiveWordsAreAllowedInteractively) {
    EXPECT_EQ(parsed("help", true).kind, statement_kind::help);
    EXPECT_EQ(parsed("save out.scenario", true).words, (std::vector<std::string>{"out.scenario"}));
    EXPECT_EQ(parsed("exit", true).kind, statement_kind::quit);
}

TEST(ScenarioParser, WholeFileReportsEveryBadLineWithFileAndLine) {
    scenario_source source;
    EXPECT_FALSE(source.parse("demo.scenario", "load Tavrin\n"
                                               "# fine\n"
                                               "presss ActivateCue\n"
                                               "\n"
                                               "advance later\n"
                                               "parent Take=1\n"));
    EXPECT_TRUE(source.readable());
    EXPECT_EQ(source.failure(), "demo.scenario: not run: 2 malformed line(s)");
    const std::vector<std::string>& errors = source.messages();
    const std::vector<statement> statements = source.statements();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].rfind("demo.scenario:3: unknown statement 'presss'", 0), 0u) << errors[0];
    EXPECT_EQ(errors[1].rfind("demo.scenario:5: advance: time 'later'", 0), 0u) << errors[1];
    ASSERT_EQ(statements.size(), 2u);
    EXPECT_EQ(statements[1].line, 6);
}

} // namespace
