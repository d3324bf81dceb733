// The checks of one section of a settings file against one component's rules:
// its entries, each number, each list and its items, repeats, pairs and the
// values that may not be equal.
#ifndef VREL_DEVHOST_SECTION_CHECKER_H
#define VREL_DEVHOST_SECTION_CHECKER_H

#include "finding_text.h"
#include "report_builder.h"
#include "settings_document.h"
#include "settings_rules.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct entry {
    std::string_view value; // into the settings document
    int line;
};

// A list setting as the component splits it.
struct list_values {
    bool present = false;
    int line = 0;
    size_t count = 0;                            // every item
    std::vector<std::string_view> texts;         // the first itemsCheckedOneByOne, into the entry
    std::vector<std::optional<int32_t>> numbers; // beside texts: the item's number, if it is one
};

// The checks of one section against one component's rules.
class section_checker {
public:
    section_checker(const settings_rules& rules, report_builder& out) : rules_(rules), out_(out) {
        for (const number_rule& rule : rules.numbers) {
            loweredKeys_.emplace(lowered(rule.key), rule.key);
        }
        for (const list_rule& rule : rules.lists) {
            loweredKeys_.emplace(lowered(rule.key), rule.key);
        }
    }

    void check(const settings_section& section);

private:
    std::string kind(const char* what, const std::string& key = std::string()) const {
        return rules_.component + '\n' + rules_.section + '\n' + what + '\n' + key;
    }
    void error(int line, const std::string& kind, std::string message) {
        out_.add(true, line, kind, std::move(message));
    }
    void warning(int line, const std::string& kind, std::string message) {
        out_.add(false, line, kind, std::move(message));
    }
    const entry* find(const std::string& key) const {
        const auto found = entries_.find(key);
        return found == entries_.end() ? nullptr : &found->second;
    }

    void readEntries(const settings_section& section);
    // The rules' key this one differs from only in case, or the empty text.
    std::string similarKey(const std::string& key) const;
    void checkNumber(const number_rule& rule);
    std::optional<int32_t> numberSetting(const std::string& key) const;
    void readList(const list_rule& rule, list_values& list);
    void checkItem(const list_rule& rule, list_values& list, size_t index);
    void emptyItem(const list_rule& rule, const list_values& list, size_t index);
    void checkRepeats(const list_rule& rule, const list_values& list);
    void checkValues(const list_rule& rule, const list_values& list);
    void checkPairs(const list_rule& rule, const list_values& list);

    const settings_rules& rules_;
    report_builder& out_;
    int sectionLine_ = 0;
    std::map<std::string, entry> entries_;
    std::map<std::string, list_values> lists_;
    std::map<std::string, std::string> loweredKeys_; // the rules' keys by their lower case
};

#endif
