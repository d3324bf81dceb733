// The host's reading of command texts: every shape the frame's builders
// produce, texts holding the characters that separate arguments, and
// malformed texts that must be refused with a reason.
#include "command_reader.h"

#include "row_name.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct good_case {
    const char* text;
    command_word word;
    std::vector<std::string> texts;
    std::vector<int32_t> numbers;
    bool add;
};

// Cases print as their text: the default byte dump reads padding.
void PrintTo(const good_case& c, std::ostream* out) {
    *out << c.text;
}

class ReadsCommandText : public testing::TestWithParam<good_case> {};

TEST_P(ReadsCommandText, SplitsIntoArguments) {
    const good_case& c = GetParam();
    const command_reading reading = read_command_text(c.text);
    ASSERT_TRUE(reading.ok) << c.text << ": " << reading.problem;
    EXPECT_EQ(reading.command.word, c.word);
    EXPECT_EQ(reading.command.texts, c.texts);
    EXPECT_EQ(reading.command.numbers, c.numbers);
    EXPECT_EQ(reading.command.add, c.add);
}

INSTANTIATE_TEST_SUITE_P(
    EveryWord, ReadsCommandText,
    testing::Values(
        good_case{"PS '1' 'p1.vrel_ui'", command_word::PS, {"1", "p1.vrel_ui"}, {}, false},
        good_case{"PS '1' 'dir/p1.vrel_ui' 'x'",
                  command_word::PS,
                  {"1", "dir/p1.vrel_ui", "x"},
                  {},
                  false},
        good_case{"TP 'text=Full Facs' '1' 'ActivateCue'",
                  command_word::TP,
                  {"text=Full Facs", "1", "ActivateCue"},
                  {},
                  false},
        good_case{
            "TP 'text=' '1' 'CueInfo'", command_word::TP, {"text=", "1", "CueInfo"}, {}, false},
        // A value holding "|", "=" and the separator "' '" stays whole.
        good_case{"TP 'text=a | b=c' 'd' '1' 'CueInfo'",
                  command_word::TP,
                  {"text=a | b=c' 'd", "1", "CueInfo"},
                  {},
                  false},
        good_case{"TG '1' 'alm_3' 'value'", command_word::TG, {"1", "alm_3", "value"}, {}, false},
        good_case{"XI '1' 'alm_'", command_word::XI, {"1", "alm_"}, {}, false},
        good_case{"IW 9 'grey' 12 1", command_word::IW, {"grey"}, {9, 12, 1}, false},
        // An info text may hold quotes, spaces and numbers.
        good_case{"IW 9 'it's 5 1' -1 0", command_word::IW, {"it's 5 1"}, {9, -1, 0}, false},
        good_case{"IW 9 '' 3 1", command_word::IW, {""}, {9, 3, 1}, false},
        good_case{"RC 5 31 3 ',' 1", command_word::RC, {""}, {5, 31, 3, 1}, false},
        good_case{"RC 5 40 -1 ',x y' 0", command_word::RC, {"x y"}, {5, 40, -1, 0}, false},
        good_case{"RR 7 1 16", command_word::RR, {}, {7, 1, 16}, false},
        good_case{"RR 7 1 16 'ADD'", command_word::RR, {}, {7, 1, 16}, true},
        good_case{"RP 7 1 16", command_word::RP, {}, {7, 1, 16}, false},
        good_case{"ET 1 5000", command_word::ET, {}, {1, 5000}, false},
        good_case{"ET 1", command_word::ET, {}, {1}, false},
        good_case{"ET -2147483648 2147483647", command_word::ET, {}, {INT32_MIN, INT32_MAX}, false},
        good_case{"AS", command_word::AS, {}, {}, false}),
    rows_named_by(&good_case::text));

struct bad_case {
    const char* text;
    const char* problem; // a piece of the reason given
};

class RefusesCommandText : public testing::TestWithParam<bad_case> {};

TEST_P(RefusesCommandText, SaysWhy) {
    const bad_case& c = GetParam();
    const command_reading reading = read_command_text(c.text);
    EXPECT_FALSE(reading.ok) << c.text;
    EXPECT_NE(reading.problem.find(c.problem), std::string::npos)
        << c.text << " gave: " << reading.problem;
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, RefusesCommandText,
    testing::Values(
        bad_case{"", "empty"}, bad_case{"ZZ 1", "unknown command word 'ZZ'"},
        bad_case{"ps '1' 'x'", "unknown command word 'ps'"},
        bad_case{"PSX '1' 'x'", "unknown command word 'PSX'"},
        bad_case{"TP 'text=x' '1' 'CueInfo", "unterminated quote"},
        bad_case{"TP '", "unterminated quote"},
        bad_case{"TP 'text=x' '1'", "wrong number of arguments"},
        bad_case{"TP 'text' '1' 'CueInfo'", "no '='"},
        bad_case{"PS '1'", "wrong number of arguments"},
        bad_case{"XI '1'", "wrong number of arguments"},
        bad_case{"RR 7 1", "wrong number of arguments"}, bad_case{"RR 7 1 16 'MORE'", "only 'ADD'"},
        bad_case{"RP 7 1 16 17", "wrong number of arguments"},
        bad_case{"RP 7 x 16", "'x' is not a plain decimal number"},
        bad_case{"RP 7  16", "two spaces"}, bad_case{"RP 7 1 016", "'016'"},
        bad_case{"RP 7 1 +16", "'+16'"}, bad_case{"RP 7 1 2147483648", "2147483648"},
        bad_case{"ET", "wrong number of arguments"},
        bad_case{"ET 1 2 3", "wrong number of arguments"}, bad_case{"AS ", "ends with a space"},
        bad_case{"AS 1", "wrong number of arguments"}, bad_case{"IW 9 'grey' 12 2", "flag is 2"},
        bad_case{"IW 9 'grey' 12", "not a plain decimal number"},
        bad_case{"RC 5 31 3 'x' 1", "does not start with ','"},
        bad_case{"RC 5 31 3 ',' 7", "flag is 7"}),
    rows_named_by(&bad_case::text));

