// The settings check: every kind of mis-configuration the cue control would
// silently mis-handle is reported with its line, as an error or a warning,
// from the rules file the component owns; good settings pass; files of any
// size or kind give a short report in bounded time.
#include "check_command.h"
#include "settings_check.h"
#include "settings_rules.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <streambuf>

namespace fs = std::filesystem;

namespace {

// The rules files, as the components own them (the suite runs in tests/devhost).
const char* const tavrinRulesFile = "../../panels/components/Tavrin/Tavrin.settings_rules.xml";
const char* const lampRulesFile = "../components/Lamp/Lamp.settings_rules.xml";

const std::vector<settings_rules>& tavrinRules() {
    static const std::vector<settings_rules> rules = [] {
        settings_rules read;
        std::string error;
        EXPECT_TRUE(read_settings_rules(tavrinRulesFile, read, error)) << error;
        return std::vector<settings_rules>{read};
    }();
    return rules;
}

settings_report checkText(const std::string& text) {
    return check_settings_text("s.xml", text, tavrinRules());
}

std::string allLines(const settings_report& report) {
    std::string all;
    for (const std::string& line : report.lines()) {
        all += "\n" + line;
    }
    return all;
}

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
    const settings_report report = checkText(text);
    bool found = false;
    for (const settings_finding& f : report.findings) {
        if (f.message.find(c.message) != std::string::npos) {
            found = true;
            EXPECT_EQ(f.error, c.error) << f.message;
            EXPECT_EQ(f.line, c.line) << f.message;
        }
    }
    EXPECT_TRUE(found) << c.name << ": no finding with '" << c.message
                       << "' among:" << allLines(report);
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
                   "did you mean cue_OFF_source?"},
        // A trailing or leading comma is named as such, not as two in a row.
        check_case{"trailing_comma",
                   {{"musicdestinations", "3,4,5,6,"}},
                   "",
                   true,
                   7,
                   "musicdestinations position 5 is empty (the list ends with a comma)"},
        check_case{"leading_comma",
                   {{"cuesources", ",1,2,3"}},
                   "",
                   true,
                   8,
                   "cuesources position 1 is empty (the list starts with a comma); the "
                   "component reads it as 0"},
        // Blanks after a number the component converts are a warning: it reads
        // '20 ' as 20. Before the number, it reads 0.
        check_case{"number_with_blank_at_end",
                   {{"cue_OFF_source", "20 "}},
                   "",
                   false,
                   6,
                   "entry cue_OFF_source: '20 ' has blanks at its end; the component reads it "
                   "as 20"},
        check_case{"number_with_blank_at_start",
                   {{"cue_OFF_source", " 20"}},
                   "",
                   true,
                   6,
                   "' 20' starts with a blank; the component reads it as 0"},
        check_case{"converted_item_with_blank_at_end",
                   {{"cuesources", "1,2 ,3,4"}},
                   "",
                   false,
                   8,
                   "cuesources position 2 '2 ' has blanks at its end; the component reads it as 2"},
        // A list looked up as text never matches a number written another way.
        check_case{"looked_up_item_with_leading_zero",
                   {{"musicdestinations", "3,04,5,6"}},
                   "",
                   true,
                   7,
                   "'04' is looked up as text, so it never matches; write it as 4"},
        // Device numbers start at 1.
        check_case{"negative_router",
                   {{"cue_router_number", "-3"}},
                   "",
                   true,
                   4,
                   "entry cue_router_number: -3 is below 1; device numbers start at 1"},
        check_case{"zero_info_device",
                   {{"cue_info_number", "0"}},
                   "",
                   true,
                   5,
                   "entry cue_info_number: 0 is below 1"},
        check_case{"cue_source_zero",
                   {{"cuesources", "1,0,3,4"}},
                   "",
                   true,
                   8,
                   "cue source 0 is below 1; cue router sources start at 1"},
        // A cue destination listed twice finds the same number: redundant, not wrong.
        check_case{"duplicate_cue_destination",
                   {{"cuedestinations", "1,2,2,4"}},
                   "",
                   false,
                   9,
                   "cuedestinations lists 2 twice (positions 2 and 3)"},
        // User text in a message is cut, and its control bytes are escaped.
        check_case{"long_text_is_cut",
                   {{"cue_info_number", std::string(5000, 'x')}},
                   "",
                   true,
                   5,
                   "entry cue_info_number: 'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...' is "
                   "not a whole number"},
        check_case{"control_bytes_escaped",
                   {{"cue_info_number", "\x1b[2J"}},
                   "",
                   true,
                   5,
                   "entry cue_info_number: '\\x1b[2J' is not a whole number"},
        // A name with control bytes reaches the panel as it is: said, escaped.
        check_case{"control_byte_in_a_name",
                   {{"sourcenames", "Studio\x1b]0;owned\x07 1,Studio 2,Studio 3,Studio 4"}},
                   "",
                   false,
                   10,
                   "entry sourcenames holds a control byte (\\x1b); the component passes it on"},
        check_case{"control_byte_by_reference",
                   {{"sourcenames", "Studio&#7; 1,Studio 2,Studio 3,Studio 4"}},
                   "",
                   false,
                   10,
                   "entry sourcenames holds a control byte (\\x07)"}),
    [](const testing::TestParamInfo<check_case>& tested) { return tested.param.name; });

