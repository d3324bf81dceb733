// What the reader sees: a failure printed once and then counted, progress on
// a long test, and a test process's diagnostics in whole lines, folded.
#include "diagnostic_digest.h"
#include "report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A report whose printed lines are kept.
class printed {
public:
    printed() { sink_ = ::open_memstream(&buffer_, &size_); }
    ~printed() {
        std::fclose(sink_);
        std::free(buffer_);
    }
    std::FILE* sink() { return sink_; }
    std::string text() {
        std::fflush(sink_);
        return std::string(buffer_, size_);
    }

private:
    char* buffer_ = nullptr;
    size_t size_ = 0;
    std::FILE* sink_;
};

size_t occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(Report, ARepeatedFailureIsPrintedOnceAndCounted) {
    printed lines;
    report out(0, lines.sink());
    out.step("driving");
    for (int i = 0; i < 20; ++i) {
        out.fail("the reply to \"TG\" was not handed back");
    }
    out.fail("another fault");
    EXPECT_EQ(out.failures(), 21);
    EXPECT_EQ(occurrences(lines.text(), "the reply to \"TG\" was not handed back"), 1u);
    EXPECT_EQ(occurrences(lines.text(), "(during: driving)"), 2u);
    ASSERT_EQ(out.folded().size(), 2u);
    EXPECT_EQ(out.folded()[0].count, 20);
    EXPECT_EQ(
        repeatLines(out.folded(), out.unlistedFailures()),
        std::vector<std::string>{"    (20 times in all: the reply to \"TG\" was not handed back)"});
}

TEST(Report, DistinctFailuresPastTheLimitAreOnlyCounted) {
    printed lines;
    report out(0, lines.sink());
    for (size_t i = 0; i < report::keptFailures + 5; ++i) {
        out.fail("fault " + std::to_string(i));
    }
    EXPECT_EQ(out.folded().size(), report::keptFailures);
    EXPECT_EQ(out.unlistedFailures(), 5);
    EXPECT_EQ(occurrences(lines.text(), "FAIL: "), report::keptFailures);
    EXPECT_EQ(repeatLines(out.folded(), out.unlistedFailures()).back(),
              "    (5 more failures with other messages, not printed)");
}

// A step is printed at -v; at the default verbosity only once the progress
// interval has passed; with -q never.
TEST(Report, StepsShowAsProgressByVerbosity) {
    const struct {
        int verbosity;
        const char* expected;
    } rows[] = {{0, ""}, {1, "    ... 0 s: cycle 100 of 1000\n"}, {2, "    - cycle 100 of 1000\n"}};
    for (const auto& row : rows) {
        printed lines;
        report out(row.verbosity, lines.sink());
        out.setProgressInterval(std::chrono::seconds(0));
        out.step("cycle 100 of 1000");
        EXPECT_EQ(lines.text(), row.expected) << row.verbosity;
    }
    printed lines;
    report out(1, lines.sink());
    out.step("a step of a short test");
    EXPECT_EQ(lines.text(), "");
}

struct digest_case {
    const char* name;
    std::string output;
    std::vector<std::string> folded;
    std::vector<std::string> tail;
};

void PrintTo(const digest_case& c, std::ostream* os) {
    *os << c.name;
}

class digested : public testing::TestWithParam<digest_case> {};

TEST_P(digested, ShowsWholeLinesFolded) {
    const digest_case& c = GetParam();
    // Fed whole and fed a byte at a time, the digest is the same.
    diagnostic_digest whole(2, 3);
    whole.take(c.output.data(), c.output.size());
    whole.finish();
    diagnostic_digest pieces(2, 3);
    for (char byte : c.output) {
        pieces.take(&byte, 1);
    }
    pieces.finish();
    EXPECT_EQ(whole.folded(), c.folded);
    EXPECT_EQ(whole.tail(), c.tail);
    EXPECT_EQ(pieces.folded(), c.folded);
    EXPECT_EQ(pieces.tail(), c.tail);
}

const std::string words = [] {
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += "word" + std::to_string(i % 10) + " ";
    }
    return text; // 240 characters
}();

INSTANTIATE_TEST_SUITE_P(
    Outputs, digested,
    testing::Values(
        digest_case{"repeats", "same\nsame\nsame\n", {"same  (3 times)"}, {"same  (3 times)"}},
        digest_case{"no_line_end_at_the_end", "one\ntwo", {"one", "two"}, {"one", "two"}},
        digest_case{"more_kinds_than_kept",
                    "a\nb\nc\na\nd\n",
                    {"a  (2 times)", "b", "(2 more lines of other kinds)"},
                    {"(2 earlier lines left out)", "c", "a", "d"}},
        digest_case{"control_bytes", "bell\a\r\n", {"bell\\x07"}, {"bell\\x07"}},
        digest_case{"a_long_line_cut_at_a_space",
                    words + "\n",
                    {words.substr(0, 155) + " ... (85 more characters)"},
                    {words.substr(0, 155) + " ... (85 more characters)"}},
        digest_case{"a_long_line_without_spaces",
                    std::string(1000, 'x'),
                    {std::string(160, 'x') + " ... (840 more characters)"},
                    {std::string(160, 'x') + " ... (840 more characters)"}}),
    [](const testing::TestParamInfo<digest_case>& tested) {
        return std::string(tested.param.name);
    });

} // namespace
