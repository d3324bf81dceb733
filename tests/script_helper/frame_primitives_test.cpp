// The frame's own primitives, which stand where the C++ library would: the
// owned array, the sort and the list length.
#include "heap_sort.h"
#include "list_length.h"
#include "owned_array.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct numbered {
    int key;
    int position;
};

bool byKeyThenPosition(const numbered& a, const numbered& b) {
    return a.key < b.key || (a.key == b.key && a.position < b.position);
}

// Arrays of every small length and some larger ones, in orders a sort gets
// wrong when it is wrong: sorted, reversed, all equal, few distinct keys,
// random.
std::vector<std::vector<int>> orders() {
    std::vector<std::vector<int>> result;
    uint32_t state = 7;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>(state >> 16);
    };
    for (size_t length : {0, 1, 2, 3, 4, 5, 7, 8, 9, 16, 17, 100, 1000}) {
        std::vector<int> sorted(length);
        for (size_t i = 0; i < length; ++i) {
            sorted[i] = static_cast<int>(i);
        }
        result.push_back(sorted);
        result.emplace_back(sorted.rbegin(), sorted.rend());
        result.emplace_back(length, 5);
        std::vector<int> few(length);
        std::vector<int> random(length);
        for (size_t i = 0; i < length; ++i) {
            few[i] = next() % 3 - 1;
            random[i] = next() - 32768;
        }
        result.push_back(few);
        result.push_back(random);
    }
    return result;
}

// Test that the heap sort gives the order a reference sort gives, with equal
// keys kept in their order by the tie-breaker, for every shape of input.
TEST(HeapSort, OrdersAsAReferenceSortDoes) {
    for (const std::vector<int>& keys : orders()) {
        std::vector<numbered> items;
        for (size_t i = 0; i < keys.size(); ++i) {
            items.push_back(numbered{keys[i], static_cast<int>(i)});
        }
        std::vector<numbered> expected = items;
        std::stable_sort(expected.begin(), expected.end(),
                         [](const numbered& a, const numbered& b) { return a.key < b.key; });

        heap_sort(items.data(), items.size(), byKeyThenPosition);
        ASSERT_EQ(items.size(), expected.size());
        for (size_t i = 0; i < items.size(); ++i) {
            ASSERT_EQ(items[i].key, expected[i].key) << "length " << keys.size() << " at " << i;
            ASSERT_EQ(items[i].position, expected[i].position)
                << "length " << keys.size() << " at " << i;
        }
    }
}

// Test that the sort stays within the array: a guard on either side of the
// sorted range is left as it was.
TEST(HeapSort, TouchesOnlyItsRange) {
    std::vector<int> values{-99, 5, 3, 9, 1, 7, -99};
    heap_sort(values.data() + 1, 5, [](int a, int b) { return a < b; });
    EXPECT_EQ(values, (std::vector<int>{-99, 1, 3, 5, 7, 9, -99}));
}

// Test that assign fills the array, clear and truncate shorten it, and a new
// assign replaces what was there.
TEST(OwnedArray, AssignTruncateAndClear) {
    owned_array<int> array;
    EXPECT_TRUE(array.empty());
    ASSERT_TRUE(array.assign(5, -1));
    ASSERT_EQ(array.size(), 5u);
    for (size_t i = 0; i < array.size(); ++i) {
        EXPECT_EQ(array[i], -1);
        array[i] = static_cast<int>(i * 10);
    }
    array.truncate(9);
    EXPECT_EQ(array.size(), 5u) << "truncate never lengthens";
    array.truncate(2);
    ASSERT_EQ(array.size(), 2u);
    EXPECT_EQ(array[1], 10);

    ASSERT_TRUE(array.assign(3, 7));
    EXPECT_EQ(std::vector<int>(array.data(), array.data() + array.size()),
              (std::vector<int>{7, 7, 7}));
    ASSERT_TRUE(array.assign(0, 1));
    EXPECT_TRUE(array.empty());
    EXPECT_EQ(array.data(), nullptr);
    array.clear();
    EXPECT_TRUE(array.empty());
}

// Test that a count whose size in bytes overflows is refused, leaving the
// array empty rather than holding a short block.
TEST(OwnedArray, RefusesACountPastTheAddressSpace) {
    owned_array<numbered> array;
    ASSERT_TRUE(array.assign(4, numbered{1, 2}));
    EXPECT_FALSE(array.assign(SIZE_MAX / sizeof(numbered) + 1, numbered{0, 0}));
    EXPECT_TRUE(array.empty());
}

// Test that the length of a list is its number of elements, empty ones
// included.
TEST(ListLength, CountsEveryElement) {
    EXPECT_EQ(list_length(vrel_stringlist()), 0u);
    vrel_stringlist list;
    for (int i = 0; i < 300; ++i) {
        list << vrel_string(i % 2 == 0 ? "" : "x");
        ASSERT_EQ(list_length(list), static_cast<size_t>(i + 1));
    }
}

} // namespace
