// The command-text parser: what each field of a command_record holds.
#include "command_parser.h"

#include "row_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct parse_case {
    const char* text;
    const char* command;
    std::vector<std::string> parts;
    const char* value;
    bool hasValue;
};

std::ostream& operator<<(std::ostream& out, const parse_case& c) {
    return out << '"' << c.text << '"';
}

// Every field as text; the parts beyond partCount must be the shared empty text.
void expectRecord(const command_record& record, const parse_case& expected) {
    EXPECT_STREQ(record.command, expected.command);
    EXPECT_STREQ(record.value, expected.value);
    EXPECT_EQ(record.hasValue, expected.hasValue);
    ASSERT_EQ(record.partCount, static_cast<int>(expected.parts.size()));
    for (int i = 0; i < record.partCount; ++i) {
        EXPECT_STREQ(record.parts[i], expected.parts[static_cast<size_t>(i)].c_str()) << i;
    }
    for (int i = record.partCount; i < vrel_command_max_parts; ++i) {
        EXPECT_EQ(record.parts[i], vrel_empty_text) << i;
    }
    if (!expected.hasValue) {
        EXPECT_EQ(record.value, vrel_empty_text);
    }
}

class Parse : public testing::TestWithParam<parse_case> {};

TEST_P(Parse, FillsRecord) {
    command_record record;
    parse(record, GetParam().text);
    ASSERT_NE(record.buffer, nullptr);
    // The record works on its own copy: every text points into its buffer.
    EXPECT_NE(record.buffer, GetParam().text);
    EXPECT_EQ(record.command, record.buffer);
    expectRecord(record, GetParam());
    release(record);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Parse,
    testing::Values(parse_case{"Take=1", "Take", {}, "1", true},
                    parse_case{"Source=12", "Source", {}, "12", true},
                    parse_case{"a.b.c=x.y", "a", {"b", "c"}, "x.y", true},
                    parse_case{"_events", "_events", {}, "", false},
                    parse_case{"=5", "", {}, "5", true}, parse_case{"=", "", {}, "", true},
                    parse_case{"a=", "a", {}, "", true}, parse_case{"a=b=c", "a", {}, "b=c", true},
                    parse_case{"a..b", "a", {"", "b"}, "", false},
                    parse_case{".", "", {""}, "", false}, parse_case{"a.", "a", {""}, "", false},
                    parse_case{".x=1", "", {"x"}, "1", true},
                    parse_case{"alarm=1", "alarm", {}, "1", true},
                    parse_case{"with space=a b", "with space", {}, "a b", true}),
    rows_named_by(&parse_case::text));

// "c.1.2. ... .n" with `dots` dots.
std::string dotted(int dots) {
    std::string text = "c";
    for (int i = 1; i <= dots; ++i) {
        text += "." + std::to_string(i);
    }
    return text;
}

std::vector<std::string> numbers(int from, int to) {
    std::vector<std::string> result;
    for (int i = from; i <= to; ++i) {
        result.push_back(std::to_string(i));
    }
    return result;
}

// Test that 31 dots leave room for a value, and that the 32nd dot ends the
// scan so that a later "=" is not recognised.
TEST(ParseParts, ThirtyOneAndThirtyTwoDots) {
    const std::string full = dotted(31) + "=v";
    command_record record;
    parse(record, full.c_str());
    expectRecord(record, {full.c_str(), "c", numbers(1, 31), "v", true});
    release(record);

    const std::string text = dotted(32) + "=v";
    parse(record, text.c_str());
    std::vector<std::string> parts = numbers(1, 31);
    parts.push_back("32=v");
    expectRecord(record, {text.c_str(), "c", parts, "", false});
    release(record);
}

// Test that the 32nd part keeps the rest of the text once the parts are full.
TEST(ParseParts, ThirtyThreeDotsLeaveRestInLastPart) {
    const std::string text = dotted(33);
    command_record record;
    parse(record, text.c_str());
    std::vector<std::string> parts = numbers(1, 31);
    parts.push_back("32.33");
    expectRecord(record, {text.c_str(), "c", parts, "", false});
    release(record);
}

// Test that an "=" after the 32nd part is not recognised.
TEST(ParseParts, FortyDotsAndLateEqualsSignStayInLastPart) {
    const std::string text = dotted(40) + "=x";
    command_record record;
    parse(record, text.c_str());
    std::vector<std::string> parts = numbers(1, 31);
    parts.push_back("32.33.34.35.36.37.38.39.40=x");
    expectRecord(record, {text.c_str(), "c", parts, "", false});
    release(record);
}

TEST(ParseParts, NothingButDots) {
    const std::string text(40, '.');
    command_record record;
    parse(record, text.c_str());
    std::vector<std::string> parts(31, "");
    parts.push_back(std::string(8, '.'));
    expectRecord(record, {text.c_str(), "", parts, "", false});
    release(record);
}

// Test that null and empty texts give an empty record without a buffer.
TEST(ParseEmpty, NullAndEmptyTextGiveEmptyRecord) {
    for (const char* text : {static_cast<const char*>(nullptr), ""}) {
        command_record record;
        record.buffer = reinterpret_cast<char*>(&record); // must be overwritten
        parse(record, text);
        EXPECT_EQ(record.buffer, nullptr);
        EXPECT_EQ(record.command, vrel_empty_text);
        EXPECT_EQ(record.value, vrel_empty_text);
        expectRecord(record, {"", "", {}, "", false});
        release(record);
        EXPECT_EQ(record.buffer, nullptr);
    }
}

// Test that release frees the buffer, empties the record and can be repeated.
TEST(ParseRelease, ReleaseTwiceIsHarmless) {
    command_record record;
    parse(record, "Source.a=12");
    release(record);
    EXPECT_EQ(record.buffer, nullptr);
    EXPECT_EQ(record.command, vrel_empty_text);
    EXPECT_EQ(record.value, vrel_empty_text);
    EXPECT_EQ(record.partCount, 0);
    EXPECT_FALSE(record.hasValue);
    release(record);
    EXPECT_EQ(record.buffer, nullptr);
}

// Test that a record can be parsed again after release without keeping stale parts.
TEST(ParseRelease, ReparseAfterRelease) {
    command_record record;
    parse(record, "a.b.c=1");
    release(record);
    parse(record, "Take");
    expectRecord(record, {"Take", "Take", {}, "", false});
    release(record);
}

} // namespace
