// The estimate of what a settings file costs once parsed: it must never fall
// below what the parser makes (markup hidden in quotes, comments and character
// data is not counted twice, white space between elements makes no node), and
// it must keep a real settings file well inside the factor the reader allows.
#include "document_cost.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr unsigned long long word = sizeof(void*);

struct cost_case {
    const char* name;
    std::string text;
    unsigned long long nodes; // the document included
    unsigned long long attributes;
};

void PrintTo(const cost_case& c, std::ostream* out) {
    *out << c.name;
}

class DocumentCost : public testing::TestWithParam<cost_case> {};

TEST_P(DocumentCost, CountsEveryRecordTheParserCanMake) {
    const cost_case& c = GetParam();
    EXPECT_EQ(document_cost(c.text.data(), c.text.size()),
              c.nodes * 8 * word + c.attributes * 5 * word);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DocumentCost,
    testing::Values(cost_case{"Empty", "", 1, 0}, cost_case{"OneElement", "<settings/>", 2, 0},
                    // A closing tag is counted as a node: an upper bound, not an exact count.
                    cost_case{"OpenAndClose", "<a></a>", 3, 0},
                    cost_case{"BlankTextMakesNoNode", "<a> \t\r\n </a>", 3, 0},
                    cost_case{"TextMakesANode", "<a>x</a>", 4, 0},
                    cost_case{"Attributes", "<entry id=\"a\" value='1'/>", 2, 2},
                    cost_case{"QuotedMarkupIsNotCounted", "<a b=\"x=y>z<c/>\" c='\"=\"'/>", 2, 2},
                    cost_case{"CommentIsOneNode", "<!-- <a/> <b c=\"d\"/> -->", 2, 0},
                    cost_case{"CharacterDataIsOneNode", "<![CDATA[<a/>x=y]]>", 2, 0},
                    cost_case{"DeclarationIsOneNode", "<?xml version=\"1.0\"?>", 2, 0},
                    cost_case{"UnterminatedTag", "<a b=\"", 2, 1},
                    cost_case{"UnterminatedComment", "<!-- <a/>", 2, 0},
                    cost_case{"EqualsInTextIsNoAttribute", "<a>x=y</a>", 4, 0},
                    cost_case{"DensestElements", "<a/><a/><a/><a/>", 5, 0}),
    [](const testing::TestParamInfo<cost_case>& tested) { return std::string(tested.param.name); });

// Test that a settings file as a facility writes one, with indented entries
// and long lists, costs a small part of what the reader allows.
TEST(DocumentCost, RealSettingsStayWellInsideTheFactor) {
    std::string text = "<?xml version=\"1.0\"?>\n<settings>\n  <section id=\"ZELK_ROUTER\">\n";
    for (int entry = 0; entry < 1000; ++entry) {
        text += "    <entry id=\"key_" + std::to_string(entry) + "\" value=\"1,2,3\"/>\n";
    }
    text += "  </section>\n</settings>\n";
    EXPECT_LT(document_cost(text.data(), text.size()), document_cost_factor / 2 * text.size());
}

} // namespace
