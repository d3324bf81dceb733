// The builder of command texts: exact numbers, and texts of any length on
// either side of its stack buffer.
#include "command_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

struct number_case {
    int number;
    const char* text;
};

// Test that numbers come out as plain signed decimal, the extremes included.
TEST(CommandText, NumbersArePlainDecimal) {
    for (const number_case& c :
         {number_case{0, "0"}, number_case{7, "7"}, number_case{-1, "-1"}, number_case{10, "10"},
          number_case{-10, "-10"}, number_case{5000, "5000"}, number_case{INT_MAX, "2147483647"},
          number_case{INT_MIN, "-2147483648"}}) {
        command_text text;
        text << "RR " << c.number;
        EXPECT_STREQ(text.c_str(), (std::string("RR ") + c.text).c_str()) << c.number;
    }
    command_text flags;
    flags << true << " " << false;
    EXPECT_STREQ(flags.c_str(), "1 0");
}

// Test that a text built from pieces of every size, across the stack buffer
// and through several heap growths, is exactly the pieces joined.
TEST(CommandText, LongTextsAreWhole) {
    for (size_t piece : {1, 7, 100, 255, 256, 257, 1000}) {
        command_text text;
        std::string expected;
        for (int i = 0; i < 40; ++i) {
            const std::string part(piece, static_cast<char>('a' + i % 26));
            text << part.c_str() << i;
            expected += part + std::to_string(i);
            ASSERT_STREQ(text.c_str(), expected.c_str()) << piece << " x " << i;
        }
    }
}

// Test that the string library's texts are added whole, the empty one
// included.
TEST(CommandText, AddsStringLibraryTexts) {
    const std::string longText(600, 'q');
    command_text text;
    text << "TP '" << vrel_string("") << vrel_string("text=") << vrel_string(longText.c_str())
         << "'";
    EXPECT_STREQ(text.c_str(), ("TP 'text=" + longText + "'").c_str());
}

} // namespace
