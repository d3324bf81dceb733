// The string library's storage: texts up to its in-place size live in the
// object, longer ones on the heap. Every operation must give the same text on
// either side of that line, and when a string is given parts of itself.
#include "vrel_string.h"
#include "vrel_stringlist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Texts of every length from empty to well past the in-place size, each
// distinct, holding "=", "," and a "%1" marker at places that vary.
std::string textOf(size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        text += static_cast<char>('a' + (i * 7 + length) % 26);
    }
    if (length > 4) {
        text[length / 3] = '=';
        text[length / 2] = ',';
        text[length - 2] = '%';
        text[length - 1] = '1';
    }
    return text;
}

constexpr size_t longest = 200;

std::string str(const vrel_string& text) {
    return std::string(text.c_str(), static_cast<size_t>(text.length()));
}

// Test that construction, copies, assignment and comparison give the text
// itself at every length, and that a copy does not share the original's text.
TEST(VrelStringStorage, HoldsEveryLength) {
    for (size_t length = 0; length <= longest; ++length) {
        const std::string expected = textOf(length);
        const vrel_string made(expected.c_str());
        ASSERT_EQ(str(made), expected) << length;
        ASSERT_EQ(made.length(), static_cast<int>(length));

        vrel_string copy(made);
        vrel_string assigned("x");
        assigned = made;
        vrel_string fromText(textOf(longest).c_str());
        fromText = expected.c_str();
        EXPECT_EQ(str(copy), expected) << length;
        EXPECT_EQ(str(assigned), expected) << length;
        EXPECT_EQ(str(fromText), expected) << length;
        EXPECT_TRUE(copy == made && assigned == made && fromText == expected.c_str()) << length;
        EXPECT_NE(copy.c_str(), made.c_str()) << length;

        copy += "!";
        EXPECT_EQ(str(made), expected) << "the original changed with its copy, length " << length;
        EXPECT_FALSE(copy == made) << length;
        EXPECT_FALSE(made == (expected + "!").c_str()) << length;
        EXPECT_FALSE(copy == expected.c_str()) << length;
    }
}

// Test that appends across the in-place size, from other strings and from
// the string itself, give what std::string gives.
TEST(VrelStringStorage, AppendsAcrossTheInPlaceSize) {
    for (size_t start = 0; start <= 80; start += 5) {
        vrel_string text(textOf(start).c_str());
        std::string expected = textOf(start);
        for (size_t piece = 0; piece < 12; ++piece) {
            text += vrel_string(textOf(piece * 3).c_str());
            expected += textOf(piece * 3);
            ASSERT_EQ(str(text), expected) << start << " + piece " << piece;
        }
        text.append(text);
        expected += expected;
        ASSERT_EQ(str(text), expected) << start << " appended to itself";
        EXPECT_EQ(str(text + text), expected + expected);
        EXPECT_EQ(str("<" + text), "<" + expected);
        EXPECT_EQ(str(text + ">"), expected + ">");
    }
}

// Test that assigning a string a text that lies in its own storage works on
// either side of the in-place size.
TEST(VrelStringStorage, AssignsPartsOfItself) {
    for (size_t length = 0; length <= longest; ++length) {
        const std::string expected = textOf(length);
        vrel_string text(expected.c_str());
        text = text;
        EXPECT_EQ(str(text), expected) << length;
        if (length > 0) {
            text = text.c_str() + 1;
            EXPECT_EQ(str(text), expected.substr(1)) << length;
        }
    }
}

// Test that split and arg read the same text wherever it is kept.
TEST(VrelStringStorage, OperationsReadTheTextWhereverItIsKept) {
    for (size_t length = 0; length <= longest; ++length) {
        const std::string expected = textOf(length);
        const vrel_string text(expected.c_str());

        vrel_string left("old");
        vrel_string right("old");
        const size_t equals = expected.find('=');
        const int at = text.split('=', left, right);
        if (equals == std::string::npos) {
            EXPECT_EQ(at, -1);
            EXPECT_EQ(str(left), expected);
            EXPECT_EQ(str(right), "");
        } else {
            EXPECT_EQ(at, static_cast<int>(equals)) << length;
            EXPECT_EQ(str(left), expected.substr(0, equals)) << length;
            EXPECT_EQ(str(right), expected.substr(equals + 1)) << length;
        }

        std::string filled = expected;
        const size_t marker = filled.find("%1");
        if (marker != std::string::npos) {
            filled.replace(marker, 2, expected);
        }
        EXPECT_EQ(str(text.arg(text)), filled) << length;
        EXPECT_EQ(str(text), expected);
    }
}

// Test that a number padded past the in-place size keeps its digits last.
TEST(VrelStringStorage, WidePaddedNumbers) {
    for (int width : {0, 5, 63, 64, 65, 150}) {
        const vrel_string padded(-42, '0', width, 10);
        const size_t size = width > 3 ? static_cast<size_t>(width) : 3;
        EXPECT_EQ(str(padded), std::string(size - 3, '0') + "-42") << width;
        const vrel_string spaced(42, '\0', width, 10);
        EXPECT_EQ(str(spaced), std::string(size > 3 ? size - 2 : 0, ' ') + "42") << width;
    }
}

// Test that a list keeps long and short elements apart and intact.
TEST(VrelStringStorage, ListsOfLongAndShortElements) {
    std::string joined;
    std::vector<std::string> expected;
    for (size_t length = 0; length <= longest; length += 7) {
        std::string element = textOf(length);
        for (char& c : element) {
            c = c == ',' ? ';' : c;
        }
        joined += (length > 0 ? "," : "") + element;
        expected.push_back(element);
    }
    const vrel_stringlist list(vrel_string(joined.c_str()), ',');
    ASSERT_EQ(list.count(), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(str(list[static_cast<int>(i)]), expected[i]) << i;
        EXPECT_EQ(list.find(vrel_string(expected[i].c_str()), false), static_cast<int>(i));
    }
    EXPECT_EQ(str(list.toString(',')), joined);
}

} // namespace
