// What the validator learns of a component's settings before it drives it:
// the rules file the component installs beside its library
// (NAME.settings_rules.xml), read through the host library's reader, as the
// settings check and the live page read it. It names the section the
// component reads and its keys; the settings test writes hostile values to
// them. A component without a rules file is still validated.
#ifndef VREL_VALIDATOR_SETTINGS_PROFILE_H
#define VREL_VALIDATOR_SETTINGS_PROFILE_H

#include "settings_rules.h"

#include <string>
#include <vector>

// How the component reads a key, as far as the rules say.
enum class settings_key_kind { number, number_list, text_list, unknown };

struct settings_key {
    std::string key;
    settings_key_kind kind = settings_key_kind::unknown;
};

struct settings_profile {
    bool found = false;
    // The rules file read; every path looked at for one.
    std::string file;
    std::vector<std::string> lookedFor;
    settings_rules rules;

    // The keys the rules name, numbers first, each kind in the rules file's
    // order; none without rules.
    std::vector<settings_key> keys() const;
    // One line for the report: the rules file, the component, its section
    // and keys; or that there are none and where they were looked for.
    std::string description() const;
};

// Looks for the rules beside the library and reads them. False with `error`
// as "file:line: what is wrong" when a rules file is there and cannot be
// read or is malformed; true, with `found` false, when there is none.
bool learn_settings_profile(const std::string& library, settings_profile& profile,
                            std::string& error);

// "number", "list of numbers", "list of texts" or "unknown".
const char* kind_name(settings_key_kind kind);

#endif
