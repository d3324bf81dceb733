// Control bytes never leave a tool raw: the escaping every printer uses, the
// traffic log's lines as they are printed, and the cut of a quoted text.
#include "shown_text.h"
#include "traffic_log.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct escape_case {
    const char* name;
    std::string text;
    std::string escaped;
};

class EscapeControls : public testing::TestWithParam<escape_case> {};

TEST_P(EscapeControls, EachControlByteIsWrittenAsItsCode) {
    EXPECT_EQ(escape_controls(GetParam().text), GetParam().escaped);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EscapeControls,
    testing::Values(escape_case{"plain", "Studio 1", "Studio 1"},
                    escape_case{"terminal_title", "\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
                    escape_case{"carriage_return", "ok\rFAIL", "ok\\x0dFAIL"},
                    escape_case{"nul", std::string("a\0b", 3), "a\\x00b"},
                    escape_case{"line_end_and_tab", "a\nb\tc", "a\\x0ab\\x09c"},
                    escape_case{"delete", "x\x7f", "x\\x7f"},
                    escape_case{"utf8_kept", "Gr\xc3\xbc\xc3\x9f", "Gr\xc3\xbc\xc3\x9f"}),
    [](const testing::TestParamInfo<escape_case>& tested) { return tested.param.name; });

TEST(EscapeControls, KeptBytesStay) {
    EXPECT_EQ(escape_controls("a\nb\x1b", "\n"), "a\nb\\x1b");
}

TEST(ShownText, IsEscapedAndCutNeverInsideACharacter) {
    EXPECT_EQ(shown_text("\x1b[2J", 40), "\\x1b[2J");
    EXPECT_EQ(shown_text(std::string(50, 'x'), 40), std::string(40, 'x') + "...");
    EXPECT_EQ(shown_text("ab\xc3\xbc", 3), "ab...");
}

// What a scenario says, or a component sends, is printed with its control
// bytes escaped; a text of several lines still continues under the first.
TEST(TrafficLogFormat, PrintsControlBytesEscaped) {
    const traffic_entry say{5000, traffic_kind::say, "hi\x1b]0;owned\x07\r"};
    EXPECT_EQ(traffic_log::format(say), "    5000 ms  say     hi\\x1b]0;owned\\x07\\x0d");
    const traffic_entry debug{0, traffic_kind::debug, "one\x1b[2J\ntwo\n"};
    const std::string formatted = traffic_log::format(debug);
    EXPECT_EQ(formatted.find('\x1b'), std::string::npos) << formatted;
    EXPECT_NE(formatted.find("one\\x1b[2J\n"), std::string::npos) << formatted;
    EXPECT_EQ(formatted.substr(formatted.size() - 3), "two");
}

} // namespace
