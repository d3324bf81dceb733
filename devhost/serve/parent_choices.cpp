#include "parent_choices.h"

#include "number_text.h"
#include "settings_document.h"
#include "settings_rules.h"

#include <map>

namespace {

std::vector<std::string> listOf(const std::string& text) {
    std::vector<std::string> items;
    if (text.empty()) {
        return items;
    }
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma == std::string::npos ? comma : comma - start));
        if (comma == std::string::npos) {
            return items;
        }
        start = comma + 1;
    }
}

// A number as the page offers it: plain decimal, as the component's lists
// hold numbers it can find.
bool numberOf(const std::string& text, int& value) {
    int32_t number = 0;
    if (!read_plain_number(text, number)) {
        return false;
    }
    value = number;
    return true;
}

} // namespace

json parent_choices(const std::string& folder, const std::vector<std::string>& libraryFolders) {
    json choices = {
        {"cueRouter", nullptr}, {"sources", json::array()}, {"destinations", json::array()}};
    if (folder.empty()) {
        return choices;
    }
    settings_document document;
    std::string error;
    if (!read_settings_document(folder + "/" + settings_file_name, document, error)) {
        choices["problem"] = error;
        return choices;
    }
    // The first rules with a parent panel whose section the settings hold;
    // the first such section, as the component reads it.
    settings_rules rules;
    const settings_section* section = nullptr;
    for (const std::string& path : find_settings_rules(libraryFolders)) {
        settings_rules candidate;
        if (!read_settings_rules(path, candidate, error) || !candidate.hasParentPanel) {
            continue;
        }
        section = document.section(candidate.section);
        if (section != nullptr) {
            rules = candidate;
            break;
        }
    }
    if (section == nullptr) {
        return choices;
    }
    std::map<std::string, std::string> entries = first_values(*section);
    const parent_panel_rule& panel = rules.parentPanel;
    int router = 0;
    if (!panel.router.empty() && numberOf(entries[panel.router], router)) {
        choices["cueRouter"] = router;
    }
    const std::vector<std::string> destinations = listOf(entries[panel.destinations]);
    const std::vector<std::string> through = listOf(entries[panel.through]);
    const std::vector<std::string> names = listOf(entries[panel.destinationNames]);
    for (size_t i = 0; i < destinations.size(); ++i) {
        int number = 0;
        if (!numberOf(destinations[i], number)) {
            continue;
        }
        // Named by position: through the list beside it, or by its own number.
        int position = number;
        if (!panel.through.empty() && (i >= through.size() || !numberOf(through[i], position))) {
            position = 0;
        }
        const std::string name = position >= 1 && static_cast<size_t>(position) <= names.size()
                                     ? names[static_cast<size_t>(position) - 1]
                                     : std::string();
        choices["destinations"].push_back({{"number", number}, {"name", name}});
    }
    for (const std::string& item : listOf(entries[panel.sources])) {
        int number = 0;
        if (numberOf(item, number)) {
            choices["sources"].push_back({{"number", number}, {"name", ""}});
        }
    }
    return choices;
}
