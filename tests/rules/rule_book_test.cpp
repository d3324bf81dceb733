// Each rule of the rule book, broken on its own by the rule breaker: the
// development host flags it (exit 1 for a problem) and the validator fails
// it, both naming the rule, and neither names any other. The breaker's twin,
// which keeps every rule, passes both. The rules are read from the book
// itself, so a rule added without a way to break it fails here.
#include "protocol_rules.h"
#include "shell_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifndef VREL_RULE_BREAKER
#error "VREL_RULE_BREAKER names the rule breaker library"
#endif

namespace {

// Runs `command` with VREL_BREAK_RULE set to `rule` (unset when empty).
command_result run(const std::string& command, const std::string& rule) {
    if (rule.empty()) {
        ::unsetenv("VREL_BREAK_RULE");
    } else {
        ::setenv("VREL_BREAK_RULE", rule.c_str(), 1);
    }
    command_result result = run_shell_command(command + " 2>&1");
    ::unsetenv("VREL_BREAK_RULE");
    return result;
}

command_result runDevhost(const std::string& rule) {
    const std::string library = VREL_RULE_BREAKER;
    return run("'" VREL_DEVHOST "' --color=never --lib-dir '" +
                   library.substr(0, library.rfind('/')) + "' breaker.scenario",
               rule);
}

command_result runValidator(const std::string& rule) {
    return run("'" VREL_VALIDATE "' -v -v --seed 1 --tests load '" VREL_RULE_BREAKER
               "' '" VREL_EXAMPLE_SETTINGS "'",
               rule);
}

// The names of the rules the output names as broken, in book order.
std::vector<std::string> namedRules(const std::string& output) {
    std::vector<std::string> named;
    for (size_t i = 0; i < rule_count(); ++i) {
        const std::string tag = std::string("[") + rule_book()[i].name + "]";
        if (output.find(tag) != std::string::npos) {
            named.push_back(rule_book()[i].name);
        }
    }
    return named;
}

class broken_rule : public testing::TestWithParam<std::string> {};

TEST_P(broken_rule, IsFlaggedByBothHostsAndNoOtherIs) {
    const rule_entry* rule = find_rule(GetParam());
    ASSERT_NE(rule, nullptr);
    const std::vector<std::string> onlyThis{rule->name};
    const bool problem = rule->severity == rule_severity::problem;

    const command_result devhost = runDevhost(rule->name);
    EXPECT_EQ(devhost.status, problem ? 1 : 0) << devhost.output;
    EXPECT_EQ(namedRules(devhost.output), onlyThis) << devhost.output;

    const command_result validator = runValidator(rule->name);
    EXPECT_EQ(validator.status, problem ? 1 : 0) << validator.output;
    EXPECT_EQ(namedRules(validator.output), onlyThis) << validator.output;
}

std::vector<std::string> bookNames() {
    std::vector<std::string> names;
    for (size_t i = 0; i < rule_count(); ++i) {
        names.push_back(rule_book()[i].name);
    }
    return names;
}

INSTANTIATE_TEST_SUITE_P(Book, broken_rule, testing::ValuesIn(bookNames()),
                         [](const testing::TestParamInfo<std::string>& tested) {
                             std::string name = tested.param;
                             for (char& c : name) {
                                 c = c == '-' ? '_' : c;
                             }
                             return name;
                         });

TEST(RuleBreakerTwin, KeepsEveryRuleAndPassesBothHosts) {
    const command_result devhost = runDevhost("");
    EXPECT_EQ(devhost.status, 0) << devhost.output;
    EXPECT_EQ(namedRules(devhost.output), std::vector<std::string>{}) << devhost.output;
    // It did live: shown, answered, its timer fired, destroyed.
    EXPECT_NE(devhost.output.find("timer 1 expired"), std::string::npos) << devhost.output;
    EXPECT_NE(devhost.output.find("out     AS"), std::string::npos) << devhost.output;

    const command_result validator = runValidator("");
    EXPECT_EQ(validator.status, 0) << validator.output;
    EXPECT_EQ(namedRules(validator.output), std::vector<std::string>{}) << validator.output;
}

TEST(RuleBook, NamesAreUniqueAndInTheOrderOfTheEnum) {
    for (size_t i = 0; i < rule_count(); ++i) {
        const rule_entry& entry = rule_book()[i];
        EXPECT_EQ(static_cast<size_t>(entry.rule), i) << entry.name;
        EXPECT_EQ(find_rule(entry.name), &entry) << entry.name;
        EXPECT_NE(std::string(entry.reason), "") << entry.name;
    }
}

} // namespace
