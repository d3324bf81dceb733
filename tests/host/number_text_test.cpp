// Each reader of the number family takes exactly its form, and nothing past
// its limits.
#include "number_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct plain_case {
    const char* name;
    const char* text;
    bool plain;    // read_plain_number takes it
    bool whole;    // read_int32 takes it, "+" allowed
    int32_t value; // when taken
};

void PrintTo(const plain_case& c, std::ostream* os) {
    *os << c.name;
}

class number_forms : public testing::TestWithParam<plain_case> {};

TEST_P(number_forms, ReadAsTheirFormAllows) {
    const plain_case& c = GetParam();
    int32_t plain = -7;
    EXPECT_EQ(read_plain_number(c.text, plain), c.plain) << c.text;
    if (c.plain) {
        EXPECT_EQ(plain, c.value);
    }
    int32_t whole = -7;
    EXPECT_EQ(read_int32(c.text, whole, true), c.whole) << c.text;
    if (c.whole) {
        EXPECT_EQ(whole, c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, number_forms,
    testing::Values(
        plain_case{"zero", "0", true, true, 0}, plain_case{"negative", "-12", true, true, -12},
        plain_case{"largest", "2147483647", true, true, INT32_MAX},
        plain_case{"smallest", "-2147483648", true, true, INT32_MIN},
        plain_case{"above_32_bits", "2147483648", false, false, 0},
        plain_case{"below_32_bits", "-2147483649", false, false, 0},
        plain_case{"far_past_64_bits", "99999999999999999999999", false, false, 0},
        plain_case{"leading_zero", "016", false, true, 16},
        plain_case{"minus_zero", "-0", false, true, 0}, plain_case{"plus", "+5", false, true, 5},
        plain_case{"empty", "", false, false, 0}, plain_case{"sign_alone", "-", false, false, 0},
        plain_case{"blank_after", "5 ", false, false, 0},
        plain_case{"blank_before", " 5", false, false, 0},
        plain_case{"letters", "5x", false, false, 0}),
    [](const testing::TestParamInfo<plain_case>& tested) { return tested.param.name; });

TEST(NumberText, DecimalsKeepToTheirRange) {
    int64_t value = 0;
    EXPECT_TRUE(read_decimal("-9223372036854775808", INT64_MIN, INT64_MAX, value));
    EXPECT_EQ(value, INT64_MIN);
    EXPECT_FALSE(read_decimal("9223372036854775808", INT64_MIN, INT64_MAX, value));
    EXPECT_TRUE(read_decimal("10", 1, 10, value));
    EXPECT_FALSE(read_decimal("11", 1, 10, value));
    EXPECT_FALSE(read_decimal("0", 1, 10, value));
    EXPECT_FALSE(read_decimal("+3", 1, 10, value));
}

TEST(NumberText, UnsignedNumbersAreDecimalOrHexadecimal) {
    uint64_t value = 0;
    EXPECT_TRUE(read_unsigned("18446744073709551615", value));
    EXPECT_EQ(value, UINT64_MAX);
    EXPECT_FALSE(read_unsigned("18446744073709551616", value));
    EXPECT_TRUE(read_unsigned("0xffffffffffffffff", value));
    EXPECT_EQ(value, UINT64_MAX);
    EXPECT_FALSE(read_unsigned("0x10000000000000000", value));
    EXPECT_TRUE(read_unsigned("0X1f", value));
    EXPECT_EQ(value, 31u);
    // A leading zero is decimal, never octal.
    EXPECT_TRUE(read_unsigned("010", value));
    EXPECT_EQ(value, 10u);
    for (const char* wrong : {"", "-1", "+1", "0x", "0xg", " 1", "1 "}) {
        EXPECT_FALSE(read_unsigned(wrong, value)) << wrong;
    }
}

TEST(NumberText, DurationsTakeTheirUnitAndLimit) {
    int64_t ms = 0;
    EXPECT_TRUE(read_duration("500", 10000, ms));
    EXPECT_EQ(ms, 500);
    EXPECT_TRUE(read_duration("500ms", 10000, ms));
    EXPECT_EQ(ms, 500);
    EXPECT_TRUE(read_duration("10s", 10000, ms));
    EXPECT_EQ(ms, 10000);
    EXPECT_FALSE(read_duration("11s", 10000, ms));
    EXPECT_FALSE(read_duration("10001", 10000, ms));
    for (const char* wrong : {"", "s", "5m", "-5", "+5", "5 s", "99999999999999999999s"}) {
        EXPECT_FALSE(read_duration(wrong, 10000, ms)) << wrong;
    }
}

} // namespace