TEST(SettingsCheckFile, ExampleSettingsHaveNoErrors) {
    const settings_report report = check_settings_path("../../examples/settings", tavrinRules());
    EXPECT_EQ(report.errors(), 0) << allLines(report);
    EXPECT_EQ(report.warnings(), 0) << allLines(report);
}

TEST(SettingsCheckFile, UnusableFilesAreErrors) {
    EXPECT_EQ(check_settings_path("data/no_such_folder", tavrinRules()).errors(), 1);

    const settings_report malformed =
        checkText("<settings>\n<section id=\"ZELK_ROUTER\">\n<entry\n");
    ASSERT_EQ(malformed.errors(), 1);
    EXPECT_EQ(malformed.findings[0].line, 3);
    EXPECT_EQ(malformed.lines()[0].rfind("s.xml:3: error: not well-formed XML", 0), 0u);

    const settings_report noSection = checkText("<settings><section id=\"OTHER\"/></settings>");
    ASSERT_EQ(noSection.errors(), 1);
    EXPECT_NE(noSection.findings[0].message.find("no section ZELK_ROUTER"), std::string::npos);
}

// Ten alike warnings make one line that counts the others.
TEST(SettingsCheckReport, AlikeFindingsAreFolded) {
    std::string notes;
    for (int i = 0; i < 10; ++i) {
        notes += "    <note/>\n";
    }
    const settings_report report = checkText(settingsText({}, notes));
    ASSERT_EQ(report.lines().size(), 1u) << allLines(report);
    EXPECT_EQ(report.lines()[0], "s.xml:11: warning: <note> is not an <entry>; the component "
                                 "skips it (and 9 more like it, the last on line 20)");
    EXPECT_EQ(report.warnings(), 10);
    EXPECT_EQ(report.errors(), 0);
}

struct malformed_case {
    const char* name;
    const char* text;
    int line; // where the fault is
    const char* says;
};

void PrintTo(const malformed_case& c, std::ostream* out) {
    *out << c.name;
}

class MalformedSettings : public testing::TestWithParam<malformed_case> {};

