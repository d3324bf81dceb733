// The string library's choices the frame and the component rely on.
#include "vrel_string.h"
#include "vrel_stringlist.h"

#include "row_name.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

std::vector<std::string> items(const vrel_stringlist& list) {
    std::vector<std::string> result;
    for (const vrel_string& item : list) {
        result.emplace_back(item.c_str());
    }
    return result;
}

struct to_int_case {
    const char* text;
    int expected;
};

std::ostream& operator<<(std::ostream& out, const to_int_case& c) {
    return out << '"' << c.text << '"';
}

class ToInt : public testing::TestWithParam<to_int_case> {};

// Test that toInt reads an optional sign and the leading digits, clamps to the
// 32-bit range and gives 0 where there are no digits.
TEST_P(ToInt, ReadsSignAndLeadingDigits) {
    const vrel_string text(GetParam().text);
    EXPECT_EQ(text.toInt(), GetParam().expected) << '"' << GetParam().text << '"';
    EXPECT_EQ(static_cast<int>(text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToInt,
    testing::Values(
        to_int_case{"0", 0}, to_int_case{"42", 42}, to_int_case{"-17", -17}, to_int_case{"+5", 5},
        to_int_case{"007", 7}, to_int_case{"12abc", 12}, to_int_case{"5-", 5},
        to_int_case{"3.9", 3}, to_int_case{"abc", 0}, to_int_case{"", 0}, to_int_case{"-", 0},
        to_int_case{"+", 0}, to_int_case{"--5", 0}, to_int_case{"+-5", 0}, to_int_case{" 5", 0},
        to_int_case{"2147483647", INT_MAX}, to_int_case{"2147483648", INT_MAX},
        to_int_case{"-2147483647", -INT_MAX}, to_int_case{"-2147483648", INT_MIN},
        to_int_case{"-2147483649", INT_MIN}, to_int_case{"99999999999999999999", INT_MAX},
        to_int_case{"-99999999999999999999", INT_MIN}, to_int_case{"18446744073709551616", INT_MAX},
        to_int_case{"0000000000000000000000042", 42}),
    rows_named_by(&to_int_case::text));

// Test that a number becomes its plain decimal text at the range's ends too.
TEST(VrelString, NumberConstructorGivesPlainDecimal) {
    EXPECT_STREQ(vrel_string(0, '\0', 0, 10).c_str(), "0");
    EXPECT_STREQ(vrel_string(-1, '\0', 0, 10).c_str(), "-1");
    EXPECT_STREQ(vrel_string(5000, '\0', 0, 10).c_str(), "5000");
    EXPECT_STREQ(vrel_string(INT_MAX, '\0', 0, 10).c_str(), "2147483647");
    EXPECT_STREQ(vrel_string(INT_MIN, '\0', 0, 10).c_str(), "-2147483648");
}

TEST(VrelString, NullTextIsEmpty) {
    const char* none = nullptr;
    vrel_string text(none);
    EXPECT_EQ(text.length(), 0);
    EXPECT_STREQ(text.c_str(), "");
    text = "x";
    text = none;
    EXPECT_STREQ(text.c_str(), "");
    EXPECT_TRUE(text == none);
}

struct arg_case {
    const char* format;
    std::vector<const char*> texts;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const arg_case& c) {
    return out << '"' << c.format << '"';
}

class Arg : public testing::TestWithParam<arg_case> {};

// Test that each arg fills the lowest-numbered marker still present.
TEST_P(Arg, FillsLowestMarkerFirst) {
    vrel_string text(GetParam().format);
    for (const char* insert : GetParam().texts) {
        text = text.arg(insert);
    }
    EXPECT_STREQ(text.c_str(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Arg,
    testing::Values(
        arg_case{"%1 and %2", {"a", "b"}, "a and b"}, arg_case{"%2 then %1", {"x"}, "%2 then x"},
        arg_case{"%2 then %1", {"x", "y"}, "y then x"}, arg_case{"no marker", {"x"}, "no marker"},
        arg_case{"%1 %2 %3 %4 %5", {"1", "2", "3", "4", "5", "", "", "", ""}, "1 2 3 4 5"},
        arg_case{"%9 %10", {"a"}, "a %10"}, arg_case{"%9 %10", {"a", "b"}, "a b"},
        arg_case{"100% %1", {"x"}, "100% x"}, arg_case{"%0 %1", {"x"}, "%0 x"},
        arg_case{"%", {"x"}, "%"}, arg_case{"'%1'", {""}, "''"},
        // The inserted text is not scanned again in the same call.
        arg_case{"%1 %2", {"%2"}, "%2 %2"},
        // A repeated marker is filled one occurrence per call, left to right.
        arg_case{"%1-%1", {"a"}, "a-%1"}, arg_case{"%1-%1", {"a", "b"}, "a-b"}),
    rows_named_by(&arg_case::format));

TEST(VrelString, ArgWithNumbers) {
    const vrel_string format("RC %1 %2 %3");
    EXPECT_STREQ(format.arg(5, '\0', 0, 10).arg(-1, '\0', 0, 10).arg(INT_MIN, '\0', 0, 10).c_str(),
                 "RC 5 -1 -2147483648");
    // The original is left as it was.
    EXPECT_STREQ(format.c_str(), "RC %1 %2 %3");
}

struct split_case {
    const char* text;
    const char* left;
    const char* right;
};

std::ostream& operator<<(std::ostream& out, const split_case& c) {
    return out << '"' << c.text << '"';
}

class Split : public testing::TestWithParam<split_case> {};

TEST_P(Split, CutsAtFirstSeparator) {
    vrel_string left("old");
    vrel_string right("old");
    vrel_string(GetParam().text).split('=', left, right);
    EXPECT_STREQ(left.c_str(), GetParam().left);
    EXPECT_STREQ(right.c_str(), GetParam().right);
}

INSTANTIATE_TEST_SUITE_P(Cases, Split,
                         testing::Values(split_case{"value=3", "value", "3"},
                                         split_case{"a=b=c", "a", "b=c"}, split_case{"=5", "", "5"},
                                         split_case{"x=", "x", ""}, split_case{"abc", "abc", ""},
                                         split_case{"", "", ""}),
                         rows_named_by(&split_case::text));

// Test that split works when the string splits into itself.
TEST(VrelString, SplitIntoItself) {
    vrel_string text("name=value");
    vrel_string right;
    text.split('=', text, right);
    EXPECT_STREQ(text.c_str(), "name");
    EXPECT_STREQ(right.c_str(), "value");

    vrel_string whole("nothing");
    vrel_string other;
    whole.split('=', other, whole);
    EXPECT_STREQ(other.c_str(), "nothing");
    EXPECT_STREQ(whole.c_str(), "");
}

TEST(VrelString, ComparisonsAreCaseSensitiveAndExact) {
    const vrel_string take("Take");
    EXPECT_TRUE(take == "Take");
    EXPECT_FALSE(take == "take");
    EXPECT_FALSE(take == "Take ");
    EXPECT_TRUE(take != vrel_string("TAKE"));
    EXPECT_FALSE(take != vrel_string("Take"));

    EXPECT_TRUE(vrel_string("1") == 1);
    EXPECT_FALSE(vrel_string("01") == 1);
    EXPECT_FALSE(vrel_string("1 ") == 1);
    EXPECT_FALSE(vrel_string("") == 0);
    EXPECT_TRUE(vrel_string("-2147483648") == INT_MIN);
}

TEST(VrelString, JoiningAndLength) {
    vrel_string text("PS '");
    text += vrel_string("1");
    text.append("'");
    EXPECT_STREQ(text.c_str(), "PS '1'");
    EXPECT_STREQ(("<" + vrel_string("a") + ">").c_str(), "<a>");
    EXPECT_STREQ((vrel_string("a") + vrel_string("")).c_str(), "a");
    EXPECT_EQ(vrel_string("four").length(), 4);
    EXPECT_EQ(vrel_string().length(), 0);

    // A copy is independent of its original.
    vrel_string copy(text);
    copy += "x";
    EXPECT_STREQ(text.c_str(), "PS '1'");
}

struct list_case {
    const char* text;
    std::vector<std::string> expected;
};

std::ostream& operator<<(std::ostream& out, const list_case& c) {
    return out << '"' << c.text << '"';
}

class ListSplit : public testing::TestWithParam<list_case> {};

// Test that a list splits at every separator, keeps empty and untrimmed
// elements, and makes nothing of the empty text.
TEST_P(ListSplit, SplitsAtEverySeparator) {
    const vrel_stringlist list(vrel_string(GetParam().text), ',');
    EXPECT_EQ(items(list), GetParam().expected);
    EXPECT_EQ(list.count(), static_cast<int>(GetParam().expected.size()));

    vrel_stringlist assigned;
    assigned << "stale";
    assigned = vrel_string(GetParam().text);
    EXPECT_EQ(items(assigned), GetParam().expected) << "default separator";
}

INSTANTIATE_TEST_SUITE_P(Cases, ListSplit,
                         testing::Values(list_case{"a,,b", {"a", "", "b"}}, list_case{"", {}},
                                         list_case{"101", {"101"}},
                                         list_case{"101,102,103", {"101", "102", "103"}},
                                         list_case{"a,", {"a", ""}}, list_case{",", {"", ""}},
                                         list_case{" a , b ", {" a ", " b "}},
                                         list_case{"a;b", {"a;b"}}),
                         rows_named_by(&list_case::text));

TEST(VrelStringlist, OtherSeparator) {
    EXPECT_EQ(items(vrel_stringlist(vrel_string("a|b,c"), '|')),
              (std::vector<std::string>{"a", "b,c"}));
}

TEST(VrelStringlist, PositionOutsideReadsEmpty) {
    const vrel_stringlist list(vrel_string("a,b"), ',');
    EXPECT_STREQ(list[0].c_str(), "a");
    EXPECT_STREQ(list[1].c_str(), "b");
    for (int position : {-1, 2, 3, INT_MAX, INT_MIN}) {
        EXPECT_STREQ(list[position].c_str(), "") << position;
    }
    EXPECT_STREQ(vrel_stringlist()[0].c_str(), "");
}

TEST(VrelStringlist, FindIsExactAndCaseSensitive) {
    const vrel_stringlist list(vrel_string("101,Abc,,101,abc"), ',');
    EXPECT_EQ(list.find("101", false), 0);
    EXPECT_EQ(list.find("abc", false), 4);
    EXPECT_EQ(list.find("Abc", false), 1);
    EXPECT_EQ(list.find("", false), 2);
    EXPECT_LT(list.find("10", false), 0);
    EXPECT_LT(list.find("1010", false), 0);
    EXPECT_LT(list.find("ABC", false), 0);
    EXPECT_EQ(list.find("ABC", true), 1);
    EXPECT_LT(vrel_stringlist().find("", false), 0);
}

TEST(VrelStringlist, ToStringJoins) {
    vrel_stringlist list;
    EXPECT_STREQ(list.toString(',').c_str(), "");
    list << "alone";
    EXPECT_STREQ(list.toString(',').c_str(), "alone");
    list << ""
         << "b";
    EXPECT_STREQ(list.toString(',').c_str(), "alone,,b");
    EXPECT_STREQ(list.toString('|').c_str(), "alone||b");
    // Splitting and joining again gives the text back.
    EXPECT_STREQ(vrel_stringlist(vrel_string("a,,b,"), ',').toString(',').c_str(), "a,,b,");
}

TEST(VrelStringlist, CopiesAreIndependent) {
    vrel_stringlist list(vrel_string("a,b"), ',');
    vrel_stringlist copy(list);
    copy << "c";
    vrel_stringlist assigned;
    assigned = list;
    list << "d";
    EXPECT_EQ(items(copy), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(items(assigned), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(items(list), (std::vector<std::string>{"a", "b", "d"}));
}

TEST(VrelStringlist, EmptyListIteratesNothing) {
    const vrel_stringlist list;
    EXPECT_FALSE(list.begin() != list.end());
    EXPECT_TRUE(items(list).empty());
}

} // namespace
