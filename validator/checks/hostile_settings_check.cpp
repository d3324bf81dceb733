// Hostile settings: the component starts from a settings file of the
// validator's own, the given one with one value replaced (empty, numbers past
// 32 bits, words, blanks and signs, control bytes, long lists), then from
// files that are broken as a whole. The keys are those the component's
// settings rules name, in the section they name; without rules, every entry
// of the given settings file. Each row gets a fresh component, driven briefly
// and destroyed; a row passes when nothing crashes and every command, reply
// and hand-back keeps to the protocol.
#include "component_under_test.h"
#include "drive_script.h"
#include "settings_document.h"
#include "settings_sandbox.h"
#include "test_context.h"

#include <climits>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

struct hostile_value {
    std::string name; // for the step and the failure
    std::string text;
};

// A key of a section, with what its rules say of it (null without rules).
struct settings_target {
    std::string section;
    settings_key key;
    const number_rule* number = nullptr;
    const list_rule* list = nullptr;
};

std::string repeated(const std::string& item, size_t count) {
    std::string list;
    list.reserve((item.size() + 1) * count);
    for (size_t i = 0; i < count; ++i) {
        list += (i == 0 ? "" : ",") + item;
    }
    return list;
}

std::string counting(size_t count) {
    std::string list;
    for (size_t i = 1; i <= count; ++i) {
        list += (i == 1 ? "" : ",") + std::to_string(i);
    }
    return list;
}

// A number one beyond a bound, when there is one within 32 bits.
void addBeyond(std::vector<hostile_value>& values, const char* what, int64_t beyond) {
    if (beyond >= INT32_MIN && beyond <= INT32_MAX) {
        values.push_back({what + std::to_string(beyond), std::to_string(beyond)});
    }
}

// What any value may be given.
std::vector<hostile_value> anyValue() {
    return {
        {"an empty value", ""},
        {"a blank", " "},
        {"2^31 - 1", "2147483647"},
        {"2^31", "2147483648"},
        {"-2^31", "-2147483648"},
        {"-2^31 - 1", "-2147483649"},
        {"twenty digits", "99999999999999999999"},
        {"4096 digits", std::string(4096, '9')},
        {"-1", "-1"},
        {"0", "0"},
        {"a word", "x"},
        {"digits then letters", "7x"},
        {"hexadecimal", "0x10"},
        {"a sign alone", "-"},
        {"a number between blanks and signs", " +-7 "},
        {"control bytes", "\x01\x02\x1b[2J\x7f\t\r\n"},
        {"bytes that are not UTF-8", "\xff\xfe\xc3("},
        {"1 MiB of letters", std::string(size_t{1} << 20, 'a')},
    };
}

// What a list may be given; `items` is the length of a long list.
std::vector<hostile_value> listValues(size_t items) {
    const std::string count = std::to_string(items);
    return {
        {count + " items from 1", counting(items)},
        {count + " commas", std::string(items, ',')},
        {count + " times the same item", repeated("1", items)},
        {count + " items of 2^31 - 1", repeated("2147483647", items)},
        {"items of every odd kind", "-1,0,2147483648,x, 3,4 ,,+5,05,\x01"},
        {"a list of commas and blanks", " , ,, "},
    };
}

std::vector<hostile_value> valuesFor(const settings_target& target, size_t longList) {
    std::vector<hostile_value> values = anyValue();
    if (target.key.kind != settings_key_kind::number) {
        const std::vector<hostile_value> lists = listValues(longList);
        values.insert(values.end(), lists.begin(), lists.end());
    }
    // Just beyond what the rules allow.
    if (target.number != nullptr) {
        const value_bounds& bounds = target.number->bounds;
        if (bounds.hasMin) {
            addBeyond(values, "below the least: ", int64_t{bounds.min} - 1);
        }
        if (bounds.hasMax) {
            addBeyond(values, "above the most: ", int64_t{bounds.max} + 1);
        }
    }
    if (target.list != nullptr && target.list->numbers) {
        const list_rule& list = *target.list;
        if (list.range.hasMin) {
            addBeyond(values, "an item below the least: ", int64_t{list.range.min} - 1);
        }
        if (list.range.hasMax) {
            addBeyond(values, "an item above the most: ", int64_t{list.range.max} + 1);
        }
        if (list.hasSearchedMax) {
            addBeyond(values, "an item past those searched: ", int64_t{list.searchedMax} + 1);
        }
    }
    return values;
}

// The keys the settings test writes to.
std::vector<settings_target> targetsOf(const settings_profile& settings,
                                       const settings_document& given) {
    std::vector<settings_target> targets;
    if (settings.found) {
        for (const settings_key& key : settings.keys()) {
            targets.push_back({settings.rules.section, key, settings.rules.number(key.key),
                               settings.rules.list(key.key)});
        }
        return targets;
    }
    for (const settings_section& section : given.sections) {
        std::set<std::string> seen;
        for (const settings_element& element : section.elements) {
            if (element.name == "entry" && element.hasId && seen.insert(element.id).second) {
                targets.push_back(
                    {section.id, {element.id, settings_key_kind::unknown}, nullptr, nullptr});
            }
        }
    }
    return targets;
}