// The parser notices a fault after the blanks that follow it; the message
// points at the line where the fault is.
TEST_P(MalformedSettings, PointAtTheLineOfTheFault) {
    const malformed_case& c = GetParam();
    const settings_report report = checkText(c.text);
    ASSERT_EQ(report.findings.size(), 1u) << allLines(report);
    EXPECT_EQ(report.findings[0].line, c.line) << allLines(report);
    EXPECT_NE(report.findings[0].message.find(c.says), std::string::npos) << allLines(report);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedSettings,
    testing::Values(
        malformed_case{"tag_left_open",
                       "<settings>\n<section id=\"ZELK_ROUTER\">\n<entry id=\"a\" value=\"1\"\n"
                       "</section>\n</settings>\n",
                       3, "not well-formed XML (Error parsing start element tag"},
        malformed_case{"file_ends_in_a_tag_after_blank_lines",
                       "<settings>\n<section id=\"ZELK_ROUTER\">\n<entry id=\"a\"\n\n\n", 3,
                       "not well-formed XML"},
        malformed_case{"wrong_closing_tag",
                       "<settings>\n<section id=\"ZELK_ROUTER\">\n</sectoin>\n</settings>\n", 3,
                       "</sectoin> does not close the element open before it"},
        malformed_case{"elements_left_open",
                       "<settings>\n<section id=\"ZELK_ROUTER\">\n"
                       "<entry id=\"a\" value=\"1\"/>\n\n",
                       3, "the file ends before every element is closed"},
        malformed_case{"only_blank_lines", "\n\n\n", 1, "No document element found"}),
    [](const testing::TestParamInfo<malformed_case>& tested) { return tested.param.name; });

// Processor time of this process: the work done, however busy the machine.
double processorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// How much longer the same work takes in a sanitized build.
#if defined(__SANITIZE_ADDRESS__)
constexpr double slowdown = 5.0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr double slowdown = 5.0;
#else
constexpr double slowdown = 1.0;
#endif
#else
constexpr double slowdown = 1.0;
#endif

