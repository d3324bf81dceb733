// docs/commands.md lists the rule book's rules, in its order, with the same
// kind and reason, so that what the page says is what every host checks.
#include "protocol_rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#ifndef VREL_COMMANDS_PAGE
#error "VREL_COMMANDS_PAGE names docs/commands.md"
#endif

namespace {

struct documented_rule {
    std::string name;
    std::string kind;
    std::string reason;
};

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The rows "| `name` | kind | reason |" under the heading "## The rules".
std::vector<documented_rule> documentedRules() {
    std::ifstream page(VREL_COMMANDS_PAGE);
    std::vector<documented_rule> rules;
    bool inSection = false;
    for (std::string line; std::getline(page, line);) {
        if (line.rfind("## ", 0) == 0) {
            inSection = line == "## The rules";
            continue;
        }
        if (!inSection || line.rfind("| `", 0) != 0) {
            continue;
        }
        std::vector<std::string> cells;
        size_t start = 1;
        for (size_t bar = line.find('|', start); bar != std::string::npos;
             bar = line.find('|', start)) {
            cells.push_back(trimmed(line.substr(start, bar - start)));
            start = bar + 1;
        }
        if (cells.size() == 3 && cells[0].size() > 2) {
            rules.push_back({cells[0].substr(1, cells[0].size() - 2), cells[1], cells[2]});
        }
    }
    return rules;
}

TEST(RulesPage, ListsTheBookInItsOrderWithItsKindsAndReasons) {
    const std::vector<documented_rule> documented = documentedRules();
    ASSERT_EQ(documented.size(), rule_count())
        << "rows under \"## The rules\" in " VREL_COMMANDS_PAGE;
    for (size_t i = 0; i < rule_count(); ++i) {
        const rule_entry& entry = rule_book()[i];
        EXPECT_EQ(documented[i].name, entry.name);
        EXPECT_EQ(documented[i].kind, entry.severity == rule_severity::problem ? "problem" : "note")
            << entry.name;
        EXPECT_EQ(documented[i].reason, entry.reason) << entry.name;
    }
}

} // namespace