settings_section& sectionIn(settings_document& document, const std::string& id) {
    for (settings_section& section : document.sections) {
        if (section.id == id) {
            return section;
        }
    }
    document.hasRoot = true;
    document.sections.push_back(settings_section{id, 0, {}});
    return document.sections.back();
}

// The first entry of `key`, which the component reads, set to `value`; a new
// entry first in the section when there is none.
void setEntry(settings_document& document, const std::string& section, const std::string& key,
              const std::string& value) {
    settings_section& found = sectionIn(document, section);
    for (settings_element& element : found.elements) {
        if (element.name == "entry" && element.hasId && element.id == key) {
            element.hasValue = true;
            element.value = value;
            return;
        }
    }
    settings_element entry;
    entry.name = "entry";
    entry.hasId = true;
    entry.id = key;
    entry.hasValue = true;
    entry.value = value;
    found.elements.insert(found.elements.begin(), entry);
}

// Files broken as a whole, for the sections of `targets`.
std::vector<hostile_value> wholeFiles(const settings_document& given,
                                      const std::vector<settings_target>& targets) {
    std::vector<hostile_value> files = {
        {"an empty settings file", ""},
        {"a settings file that is not XML",
         "<settings><section id=\"" +
             (targets.empty() ? std::string("x") : targets.front().section) + "\"><entry id="},
        {"a settings file of control bytes", std::string(4096, '\x01')},
    };
    if (targets.empty()) {
        return files;
    }
    settings_document empty = given;
    for (const settings_target& target : targets) {
        setEntry(empty, target.section, target.key.key, "");
    }
    files.push_back({"every key empty at once", settings_document_text(empty)});
    // The section given twice, the first without entries.
    settings_document twice = given;
    twice.hasRoot = true;
    twice.sections.insert(twice.sections.begin(), settings_section{targets.front().section, 0, {}});
    files.push_back({"the section given twice, the first empty", settings_document_text(twice)});
    return files;
}

class settings_rows {
public:
    settings_rows(const test_context& context, const component_under_test& tested,
                  settings_sandbox& sandbox, report& out)
        : context_(context), tested_(tested), sandbox_(sandbox), out_(out) {}

    // One fresh component started from `text`.
    void run(const std::string& name, const std::string& text) {
        out_.step("settings: " + name);
        ++rows_;
        const long long failuresBefore = out_.failures();
        std::string error;
        if (out_.check(sandbox_.write(text, error), error)) {
            checking_host host(out_);
            component_driver driver(tested_.library.factory(), &host, out_, context_.componentPath);
            if (driver.create()) {
                driveBriefly(driver, tested_.profile);
                driver.destroy();
            }
        }
        if (out_.failures() > failuresBefore) {
            failed_.push_back(name);
            out_.note(2, "row failed: " + name);
        }
    }

    void summarise() const {
        out_.note(1, std::to_string(rows_) + " settings files tried");
        if (!failed_.empty()) {
            out_.note(0, std::to_string(failed_.size()) + " of " + std::to_string(rows_) +
                             " settings files failed, the first: " + failed_.front() +
                             (failed_.size() > 1 ? "; -v names each" : ""));
        }
    }

private:
    const test_context& context_;
    const component_under_test& tested_;
    settings_sandbox& sandbox_;
    report& out_;
    int rows_ = 0;
    std::vector<std::string> failed_;
};

} // namespace

void runSettingsTest(const test_context& context, report& out) {
    component_under_test tested;
    if (!tested.load(context, out)) {
        return;
    }
    // The given settings, as the starting point of every row.
    settings_document given;
    const std::string givenFile = context.options.settingsFolder + "/" + settings_file_name;
    std::string error;
    if (!read_settings_document(givenFile, given, error)) {
        out.note(1, "the rows start from empty settings: " + error);
        given = settings_document();
    }
    const std::vector<settings_target> targets = targetsOf(context.settings, given);
    if (targets.empty()) {
        out.note(1, context.settings.found
                        ? "the settings rules name no key; only whole files are tried"
                        : "no settings rules and no entries in the settings file; only whole "
                          "files are tried");
    }

    settings_sandbox sandbox;
    if (!out.check(sandbox.open(error), error)) {
        return;
    }
    const size_t longList = context.options.level >= 5 ? 100000 : 1000;
    settings_rows rows(context, tested, sandbox, out);
    for (const settings_target& target : targets) {
        for (const hostile_value& value : valuesFor(target, longList)) {
            settings_document document = given;
            setEntry(document, target.section, target.key.key, value.text);
            rows.run(target.section + "/" + target.key.key + " = " + value.name,
                     settings_document_text(document));
        }
    }
    for (const hostile_value& file : wholeFiles(given, targets)) {
        rows.run(file.name, file.text);
    }
    rows.summarise();
}
