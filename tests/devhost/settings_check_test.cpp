// The settings check: every kind of mis-configuration the component would
// silently mis-handle is reported with its line, as an error or a warning,
// and good settings pass.
#include "settings_check.h"
#include "settings_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>

namespace {

// Settings like examples/settings, one entry per line from line 4 on, in this
// order; `changes` replaces values ("" removes the entry), `extra` appends lines.
std::string settingsText(const std::map<std::string, std::string>& changes,
                         const std::string& extra = "") {
    const std::vector<std::pair<std::string, std::string>> base = {
        {"cue_router_number", "7"},
        {"cue_info_number", "9"},
        {"cue_OFF_source", "20"},
        {"musicdestinations", "3,4,5,6"},
        {"cuesources", "1,2,3,4"},
        {"cuedestinations", "1,2,3,4"},
        {"sourcenames", "Studio 1,Studio 2,Studio 3,Studio 4"},
    };
    std::string text = "<?xml version=\"1.0\"?>\n<settings>\n  <section id=\"ZELK_ROUTER\">\n";
    for (const auto& entry : base) {
        const auto changed = changes.find(entry.first);
        if (changed != changes.end() && changed->second == "") {
            continue;
        }
        const std::string value = changed == changes.end() ? entry.second : changed->second;
        text += "    <entry id=\"" + entry.first + "\" value=\"" + value + "\"/>\n";
    }
    return text + extra + "  </section>\n</settings>\n";
}

// A value that stands for "present but empty" in the table below.
const std::string emptyValue = "\x01";

struct check_case {
    const char* name;
    std::map<std::string, std::string> changes;
    std::string extra;
    bool error;
    int line;
    const char* message;
};

// Cases print as their name: the default byte dump reads padding.
void PrintTo(const check_case& c, std::ostream* out) {
    *out << c.name;
}

class SettingsCheck : public testing::TestWithParam<check_case> {};

TEST_P(SettingsCheck, ReportsTheEntryAndItsLine) {
    const check_case& c = GetParam();
    std::string text = settingsText(c.changes, c.extra);
    // "\x01" marks a value that must be present and empty.
    for (size_t at = text.find('\x01'); at != std::string::npos; at = text.find('\x01')) {
        text.erase(at, 1);
    }
    const settings_report report = check_settings_text("s.xml", text);
    bool found = false;
    for (const settings_finding& f : report.findings) {
        if (f.message.find(c.message) != std::string::npos) {
            found = true;
            EXPECT_EQ(f.error, c.error) << f.message;
            EXPECT_EQ(f.line, c.line) << f.message;
        }
    }
    std::string all;
    for (const std::string& line : report.lines()) {
        all += "\n" + line;
    }
    EXPECT_TRUE(found) << c.name << ": no finding with '" << c.message << "' among:" << all;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsCheck,
    testing::Values(
        check_case{
            "missing_key", {{"cue_info_number", ""}}, "", true, 3, "missing entry cue_info_number"},
        check_case{"not_a_number",
                   {{"cue_router_number", "7x"}},
                   "",
                   true,
                   4,
                   "'7x' is not a whole number; the component reads it as 7"},
        check_case{"number_beyond_32_bits",
                   {{"cue_router_number", "99999999999"}},
                   "",
                   true,
                   4,
                   "'99999999999' is not a whole number; the component reads it as 2147483647"},
        check_case{"empty_number",
                   {{"cue_OFF_source", emptyValue}},
                   "",
                   true,
                   6,
                   "'' is not a whole number; the component reads it as 0"},
        check_case{"fewer_cue_sources",
                   {{"cuesources", "1,2,3"}},
                   "",
                   true,
                   8,
                   "cuesources has 3 entries but musicdestinations (line 7) has 4; they pair "
                   "position for position, so music destination 6"},
        check_case{"more_cue_sources",
                   {{"cuesources", "1,2,3,4,5"}},
                   "",
                   true,
                   8,
                   "cue source 5 (position 5) and any after it belong to no destination"},
        check_case{"untracked_cue_destination",
                   {{"cuedestinations", "1,2,17,4"}},
                   "",
                   true,
                   9,
                   "cue destination 17 is outside 1-16"},
        check_case{"unsearched_cue_destination",
                   {{"cuedestinations", "1,2,15,4"}},
                   "",
                   false,
                   9,
                   "cue destination 15 is tracked, but a cue routed there is never found"},
        check_case{"duplicate_destination",
                   {{"musicdestinations", "3,4,3,6"}},
                   "",
                   true,
                   7,
                   "musicdestinations lists 3 twice (positions 1 and 3)"},
        check_case{"duplicate_cue_source",
                   {{"cuesources", "1,2,2,4"}},
                   "",
                   false,
                   8,
                   "two music destinations share one cue source"},
        check_case{"duplicate_entry",
                   {},
                   "    <entry id=\"cue_router_number\" value=\"8\"/>\n",
                   true,
                   11,
                   "entry cue_router_number is given again"},
        check_case{"missing_name",
                   {{"sourcenames", "Studio 1,,Studio 3"}},
                   "",
                   false,
                   10,
                   "cue source 2 has no name"},
        check_case{"names_too_short",
                   {{"sourcenames", "Studio 1"}},
                   "",
                   false,
                   10,
                   "cue source 4 has no name"},
        check_case{
            "blanks_in_list", {{"cuedestinations", "1, 2,3,4"}}, "", true, 9, "' 2' has blanks"},
        check_case{"empty_list_item",
                   {{"musicdestinations", "3,,5,6"}},
                   "",
                   true,
                   7,
                   "musicdestinations position 2 is empty"},
        check_case{"off_source_as_cue_source",
                   {{"cuesources", "1,2,20,4"}},
                   "",
                   true,
                   8,
                   "cue source 20 is cue_OFF_source"},
        check_case{"misspelt_key",
                   {},
                   "    <entry id=\"cue_off_source\" value=\"20\"/>\n",
                   false,
                   11,
                   "did you mean cue_OFF_source?"}),
    [](const testing::TestParamInfo<check_case>& tested) { return tested.param.name; });

TEST(SettingsCheckFile, ExampleSettingsHaveNoErrors) {
    const settings_report report = check_settings_folder("../../examples/settings");
    std::string all;
    for (const std::string& line : report.lines()) {
        all += "\n" + line;
    }
    EXPECT_EQ(report.errors(), 0) << all;
    EXPECT_EQ(report.warnings(), 0) << all;
}

TEST(SettingsCheckFile, UnusableFilesAreErrors) {
    EXPECT_EQ(check_settings_folder("data/no_such_folder").errors(), 1);

    const settings_report malformed =
        check_settings_text("s.xml", "<settings>\n<section id=\"ZELK_ROUTER\">\n<entry\n");
    ASSERT_EQ(malformed.errors(), 1);
    EXPECT_EQ(malformed.findings[0].line, 3);
    EXPECT_EQ(malformed.lines()[0].rfind("s.xml:3: error: not well-formed XML", 0), 0u);

    const settings_report noSection =
        check_settings_text("s.xml", "<settings><section id=\"OTHER\"/></settings>");
    ASSERT_EQ(noSection.errors(), 1);
    EXPECT_NE(noSection.findings[0].message.find("no section ZELK_ROUTER"), std::string::npos);
}

struct rules_case {
    const char* name;
    const char* body; // inside <settings-rules component="C" section="S">, from line 2
    int line;
    const char* says;
};

void PrintTo(const rules_case& c, std::ostream* out) {
    *out << c.name;
}

class BadRules : public testing::TestWithParam<rules_case> {};

// A rules file that is wrong says where, so that a component's author finds
// the mistake before a user meets it.
TEST_P(BadRules, AreRefusedWithTheirLine) {
    const rules_case& c = GetParam();
    const std::string text = std::string("<settings-rules component=\"C\" section=\"S\">\n") +
                             c.body + "</settings-rules>\n";
    settings_rules rules;
    std::string error;
    ASSERT_FALSE(parse_settings_rules("r.xml", text, rules, error));
    EXPECT_EQ(error, "r.xml:" + std::to_string(c.line) + ": " + c.says);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadRules,
    testing::Values(
        rules_case{"no_keys", "", 1, "<settings-rules> names no <number> and no <list>"},
        rules_case{"unknown_element", "  <numbr key=\"a\"/>\n", 2,
                   "unknown element <numbr> (expected <number> or <list>)"},
        rules_case{"unknown_attribute", "  <number key=\"a\" mni=\"1\"/>\n", 2,
                   "<number> has no attribute 'mni' (it takes key, min, max, because)"},
        rules_case{"bound_not_a_number", "  <number key=\"a\" min=\"one\"/>\n", 2,
                   "<number> min='one' is not a whole number"},
        rules_case{"min_above_max", "  <number key=\"a\" min=\"5\" max=\"1\"/>\n", 2,
                   "<number> min 5 is above max 1"},
        rules_case{"key_twice",
                   "  <number key=\"a\"/>\n  <list key=\"a\" items=\"texts\" item=\"x\"/>\n", 3,
                   "key a has rules already"},
        rules_case{"items_unknown", "  <list key=\"a\" items=\"words\" item=\"x\"/>\n", 2,
                   "<list> items='words': numbers or texts"},
        rules_case{"partner_missing",
                   "  <list key=\"a\" items=\"numbers\" item=\"x\">\n    <pairs with=\"b\"/>\n"
                   "  </list>\n",
                   2, "<pairs with='b'>: no other <list> has key b"},
        rules_case{"names_are_numbers",
                   "  <list key=\"a\" items=\"numbers\" item=\"x\">\n    <named-by list=\"b\"/>\n"
                   "  </list>\n  <list key=\"b\" items=\"numbers\" item=\"y\"/>\n",
                   2, "<named-by list='b'>: no <list> of texts has key b"},
        rules_case{"range_on_texts",
                   "  <list key=\"a\" items=\"texts\" item=\"x\">\n    <range min=\"1\"/>\n"
                   "  </list>\n",
                   3, "<range> is for lists of numbers"},
        rules_case{"searched_outside_range",
                   "  <list key=\"a\" items=\"numbers\" item=\"x\">\n"
                   "    <range min=\"1\" max=\"4\"/>\n    <searched max=\"9\"/>\n  </list>\n",
                   2, "<searched> max 9 lies outside the list's <range>"},
        rules_case{"not_equal_unknown",
                   "  <list key=\"a\" items=\"numbers\" item=\"x\">\n"
                   "    <not-equal key=\"off\"/>\n  </list>\n",
                   2, "<not-equal key='off'>: no <number> has key off"},
        rules_case{"severity_unknown",
                   "  <list key=\"a\" items=\"numbers\" item=\"x\">\n"
                   "    <repeats severity=\"fatal\"/>\n  </list>\n",
                   3, "<repeats> severity='fatal': error or warning"},
        rules_case{"part_twice",
                   "  <list key=\"a\" items=\"numbers\" item=\"x\">\n"
                   "    <range min=\"1\"/>\n    <range max=\"4\"/>\n  </list>\n",
                   4, "<range> is given twice in one <list>"}),
    [](const testing::TestParamInfo<rules_case>& tested) { return tested.param.name; });

} // namespace
