// vrel-validate as a user runs it: what each verbosity prints, a wrong call
// answered in one line, repeated failures folded, diagnostics in whole lines,
// files that are not what they should be named, and the JSON report.
#include "shell_command.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#ifndef VREL_VALIDATE_PROGRAM
#error "VREL_VALIDATE_PROGRAM names the vrel-validate program"
#endif

namespace {

struct run_result : command_result {
    std::vector<std::string> lines; // the output's lines
};

class ValidateProgram : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vrel_validate_cli_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        const std::string command = "rm -rf '" + folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    // Runs vrel-validate with `arguments` (shell words) and `fault` chosen in
    // the faulty component; `redirect` ends the command line.
    run_result run(const std::string& fault, const std::string& arguments,
                   const std::string& redirect = "2>&1") const {
        const std::string command =
            "VREL_FAULT='" + fault + "' '" VREL_VALIDATE_PROGRAM "' " + arguments + " " + redirect;
        run_result result;
        static_cast<command_result&>(result) = run_shell_command(command);
        std::istringstream lines(result.output);
        for (std::string line; std::getline(lines, line);) {
            result.lines.push_back(line);
        }
        return result;
    }
    std::string component() const { return "'" VREL_FAULTY_COMPONENT "' '" + folder + "'"; }

    std::string folder;
};

size_t occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

struct output_case {
    const char* name;
    const char* fault;
    const char* options;
    int status;
    std::vector<const char*> shown;    // each printed exactly once
    std::vector<const char*> notShown; // never printed
};

void PrintTo(const output_case& c, std::ostream* os) {
    *os << c.name;
}

class printed_output : public ValidateProgram, public testing::WithParamInterface<output_case> {};

TEST_P(printed_output, MatchesTheVerbosity) {
    const output_case& c = GetParam();
    const run_result result = run(c.fault, std::string(c.options) + " " + component());
    EXPECT_EQ(result.status, c.status) << result.output;
    for (const char* part : c.shown) {
        EXPECT_EQ(occurrences(result.output, part), 1u) << part << "\n" << result.output;
    }
    for (const char* part : c.notShown) {
        EXPECT_EQ(occurrences(result.output, part), 0u) << part << "\n" << result.output;
    }
    // Whatever the test process wrote is shown in whole lines only.
    for (const std::string& line : result.lines) {
        if (line.rfind("    | ", 0) == 0) {
            const std::string shown = line.substr(6);
            EXPECT_TRUE(shown.rfind("faulty component: ", 0) == 0 || shown[0] == '(') << line;
        }
    }
}

const char* const quickRun = "--seed 3 --level 1 --tests load";

INSTANTIATE_TEST_SUITE_P(
    Runs, printed_output,
    testing::Values(
        output_case{"quiet_pass",
                    "",
                    "-q --seed 3 --level 1 --tests load,soak",
                    0,
                    {"validate: 2 passed, 0 failed"},
                    {"[ RUN", "[  OK  ]", "replay", "checks, 0 failed ("}},
        output_case{"quiet_failure",
                    "bad-text",
                    "-q --seed 3 --level 1 --tests load,soak",
                    1,
                    {"[ FAIL ] load", "[ FAIL ] soak", "replay with --seed 3 --level 1"},
                    {"[ RUN", "[  OK  ]"}},
        output_case{"a_failure_repeated_is_folded",
                    "bad-text",
                    quickRun,
                    1,
                    {"FAIL: the command \"TP 'text' '1' 'CueInfo'\"", "times in all: the command"},
                    {}},
        output_case{"default",
                    "chatty",
                    quickRun,
                    0,
                    {"[ RUN  ] load", "[  OK  ] load", "lines of diagnostics; -v shows them"},
                    {"- learning the component's words", "sent: ", "    | "}},
        output_case{"one_v_adds_steps_and_folded_diagnostics",
                    "chatty",
                    "-v --seed 3 --level 1 --tests load",
                    0,
                    {"- learning the component's words", "each kind once",
                     "| faulty component: diagnostic line 17 of the start-up  (5 times)",
                     "more lines of other kinds)"},
                    {"sent: "}},
        output_case{"two_v_add_every_command_and_the_end_of_the_diagnostics",
                    "chatty",
                    "-v -v --seed 3 --level 1 --tests load",
                    0,
                    {"the end of them", "earlier lines left out"},
                    {"each kind once"}},
        output_case{"a_wrong_call_is_one_line_and_a_hint",
                    "",
                    "--level 0",
                    2,
                    {"vrel-validate: --level: needs a level from 1 to 10, not '0'\n"
                     "(vrel-validate --help shows the options)\n"},
                    {"Exit status", "[ RUN"}}),
    [](const testing::TestParamInfo<output_case>& tested) {
        return std::string(tested.param.name);
    });

