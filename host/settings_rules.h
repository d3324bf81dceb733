// What a component reads of its settings, from the rules file the component's
// folder owns (NAME.settings_rules.xml, installed beside the component
// library): the section, the keys, their limits, the sentences that explain
// what the component makes of a wrong value, and what the live page's parent
// panel offers. The settings check and the live page know no component; all
// of it comes from here. The format is described in docs/settings_rules.md.
#ifndef VREL_HOST_SETTINGS_RULES_H
#define VREL_HOST_SETTINGS_RULES_H

#include <cstdint>
#include <string>
#include <vector>

// The file name of a component's rules: the component's name + this.
constexpr const char* settings_rules_suffix = ".settings_rules.xml";

// Bounds a value must stay within; either side may be open.
struct value_bounds {
    bool hasMin = false;
    bool hasMax = false;
    int32_t min = 0;
    int32_t max = 0;
    // What a value outside means; "{value}" stands for the value. May be empty.
    std::string because;

    bool given() const { return hasMin || hasMax; }
    bool holds(int32_t value) const {
        return (!hasMin || value >= min) && (!hasMax || value <= max);
    }
};

// A setting the component converts to one number.
struct number_rule {
    std::string key;
    value_bounds bounds;
};

// A setting the component splits at commas into a list.
struct list_rule {
    std::string key;
    bool numbers = true; // false: a list of texts
    // How the component uses a number item: converted to a number (false), or
    // looked up by the exact decimal text of a number (true), which a blank, a
    // leading zero or a sign keeps from ever matching.
    bool exactText = false;
    std::string item; // what one item is, in words, as messages name it

    // Two items with the same value: not checked unless `checkRepeats`.
    bool checkRepeats = false;
    bool repeatIsError = true;
    std::string repeatBecause;

    // The list this one pairs with, position for position, or empty; what is
    // said of this list's items beyond the partner's end, and of the
    // partner's items beyond this list's end (both have defaults).
    std::string pairsWith;
    std::string unpaired;
    std::string partnerUnpaired;

    // Numbers only: the values an item may take (an error outside).
    value_bounds range;
    // Numbers only: above this, an item is kept but never looked up again
    // (a warning).
    bool hasSearchedMax = false;
    int32_t searchedMax = 0;
    std::string searchedBecause;

    // Numbers only: a number setting no item may equal, or empty.
    std::string notEqualKey;
    std::string notEqualBecause;

    // Numbers only: a list of texts whose position n (from 1) names item n,
    // or empty.
    std::string namedBy;
    std::string namedByBecause;
};

// What the parent panel of the live page offers to pick, from these settings:
// the sources and destinations it may send, the router the component works
// with. Keys name rules of the same file; any may be empty.
struct parent_panel_rule {
    std::string router;       // a number key: the component's own router
    std::string sources;      // a list of numbers: the sources to pick from
    std::string destinations; // a list of numbers: the destinations to pick from
    // A list of texts naming destination n by position through the number at
    // the same position of `through` (a list of numbers), or, without one,
    // by the destination's own number.
    std::string destinationNames;
    std::string through;
};

struct settings_rules {
    std::string file;      // where the rules were read from
    std::string component; // who reads the section
    std::string section;
    std::vector<number_rule> numbers; // in the rules file's order
    std::vector<list_rule> lists;
    bool hasParentPanel = false;
    parent_panel_rule parentPanel;

    const number_rule* number(const std::string& key) const;
    const list_rule* list(const std::string& key) const;
    bool knows(const std::string& key) const { return number(key) || list(key); }
};

// Reads the rules in `text`, the content of `file`. False with `error` as
// "file:line: what is wrong" for rules that are not well-formed or that
// contradict themselves (an unknown element or attribute, a bound that is not
// a number, a partner list that is not there, ...).
bool parse_settings_rules(const std::string& file, const std::string& text, settings_rules& rules,
                          std::string& error);

// The same for a rules file on disk (read only when it is a regular file).
bool read_settings_rules(const std::string& path, settings_rules& rules, std::string& error);

// Every rules file directly in `folders`, sorted by name; when two folders hold
// a file of the same name, the one in the earlier folder.
std::vector<std::string> find_settings_rules(const std::vector<std::string>& folders);

// NAME.settings_rules.xml in the first of `folders` that has it, or the empty
// text; `tried` lists every path looked at.
std::string find_component_rules(const std::string& component,
                                 const std::vector<std::string>& folders,
                                 std::vector<std::string>& tried);

// The rules of the component in the library at `libraryPath`, beside it:
// NAME.settings_rules.xml for each name the library's file can be given by
// (component_library::namesOf), or the empty text; `tried` lists every path
// looked at.
std::string find_library_rules(const std::string& libraryPath, std::vector<std::string>& tried);

#endif
