#include "settings_profile.h"

const char* kind_name(settings_key_kind kind) {
    switch (kind) {
    case settings_key_kind::number:
        return "number";
    case settings_key_kind::number_list:
        return "list of numbers";
    case settings_key_kind::text_list:
        return "list of texts";
    case settings_key_kind::unknown:
        break;
    }
    return "unknown";
}

std::vector<settings_key> settings_profile::keys() const {
    std::vector<settings_key> all;
    if (!found) {
        return all;
    }
    for (const number_rule& rule : rules.numbers) {
        all.push_back({rule.key, settings_key_kind::number});
    }
    for (const list_rule& rule : rules.lists) {
        all.push_back({rule.key, rule.numbers ? settings_key_kind::number_list
                                              : settings_key_kind::text_list});
    }
    return all;
}

std::string settings_profile::description() const {
    if (!found) {
        std::string places;
        for (const std::string& path : lookedFor) {
            places += (places.empty() ? "" : " or ") + path;
        }
        return "no settings rules beside the library (no " + places +
               "); the settings test writes hostile values to the entries of the settings file";
    }
    std::string text = "settings rules " + file + ": " + rules.component + " reads section " +
                       rules.section + ", keys ";
    bool first = true;
    for (const settings_key& key : keys()) {
        text += (first ? "" : ", ") + key.key + " (" + kind_name(key.kind) + ")";
        first = false;
    }
    if (first) {
        text += "none";
    }
    return text;
}

bool learn_settings_profile(const std::string& library, settings_profile& profile,
                            std::string& error) {
    profile = settings_profile();
    profile.file = find_library_rules(library, profile.lookedFor);
    if (profile.file.empty()) {
        return true;
    }
    if (!read_settings_rules(profile.file, profile.rules, error)) {
        return false;
    }
    profile.found = true;
    return true;
}