// A value of a million commas is reported in a few lines, quickly.
TEST(SettingsCheckBounds, AMillionCommasGiveAFewLines) {
    const std::string text = settingsText({{"musicdestinations", std::string(1000000, ',')}});
    const double start = processorSeconds();
    const settings_report report = checkText(text);
    EXPECT_LT(processorSeconds() - start, 5.0 * slowdown);
    const std::string all = allLines(report);
    EXPECT_LT(report.lines().size(), 10u) << all;
    EXPECT_NE(all.find("s.xml:7: error: musicdestinations position 4 is empty (two commas in a "
                       "row?); it never matches a number (and 99996 more like it)"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("musicdestinations has 1000001 items; only the first 100000 are checked"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("musicdestinations position 1000001 is empty (the list ends with a comma)"),
              std::string::npos)
        << all;
}

// Line numbers come from an index of the line starts: 80,000 entries take a
// fraction of the 35 s that counting from the file's start took.
TEST(SettingsCheckBounds, EightyThousandEntriesAreQuick) {
    std::string extra;
    for (int i = 0; i < 80000; ++i) {
        extra += "    <entry id=\"extra" + std::to_string(i) + "\" value=\"1\"/>\n";
    }
    const std::string text = settingsText({}, extra);
    const double start = processorSeconds();
    const settings_report report = checkText(text);
    EXPECT_LT(processorSeconds() - start, 3.0 * slowdown);
    // The first few are shown whole, the others counted with the last of them.
    ASSERT_EQ(report.lines().size(), 3u) << allLines(report);
    EXPECT_EQ(report.lines()[2], "s.xml:13: warning: entry extra2 is not read by the component "
                                 "(and 79997 more like it, the last on line 80010)");
    EXPECT_EQ(report.warnings(), 80000);
}

// A scratch folder for one test, removed afterwards.
class ScratchFolder : public testing::Test {
protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() /
            ("vrel_check_" +
             std::string(testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) +
             "_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    std::string at(const std::string& relative) const {
        return (folder / relative).generic_string();
    }
    void write(const std::string& relative, const std::string& text) const {
        fs::create_directories((folder / relative).parent_path());
        std::ofstream(folder / relative, std::ios::binary) << text;
    }

    fs::path folder;
};

struct path_case {
    const char* name;
    const char* given;    // in the scratch folder
    const char* reported; // the file the report names
    int errors;
    const char* says; // in the one error
};

void PrintTo(const path_case& c, std::ostream* out) {
    *out << c.name;
}

class SettingsPath : public ScratchFolder, public testing::WithParamInterface<path_case> {};

// A folder or the file in it may be given; what cannot be read is one error
// that says why.
TEST_P(SettingsPath, NamesTheFileAndWhatIsWrong) {
    const path_case& c = GetParam();
    write("good/object_settings.xml", settingsText({}));
    fs::create_directories(folder / "named" / "object_settings.xml");
    const settings_report report = check_settings_path(at(c.given), tavrinRules());
    EXPECT_EQ(report.file, at(c.reported));
    ASSERT_EQ(report.errors(), c.errors) << allLines(report);
    if (c.errors > 0) {
        EXPECT_NE(report.findings[0].message.find(c.says), std::string::npos) << allLines(report);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsPath,
    testing::Values(path_case{"folder", "good", "good/object_settings.xml", 0, ""},
                    path_case{"the_file_itself", "good/object_settings.xml",
                              "good/object_settings.xml", 0, ""},
                    path_case{"folder_named_like_the_file", "named/object_settings.xml",
                              "named/object_settings.xml", 1, "a folder, not a file"},
                    path_case{"folder_holding_such_a_folder", "named", "named/object_settings.xml",
                              1, "a folder, not a file"},
                    path_case{"missing", "none", "none", 1, "no such file"}),
    [](const testing::TestParamInfo<path_case>& tested) { return tested.param.name; });

// Sparse files: the cross-built runtime cannot make one this large.
#if !defined(_WIN32)
struct size_case {
    const char* name;
    uintmax_t bytes;
    int errors;
    int warnings;
    const char* says;
};

void PrintTo(const size_case& c, std::ostream* out) {
    *out << c.name;
}

class SettingsSize : public ScratchFolder, public testing::WithParamInterface<size_case> {};

// A file too large to check is said to be what the component makes of it:
// read and used up to its limit, a missing file above it. (The files are
// sparse: nothing of them is written or read.)
TEST_P(SettingsSize, SaysWhatTheComponentDoesWithALargeFile) {
    const size_case& c = GetParam();
    write("object_settings.xml", "");
    fs::resize_file(folder / "object_settings.xml", c.bytes);
    const settings_report report = check_settings_path(at(""), tavrinRules());
    EXPECT_EQ(report.errors(), c.errors) << allLines(report);
    EXPECT_EQ(report.warnings(), c.warnings) << allLines(report);
    ASSERT_EQ(report.findings.size(), 1u) << allLines(report);
    EXPECT_NE(report.findings[0].message.find(c.says), std::string::npos) << allLines(report);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsSize,
    testing::Values(
        size_case{"over_what_the_check_reads", (uintmax_t{64} << 20) + 1, 0, 1,
                  "larger than 64 MiB, more than the check reads, so nothing in it was "
                  "checked; the component reads settings files up to 256 MiB and uses this one"},
        size_case{"at_the_components_limit", uintmax_t{256} << 20, 0, 1,
                  "the component reads settings files up to 256 MiB and uses this one"},
        size_case{"over_the_components_limit", (uintmax_t{256} << 20) + 1, 1, 0,
                  "larger than 256 MiB; the component reads it as a missing file and every "
                  "setting as empty"}),
    [](const testing::TestParamInfo<size_case>& tested) { return tested.param.name; });
#endif

// An output that refuses every byte, as a full disk does.
class refusing_buffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

struct run_case {
    const char* name;
    const char* rules;     // --rules, relative to tests/devhost, or ""
    const char* component; // --component, or ""
    bool withFolders;      // the library folder holds both components' rules
    const char* settings;  // the settings file's text
    check_exit exit;
    bool onError; // what is said goes to the error stream
    const char* says;
};

void PrintTo(const run_case& c, std::ostream* out) {
    *out << c.name;
}

class SettingsCheckRun : public ScratchFolder, public testing::WithParamInterface<run_case> {};

const char* const lampSettings =
    "<settings>\n  <section id=\"LAMP\">\n    <entry id=\"lamp_info_number\" value=\"3\"/>\n"
    "    <entry id=\"lamp_slot\" value=\"2\"/>\n  </section>\n</settings>\n";
const char* const lampOnDeviceZero =
    "<settings>\n  <section id=\"LAMP\">\n    <entry id=\"lamp_info_number\" value=\"0\"/>\n"
    "    <entry id=\"lamp_slot\" value=\"-1\"/>\n  </section>\n</settings>\n";
const char* const otherSettings = "<settings>\n  <section id=\"OTHER\"/>\n</settings>\n";

// The rules are found by file, by component or in the library folders; the
// right component's words explain each finding.
TEST_P(SettingsCheckRun, FindsTheRulesAndSaysWhatIsWrong) {
    const run_case& c = GetParam();
    write("settings/object_settings.xml", c.settings);
    fs::create_directories(folder / "lib");
    if (c.withFolders) {
        fs::copy_file(tavrinRulesFile, folder / "lib" / "Tavrin.settings_rules.xml");
        fs::copy_file(lampRulesFile, folder / "lib" / "Lamp.settings_rules.xml");
    }
    check_request request;
    request.path = at("settings");
    request.rulesFile = c.rules;
    request.component = c.component;
    request.libraryFolders = {at("lib")};
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(run_settings_check(request, out, err), c.exit) << out.str() << err.str();
    const std::string said = c.onError ? err.str() : out.str();
    EXPECT_NE(said.find(c.says), std::string::npos) << out.str() << err.str();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsCheckRun,
    testing::Values(
        run_case{"discovered_by_section", "", "", true, lampSettings, check_passed, false,
                 "object_settings.xml: 0 error(s), 0 warning(s) (section LAMP with Lamp's "
                 "rules)"},
        run_case{"lamp_words_for_the_lamp", "", "", true, lampOnDeviceZero, check_failed, false,
                 "object_settings.xml:3: error: entry lamp_info_number: 0 is below 1; device "
                 "numbers start at 1, so the lamp's colour reaches no info device"},
        run_case{"no_known_section", "", "", true, otherSettings, check_failed, false,
                 "object_settings.xml:1: error: no section that a known component reads: they "
                 "read LAMP (Lamp), ZELK_ROUTER (Tavrin); the file's sections are OTHER"},
        run_case{"by_component", "", "Lamp", true, otherSettings, check_failed, false,
                 "no section LAMP, which Lamp reads"},
        run_case{"by_file", lampRulesFile, "", false, lampSettings, check_passed, false,
                 "(section LAMP with Lamp's rules)"},
        run_case{"no_rules_in_the_folders", "", "", false, lampSettings, check_unusable, true,
                 "vrel-devhost check: no settings rules (*.settings_rules.xml) in "},
        run_case{"unknown_component", "", "Nobody", true, lampSettings, check_unusable, true,
                 "no settings rules for component Nobody (looked for "},
        run_case{"rules_file_missing", "no_such.settings_rules.xml", "", false, lampSettings,
                 check_unusable, true, "'no_such.settings_rules.xml': no such file"}),
    [](const testing::TestParamInfo<run_case>& tested) { return tested.param.name; });

// A report that cannot be written is a failure of its own, said on the error
// stream, never a silent pass.
TEST(SettingsCheckOutput, AWriteThatFailsIsAnError) {
    refusing_buffer refusing;
    std::ostream out(&refusing);
    std::ostringstream err;
    check_request request;
    request.path = "../../examples/settings";
    request.rulesFile = tavrinRulesFile;
    EXPECT_EQ(run_settings_check(request, out, err), check_unusable);
    EXPECT_EQ(err.str().rfind("vrel-devhost check: cannot write the report", 0), 0u) << err.str();
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
        rules_case{"parent_panel_unknown_list",
                   "  <number key=\"r\"/>\n  <parent-panel router=\"r\" sources=\"s\"/>\n", 3,
                   "<parent-panel> sources='s' is no key of the right kind in these rules"},
        rules_case{"parent_panel_router_is_a_list",
                   "  <list key=\"r\" items=\"numbers\" item=\"x\"/>\n"
                   "  <parent-panel router=\"r\"/>\n",
                   3, "<parent-panel> router='r' is no key of the right kind in these rules"},
        rules_case{"parent_panel_through_without_names",
                   "  <number key=\"r\"/>\n  <parent-panel through=\"r\"/>\n", 3,
                   "<parent-panel> through= names destinations only with destination-names="},
        rules_case{"unknown_element", "  <numbr key=\"a\"/>\n", 2,
                   "unknown element <numbr> (expected <number>, <list> or <parent-panel>)"},
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