// Exactly the forms a component may send are accepted: the quoted texts are
// taken as they are, numbers are plain signed 32-bit decimal, flags 0 or 1.
class AcceptsForm : public testing::TestWithParam<const char*> {};

TEST_P(AcceptsForm, IsRead) {
    EXPECT_TRUE(read_command_text(GetParam()).ok) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    Forms, AcceptsForm,
    testing::Values("AS", "PS '1' 'p1.vrel_ui'", "PS '1' 'dir/p1.vrel_ui' 'x'", "PS '' ''",
                    "TP 'text=Full Facs' '1' 'ActivateCue'", "TP 'text=' '1' 'CueInfo'",
                    "TP 'text=This music source |can not receive cue |You are getting "
                    "listen-only' '1' 'CueInfo'",
                    "TP 'text=Studio 'A' has the cue | You' '1' 'CueInfo'",
                    "TG '1' 'alm_3' 'value'", "XI '1' 'alm_'", "IW 9 'grey' 12 1",
                    "IW -1 '' -2147483648 0", "RC 5 31 3 ',' 1", "RC 5 40 -1 ',x y' 0", "RR 7 1 16",
                    "RR 7 1 16 'ADD'", "RR 2147483647 -2147483648 0", "RP 7 1 16", "ET 1 5000",
                    "ET 1", "ET 0", "ET -5"),
    rows_named_by_value());

class RefusesForm : public testing::TestWithParam<const char*> {};

TEST_P(RefusesForm, IsNotRead) {
    const command_reading reading = read_command_text(GetParam());
    EXPECT_FALSE(reading.ok) << GetParam();
    EXPECT_FALSE(reading.problem.empty()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Faults, RefusesForm,
                         testing::Values(
                             // Words, spacing, line ends.
                             "", "as", "AS ", " AS", "AS\n", "XX 1", "PS", "PS '1'", "PS '1'  'f'",
                             "PS '1' 'f'\n",
                             // Quotes missing or unbalanced.
                             "PS 1 'f'", "PS '1' f", "TG '1' 'c' 'p", "XI '1'",
                             // TP needs property=value in its first text.
                             "TP 'text' '1' 'CueInfo'", "TP 'text=x' '1'",
                             // Numbers: plain signed 32-bit decimal only.
                             "ET", "ET 01", "ET +1", "ET -0", "ET 1 2 3", "ET 2147483648",
                             "ET -2147483649", "ET 1x", "ET -", "RR 7 1", "RR 7 1 16 ADD",
                             "RR 7 1 16 'add'", "RP 7 1 16 'ADD'", "RR 99999999999 1 16",
                             // Flags are 0 or 1.
                             "IW 9 'grey' 12 2", "IW 9 'grey' 12", "RC 5 31 3 ',' 2",
                             "RC 5 31 3 '' 1", "RC 5 31 3 'x' 1"),
                         rows_named_by_value());

TEST(CommandReader, KnowsTheWordOfARefusedText) {
    const command_reading reading = read_command_text("RR 7 1");
    EXPECT_TRUE(reading.knownWord);
    EXPECT_STREQ(command_form(reading.command.word), "RR device first last ['ADD']");
    EXPECT_FALSE(read_command_text("QQ").knownWord);
    EXPECT_FALSE(read_command_text(nullptr, 0).ok);
}

TEST(CommandReader, TextsOfAMegabyteAreRead) {
    const std::string big(size_t{1} << 20, 'x');
    EXPECT_TRUE(read_command_text("TP 'text=" + big + "' '1' 'CueInfo'").ok);
    EXPECT_FALSE(read_command_text("TP 'text" + big + "' '1' 'CueInfo'").ok);
}

TEST(CommandReader, QueriesAreTheOnlyRepliesThatComeBack) {
    EXPECT_TRUE(is_query(command_word::TG));
    EXPECT_TRUE(is_query(command_word::XI));
    EXPECT_FALSE(is_query(command_word::PS));
    EXPECT_FALSE(is_query(command_word::RC));
    EXPECT_TRUE(is_query_text("TG '1' 'c' 'p'"));
    EXPECT_TRUE(is_query_text("XI '1' 'alm_'"));
    EXPECT_FALSE(is_query_text("TP 'a=b' '1' 'c'"));
    EXPECT_FALSE(is_query_text(nullptr));
}

TEST(CommandReader, PrintableEscapesControlBytesAndShortens) {
    EXPECT_EQ(printable("a\nb", 3), "\"a\\x0ab\"");
    EXPECT_EQ(printable(std::string(200, 'x').c_str(), 200, 10), "\"xxxxxxxxxx\"... (200 bytes)");
    EXPECT_EQ(printable(nullptr, 0), "(null)");
}

} // namespace