TEST_F(ValidateProgram, AWrongCallPrintsTwoLines) {
    const run_result result = run("", "--tests nap " + component());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.lines.size(), 2u) << result.output;
}

// A FIFO in place of a file a user names is called what it is, at once: the
// loader and the component's settings reader would wait on it for ever.
TEST_F(ValidateProgram, AFifoIsNamedAsOne) {
    const struct {
        const char* fifo;
        const char* arguments;
        const char* message;
    } rows[] = {
        {"object_settings.xml", "'" VREL_FAULTY_COMPONENT "' '%s'",
         "the settings file '%s/object_settings.xml': not a regular file (a FIFO)"},
        {"library.so", "'%s/library.so' '%s'",
         "the component library '%s/library.so': not a regular file (a FIFO)"},
    };
    for (const auto& row : rows) {
        ASSERT_EQ(::mkfifo((folder + "/" + row.fifo).c_str(), 0600), 0);
        auto fill = [&](const char* pattern) {
            std::string text = pattern;
            for (size_t at; (at = text.find("%s")) != std::string::npos;) {
                text.replace(at, 2, folder);
            }
            return text;
        };
        const auto start = std::chrono::steady_clock::now();
        const run_result result = run("", "--timeout 5 " + fill(row.arguments));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.output, "vrel-validate: " + fill(row.message) + "\n");
        ::unlink((folder + "/" + row.fifo).c_str());
    }
}

TEST_F(ValidateProgram, TheJsonReportHasEveryTestAndFailure) {
    const std::string file = folder + "/report.json";
    const run_result result = run("bad-text", "-q --seed 9 --level 1 --tests load,soak --json '" +
                                                  file + "' " + component());
    EXPECT_EQ(result.status, 1) << result.output;
    std::ifstream in(file);
    const nlohmann::json report = nlohmann::json::parse(in, nullptr, false);
    ASSERT_FALSE(report.is_discarded()) << "not JSON: " << file;
    EXPECT_EQ(report["seed"], 9);
    EXPECT_EQ(report["level"], 1);
    EXPECT_EQ(report["replay"], "--seed 9 --level 1");
    EXPECT_EQ(report["passed"], false);
    EXPECT_EQ(report["tests_failed"], 2);
    ASSERT_EQ(report["tests"].size(), 2u);
    const nlohmann::json& load = report["tests"][0];
    EXPECT_EQ(load["name"], "load");
    EXPECT_GT(load["checks"].get<long long>(), load["failed_checks"].get<long long>());
    ASSERT_EQ(load["failures"].size(), 1u);
    EXPECT_EQ(load["failures"][0]["count"], load["failed_checks"]);
    EXPECT_NE(load["failures"][0]["message"].get<std::string>().find("does not have the form TP"),
              std::string::npos);
    EXPECT_EQ(report["tests"][1]["name"], "soak");
}

// A report or an output that cannot be written fails the run.
TEST_F(ValidateProgram, AWriteThatFailsIsAnError) {
    const std::string quick = "-q --seed 3 --level 1 --tests load " + component();
    const run_result report = run("", "--json /dev/full " + quick);
    EXPECT_EQ(report.status, 2);
    EXPECT_NE(report.output.find("cannot write the JSON report '/dev/full'"), std::string::npos)
        << report.output;
    const run_result output = run("", quick, "2>&1 >/dev/full");
    EXPECT_EQ(output.status, 2);
    EXPECT_NE(output.output.find("cannot write to standard output"), std::string::npos)
        << output.output;
}

