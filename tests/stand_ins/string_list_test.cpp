// The stand-in list keeps its elements packed in one block of texts; these
// cases read it back through every operation after the blocks have grown,
// shrunk and been copied.
#include "vrel_stringlist.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

std::vector<std::string> items(const vrel_stringlist& list) {
    std::vector<std::string> result;
    for (const vrel_string& item : list) {
        result.emplace_back(item.c_str());
    }
    return result;
}

std::string elementText(int i) {
    return i % 5 == 0 ? std::string() : std::string(static_cast<size_t>(i % 70), 'a' + i % 26);
}

// Test that elements appended one by one, across many growths of both blocks,
// read back whole and in order by position, by iteration, by find and joined.
TEST(VrelStringlistPacked, AppendsAcrossGrowth) {
    vrel_stringlist list;
    std::vector<std::string> expected;
    std::string joined;
    for (int i = 0; i < 2000; ++i) {
        list << vrel_string(elementText(i).c_str());
        expected.push_back(elementText(i));
        joined += (i > 0 ? ";" : "") + elementText(i);
    }
    ASSERT_EQ(list.count(), 2000);
    EXPECT_EQ(items(list), expected);
    for (int i = 0; i < 2000; i += 37) {
        EXPECT_EQ(list[i].c_str(), expected[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(list.find(vrel_string(elementText(69).c_str()), false), 69);
    EXPECT_EQ(list.find(vrel_string(""), false), 0);
    EXPECT_EQ(list.toString(';').c_str(), joined);
}

// Test that an element handed out is a copy: it outlives changes to the list,
// and the list outlives changes to it.
TEST(VrelStringlistPacked, ElementsAreCopies) {
    vrel_stringlist list(vrel_string("first,second"), ',');
    vrel_string first = list[0];
    list = vrel_string("other");
    EXPECT_STREQ(first.c_str(), "first");
    first += "!";
    EXPECT_STREQ(list[0].c_str(), "other");
    list << list[0] << list[0];
    EXPECT_EQ(items(list), (std::vector<std::string>{"other", "other", "other"}));
}

// Test that joining with the NUL character joins with nothing, as a one-byte
// separator text that is empty would.
TEST(VrelStringlistPacked, JoinsWithNothingForNul) {
    const vrel_stringlist list(vrel_string("a,,bc,d"), ',');
    const vrel_string joined = list.toString('\0');
    EXPECT_STREQ(joined.c_str(), "abcd");
    EXPECT_EQ(joined.length(), 4);
}

// Test that copies and assignments, to itself too, keep both lists whole.
TEST(VrelStringlistPacked, CopiesKeepEveryElement) {
    vrel_stringlist list(vrel_string("x,,yz,"), ',');
    const vrel_stringlist copy(list);
    vrel_stringlist assigned;
    assigned << vrel_string("old");
    assigned = list;
    const vrel_stringlist& itself = list;
    list = itself;
    list << vrel_string("more");
    EXPECT_EQ(items(copy), (std::vector<std::string>{"x", "", "yz", ""}));
    EXPECT_EQ(items(assigned), (std::vector<std::string>{"x", "", "yz", ""}));
    EXPECT_EQ(items(list), (std::vector<std::string>{"x", "", "yz", "", "more"}));
    const vrel_stringlist empty;
    assigned = empty;
    EXPECT_EQ(assigned.count(), 0);
    EXPECT_STREQ(assigned.toString(',').c_str(), "");
}

#if defined(__GLIBC__)
// Bytes the program holds on glibc's heap, large blocks (mapped) included.
size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Whether glibc's counts see this program's heap: not when a sanitizer or
// valgrind has put a heap of its own in its place.
bool heapCountsAreGlibcs() {
    const size_t before = heapInUse();
    void* volatile probe = std::malloc(1 << 20);
    const size_t after = heapInUse();
    std::free(probe);
    return after >= before + (1 << 20);
}

// Test that a list split from a settings value of nothing but commas costs
// about five bytes an element (its NUL and where it starts), not an object
// per element: a million and one empty elements in well under 6 MB.
TEST(VrelStringlistPacked, AnElementCostsItsTextANulAndFourBytes) {
    if (!heapCountsAreGlibcs()) {
        GTEST_SKIP() << "the heap is not glibc's, whose counts this reads";
    }
    const vrel_string commas(std::string(1000000, ',').c_str());
    const size_t before = heapInUse();
    const vrel_stringlist list(commas, ',');
    const size_t after = heapInUse();
    ASSERT_EQ(list.count(), 1000001);
    // Large blocks are mapped whole pages at a time.
    EXPECT_LE(after - before, 5u * 1000001u + 16384u);
    EXPECT_GE(after - before, 5u * 1000001u);
}
#endif

} // namespace
