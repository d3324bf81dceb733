// The number index kept beside a mapping list must answer exactly what a
// search of the list for the number's decimal text answers.
#include "number_index.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The text search's answer; a library promises only some negative number when
// it finds nothing, which the index gives as -1.
int byText(const vrel_stringlist& list, int number) {
    const int found = list.find(vrel_string(number, '\0', 0, 10), false);
    return found < 0 ? -1 : found;
}

// Elements a settings file can hold, numbers or not.
const std::vector<const char*> elements{
    "0",           "5",           "05",          " 5",         "5 ",
    "+5",          "-5",          "-0",          "-05",        "",
    "12",          "1",           "007",         "7",          "5x",
    "x5",          "2147483647",  "-2147483648", "2147483648", "-2147483649",
    "99999999999", "02147483647", "4294967301",  "16"};

// Numbers asked for: those above and their neighbours.
const std::vector<int> numbers{0,  1,  4,          5,           6,       7,           12,  16,
                               -1, -5, 2147483647, -2147483647, INT_MIN, INT_MAX - 1, 5000};

// Test that for many lists drawn from the elements above, in any order and
// with repeats, the index finds every number where the text search does.
TEST(NumberIndex, AnswersAsTheTextSearchDoes) {
    uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    number_index index;
    for (int round = 0; round < 2000; ++round) {
        vrel_stringlist list;
        const uint32_t length = next() % 12;
        std::string shown;
        for (uint32_t i = 0; i < length; ++i) {
            const char* element = elements[next() % elements.size()];
            list << element;
            shown += std::string("[") + element + "]";
        }
        // The same index object throughout: a rebuild replaces what it held.
        index.rebuild(list);
        for (int number : numbers) {
            ASSERT_EQ(index.find(number), byText(list, number)) << shown << " for " << number;
        }
    }
}

struct index_case {
    const char* name;
    const char* list;
    int number;
    int position;
};

void PrintTo(const index_case& c, std::ostream* out) {
    *out << c.name;
}

class NumberIndexCases : public testing::TestWithParam<index_case> {};

TEST_P(NumberIndexCases, FindsThePosition) {
    const vrel_stringlist list(vrel_string(GetParam().list), ',');
    number_index index;
    index.rebuild(list);
    EXPECT_EQ(index.find(GetParam().number), GetParam().position);
    EXPECT_EQ(byText(list, GetParam().number), GetParam().position) << "the text search differs";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberIndexCases,
    testing::Values(
        index_case{"FirstOfDuplicates", "3,5,5,5", 5, 1}, index_case{"LeadingZero", "05,5", 5, 1},
        index_case{"OnlyLeadingZero", "05", 5, -1}, index_case{"Space", " 5", 5, -1},
        index_case{"Plus", "+5", 5, -1}, index_case{"NegativeZero", "-0", 0, -1},
        index_case{"Zero", "-0,0", 0, 1}, index_case{"Negative", "5,-5", -5, 1},
        index_case{"Smallest", "-2147483648", INT_MIN, 0},
        index_case{"PastTheRange", "2147483648", INT_MAX, -1}, index_case{"Trailing", "5x,5", 5, 1},
        index_case{"Empty", "", 0, -1}, index_case{"EmptyElements", ",,", 0, -1},
        // Numbers close together are found by offset, far apart by search.
        index_case{"CloseTogether", "-3,-1,2,5", -1, 1},
        index_case{"BelowTheFirst", "-3,-1,2,5", -4, -1},
        index_case{"PastTheLast", "-3,-1,2,5", 6, -1}, index_case{"GapBetween", "-3,-1,2,5", 0, -1},
        index_case{"FarApart", "1,1000000,5", 5, 2},
        index_case{"FarApartMissing", "1,1000000,5", 4, -1},
        index_case{"WholeRange", "-2147483648,0,2147483647", INT_MAX, 2}),
    [](const testing::TestParamInfo<index_case>& tested) {
        return std::string(tested.param.name);
    });

// Test that a rebuild from another list forgets the old positions.
TEST(NumberIndex, RebuildReplacesTheOldList) {
    number_index index;
    index.rebuild(vrel_stringlist(vrel_string("1,2,3"), ','));
    ASSERT_EQ(index.find(3), 2);
    index.rebuild(vrel_stringlist(vrel_string("3,4"), ','));
    EXPECT_EQ(index.find(3), 0);
    EXPECT_EQ(index.find(1), -1);
    EXPECT_EQ(index.find(4), 1);
    index.rebuild(vrel_stringlist());
    EXPECT_EQ(index.find(3), -1);
}

} // namespace
