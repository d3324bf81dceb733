// The command grammar accepts exactly the forms a component may send.
#include "command_grammar.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

bool accepted(const std::string& text) {
    return checkCommandText(text.c_str(), text.size()).empty();
}

class valid_command : public testing::TestWithParam<const char*> {};

TEST_P(valid_command, IsAccepted) {
    const std::string text = GetParam();
    EXPECT_EQ(checkCommandText(text.c_str(), text.size()), "") << text;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, valid_command,
    testing::Values("AS", "PS '1' 'p1.vrel_ui'", "PS '1' 'dir/p1.vrel_ui' 'x'", "PS '' ''",
                    "TP 'text=Full Facs' '1' 'ActivateCue'", "TP 'text=' '1' 'CueInfo'",
                    // Quoted texts are taken as they are: "|", spaces, "=" and quotes.
                    "TP 'text=This music source |can not receive cue |You are getting "
                    "listen-only' '1' 'CueInfo'",
                    "TP 'text=Studio 'A' has the cue | You' '1' 'CueInfo'",
                    "TG '1' 'alm_3' 'value'", "XI '1' 'alm_'", "IW 9 'grey' 12 1",
                    "IW -1 '' -2147483648 0", "RC 5 31 3 ',' 1", "RC 5 40 -1 ',x y' 0", "RR 7 1 16",
                    "RR 7 1 16 'ADD'", "RR 2147483647 -2147483648 0", "RP 7 1 16", "ET 1 5000",
                    "ET 1", "ET 0", "ET -5"));

class invalid_command : public testing::TestWithParam<const char*> {};

TEST_P(invalid_command, IsRefused) {
    const std::string text = GetParam();
    EXPECT_NE(checkCommandText(text.c_str(), text.size()), "") << text;
}

INSTANTIATE_TEST_SUITE_P(Faults, invalid_command,
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
                             "RC 5 31 3 '' 1", "RC 5 31 3 'x' 1"));

TEST(CommandGrammar, NamesTheExpectedFormForAKnownWord) {
    const std::string text = "RR 7 1";
    EXPECT_NE(checkCommandText(text.c_str(), text.size()).find("RR device first last"),
              std::string::npos);
}

TEST(CommandGrammar, NullAndUnknownWordsAreNamed) {
    EXPECT_NE(checkCommandText(nullptr, 0).find("null"), std::string::npos);
    EXPECT_NE(checkCommandText("QQ", 2).find("known command word"), std::string::npos);
}

TEST(CommandGrammar, TextsOfAMegabyteAreChecked) {
    const std::string big(size_t{1} << 20, 'x');
    EXPECT_TRUE(accepted("TP 'text=" + big + "' '1' 'CueInfo'"));
    EXPECT_FALSE(accepted("TP 'text" + big + "' '1' 'CueInfo'"));
}

TEST(CommandGrammar, QueriesAreTheTwoWhoseRepliesComeBack) {
    EXPECT_TRUE(isQueryCommand("TG '1' 'c' 'p'"));
    EXPECT_TRUE(isQueryCommand("XI '1' 'alm_'"));
    EXPECT_FALSE(isQueryCommand("TP 'a=b' '1' 'c'"));
    EXPECT_FALSE(isQueryCommand("PS '1' 'f'"));
    EXPECT_FALSE(isQueryCommand(nullptr));
}

TEST(CommandGrammar, PrintableEscapesControlBytesAndShortens) {
    EXPECT_EQ(printable("a\nb", 3), "\"a\\x0ab\"");
    const std::string shown = printable(std::string(200, 'x').c_str(), 200, 10);
    EXPECT_EQ(shown, "\"xxxxxxxxxx\"... (200 bytes)");
}

} // namespace
