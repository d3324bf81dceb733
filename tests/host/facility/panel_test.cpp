// Panel files as the host reads them, and the control patterns of "XI".
#include "panel.h"

#include "row_name.h"

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>

namespace {

struct pattern_case {
    const char* pattern;
    const char* id;
    bool matches;
};

// Cases print as their pattern and id: the default byte dump reads padding.
void PrintTo(const pattern_case& c, std::ostream* out) {
    *out << c.pattern << " ~ " << c.id;
}

class ControlPattern : public testing::TestWithParam<pattern_case> {};

TEST_P(ControlPattern, Matches) {
    EXPECT_EQ(matches_pattern(GetParam().pattern, GetParam().id), GetParam().matches)
        << GetParam().pattern << " against " << GetParam().id;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ControlPattern,
    testing::Values(pattern_case{"alm_", "alm_1", true}, pattern_case{"alm_", "alm_", true},
                    pattern_case{"alm_", "xalm_1", false}, pattern_case{"", "anything", true},
                    pattern_case{"*alm*", "other_alm", true}, pattern_case{"alm_?", "alm_1", true},
                    pattern_case{"alm_?", "alm_12", false}, pattern_case{"a*b*c", "aXXbYc", true},
                    pattern_case{"a*b*c", "aXXbY", false}, pattern_case{"*", "", true}),
    rows_named_by(&pattern_case::pattern));

TEST(Panel, ReadsControlsAndProperties) {
    panel p;
    std::vector<std::string> problems;
    ASSERT_TRUE(p.load("data/test_panel.vrel_ui", problems));
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(p.declaredNumber(), "1");
    ASSERT_EQ(p.controls().size(), 5u);
    const panel_control* go = p.find("Go");
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(go->kind, "button");
    EXPECT_EQ(*go->property("command"), "alarm.a.b=1");
    EXPECT_EQ(p.find("alm_2")->property("value"), nullptr);
    EXPECT_EQ(p.matching("alm_"), (std::vector<std::string>{"alm_1", "alm_2"}));
}

TEST(Panel, BadFilesSayWhereAndWhy) {
    const std::string path = testing::TempDir() + "bad_panel.vrel_ui";
    {
        std::ofstream out(path);
        out << "<panel number=\"1\">\n  <control id=\"A\">\n    <property name=\"x\"\n</panel>\n";
    }
    panel p;
    std::vector<std::string> problems;
    EXPECT_FALSE(p.load(path, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind(path + ":4: panel file is not well-formed XML", 0), 0u)
        << problems[0];

    problems.clear();
    EXPECT_FALSE(p.load("data/none.vrel_ui", problems));
    EXPECT_NE(problems[0].find("no such file"), std::string::npos);

    {
        std::ofstream out(path);
        out << "<panel>\n<control id=\"A\"/>\n<control id=\"A\"/>\n<control/>\n</panel>\n";
    }
    problems.clear();
    EXPECT_TRUE(p.load(path, problems));
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find(":3: control 'A' is defined again"), std::string::npos);
    EXPECT_NE(problems[1].find(":4: a control without an id"), std::string::npos);
    std::remove(path.c_str());
}

} // namespace