// Where the results cannot go, the run stops at once and says why: a closed
// standard output (whose number a file opened later would take), a --json
// FIFO that no one reads (a plain open would wait for ever), a settings file
// the component could not read (it would run on empty settings unseen).
TEST_F(ValidateProgram, AnOutputOrSettingsThatCannotBeUsedStopsTheRun) {
    const std::string quick = "--seed 3 --level 1 --tests load";
    ASSERT_EQ(::mkfifo((folder + "/report.json").c_str(), 0600), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    ::mkdir((folder + "/locked").c_str(), 0755);
    std::ofstream(folder + "/locked/object_settings.xml") << "<settings/>\n";
    ASSERT_EQ(::chmod((folder + "/locked/object_settings.xml").c_str(), 0), 0);
    // As the superuser every file can be read: the unreadable file is tried
    // as nobody.
    const std::string asNobody =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const struct {
        const char* name;
        std::string command;
        std::string says;
    } rows[] = {
        {"closed_standard_output",
         "'" VREL_VALIDATE_PROGRAM "' " + quick + " " + component() + " 2>&1 >&-",
         "vrel-validate: standard output is closed; the results would be lost"},
        {"json_to_a_fifo_without_reader",
         "'" VREL_VALIDATE_PROGRAM "' " + quick + " --json '" + folder + "/report.json' " +
             component() + " 2>&1",
         "vrel-validate: cannot write the JSON report '" + folder +
             "/report.json': a FIFO that no one reads"},
        {"unreadable_settings_file",
         asNobody + "'" VREL_VALIDATE_PROGRAM "' " + quick + " '" VREL_FAULTY_COMPONENT "' '" +
             folder + "/locked' 2>&1",
         "vrel-validate: the settings file '" + folder +
             "/locked/object_settings.xml': cannot be read (Permission denied)"},
    };
    for (const auto& row : rows) {
        const auto start = std::chrono::steady_clock::now();
        const command_result result = run_shell_command("timeout 20 " + row.command);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << row.name;
        EXPECT_EQ(result.status, 2) << row.name << "\n" << result.output;
        EXPECT_EQ(result.output, row.says + "\n") << row.name;
    }
}

// The component's settings rules, found beside the library: the faulty
// component is linked into the test folder, its panel file left where it is.
class ValidateWithRules : public ValidateProgram {
protected:
    void SetUp() override {
        ValidateProgram::SetUp();
        library = folder + "/libvrel_faulty_component.so";
        rules = folder + "/vrel_faulty_component.settings_rules.xml";
        ASSERT_EQ(::symlink(VREL_FAULTY_COMPONENT, library.c_str()), 0);
        const std::string original = VREL_FAULTY_COMPONENT;
        arguments = "--component-path '" + original.substr(0, original.rfind('/')) + "' '" +
                    library + "' '" + folder + "'";
    }
    void writeRules(const std::string& text) const { std::ofstream(rules) << text; }

    std::string library;
    std::string rules;
    std::string arguments;
};

const char* const faultyRules = "<settings-rules component=\"Faulty\" section=\"FAULTY\">\n"
                                "  <number key=\"device\" min=\"1\"/>\n"
                                "  <list key=\"names\" items=\"texts\" item=\"name\"/>\n"
                                "</settings-rules>\n";

TEST_F(ValidateWithRules, TheReportNamesTheSectionAndKeys) {
    writeRules(faultyRules);
    const std::string file = folder + "/report.json";
    const run_result result =
        run("", "-v --seed 3 --level 1 --tests load --json '" + file + "' " + arguments);
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(occurrences(result.output, "  settings rules " + rules +
                                             ": Faulty reads section FAULTY, keys device "
                                             "(number), names (list of texts)\n"),
              1u)
        << result.output;
    std::ifstream in(file);
    const nlohmann::json report = nlohmann::json::parse(in, nullptr, false);
    ASSERT_FALSE(report.is_discarded());
    const nlohmann::json& settings = report["settings_rules"];
    EXPECT_EQ(settings["found"], true);
    EXPECT_EQ(settings["file"], rules);
    EXPECT_EQ(settings["section"], "FAULTY");
    EXPECT_EQ(settings["keys"], nlohmann::json::parse(R"([{"key": "device", "kind": "number"},
        {"key": "names", "kind": "list of texts"}])"));
}

TEST_F(ValidateWithRules, WithoutRulesTheRunGoesOnAndSaysSoOnce) {
    const std::string file = folder + "/report.json";
    const run_result result =
        run("", "--seed 3 --level 1 --tests load --json '" + file + "' " + arguments);
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(
        occurrences(result.output, "note: no settings rules beside the library (no " + folder +
                                       "/vrel_faulty_component.settings_rules.xml"
                                       " or " +
                                       folder + "/libvrel_faulty_component.settings_rules.xml)"),
        1u)
        << result.output;
    std::ifstream in(file);
    const nlohmann::json report = nlohmann::json::parse(in, nullptr, false);
    ASSERT_FALSE(report.is_discarded());
    EXPECT_EQ(report["settings_rules"]["found"], false);
    EXPECT_EQ(report["settings_rules"]["looked_for"].size(), 2u);
    // Quiet: only failures and the summary.
    const run_result quiet = run("", "-q --seed 3 --level 1 --tests load " + arguments);
    EXPECT_EQ(occurrences(quiet.output, "no settings rules"), 0u) << quiet.output;
}

// Rules that cannot be used stop the run before any test, with the file and
// the line, as any other file the validator cannot use.
TEST_F(ValidateWithRules, RulesThatCannotBeUsedStopTheRun) {
    const struct {
        const char* name;
        const char* text; // null: a FIFO in the file's place
        const char* message;
    } rows[] = {
        {"an unknown element",
         "<settings-rules component=\"F\" section=\"S\">\n  <nubmer "
         "key=\"a\"/>\n</settings-rules>\n",
         ".settings_rules.xml:2: "},
        {"not XML", "<settings-rules component=\"F\" section=\"S\">\n<number key=\"a\"\n",
         "not well-formed XML"},
        {"a FIFO", nullptr, "not a regular file (a FIFO)"},
    };
    for (const auto& row : rows) {
        ::unlink(rules.c_str());
        if (row.text != nullptr) {
            writeRules(row.text);
        } else {
            ASSERT_EQ(::mkfifo(rules.c_str(), 0600), 0);
        }
        const run_result result = run("", "--seed 3 --level 1 --tests load " + arguments);
        EXPECT_EQ(result.status, 2) << row.name << "\n" << result.output;
        EXPECT_EQ(result.output.rfind("vrel-validate: ", 0), 0u) << row.name;
        EXPECT_NE(result.output.find(row.message), std::string::npos) << row.name << "\n"
                                                                      << result.output;
        EXPECT_NE(result.output.find("(the component's settings rules, found beside its "
                                     "library)\n"),
                  std::string::npos)
            << row.name << "\n"
            << result.output;
        EXPECT_EQ(result.output.find("[ RUN"), std::string::npos) << row.name;
    }
}

// The settings test writes to the keys the rules name: a component that puts
// a setting into a command as written fails there, and the row is named.
TEST_F(ValidateWithRules, TheSettingsTestAttacksTheKeysTheRulesName) {
    writeRules(faultyRules);
    const run_result result =
        run("trusts-settings", "--seed 3 --level 1 --tests settings " + arguments);
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_NE(result.output.find("settings files failed, the first: FAULTY/device = "),
              std::string::npos)
        << result.output;
    ::unlink(rules.c_str());
    const run_result without =
        run("trusts-settings", "--seed 3 --level 1 --tests settings " + arguments);
    EXPECT_EQ(without.status, 0) << without.output;
}

} // namespace
