#include "settings_check.h"

#include "command_reader.h"
#include "line_index.h"
#include "text_file.h"
#include "vrel_string.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

namespace {

// The cue router destinations the component registers and keeps in its table.
constexpr int firstTracked = 1;
constexpr int lastTracked = 16;
// A destination's cue is looked for on tracked destinations up to this one.
constexpr int lastSearched = 14;

const char* const numberKeys[] = {"cue_router_number", "cue_info_number", "cue_OFF_source"};
const char* const listKeys[] = {"cuesources", "musicdestinations", "cuedestinations",
                                "sourcenames"};

struct entry {
    std::string value;
    int line;
};

struct list_item {
    std::string text;
    int number; // valid when `isNumber`
    bool isNumber;
};

class checker {
public:
    checker(settings_report& report, const std::string& content)
        : report_(report), lines_(content) {}

    void error(int line, const std::string& message) {
        report_.findings.push_back(settings_finding{true, line, message});
    }
    void warning(int line, const std::string& message) {
        report_.findings.push_back(settings_finding{false, line, message});
    }

    void check(const std::string& content);

private:
    void readSection(const pugi::xml_node& section);
    void checkNumbers();
    std::vector<list_item> checkList(const char* key, bool numbers);
    void checkPairs();
    bool has(const char* key) const { return entries_.count(key) != 0; }

    settings_report& report_;
    const line_index lines_;
    std::map<std::string, entry> entries_;
    int sectionLine_ = 0;
    std::vector<list_item> cueSources_;
    std::vector<list_item> musicDestinations_;
    std::vector<list_item> cueDestinations_;
    std::vector<list_item> sourceNames_;
};

bool isKnownKey(const std::string& key) {
    for (const char* known : numberKeys) {
        if (key == known) {
            return true;
        }
    }
    for (const char* known : listKeys) {
        if (key == known) {
            return true;
        }
    }
    return false;
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The known key this one differs from only in case, or the empty text.
std::string similarKey(const std::string& key) {
    for (const char* known : numberKeys) {
        if (lowered(key) == lowered(known)) {
            return known;
        }
    }
    for (const char* known : listKeys) {
        if (lowered(key) == lowered(known)) {
            return known;
        }
    }
    return std::string();
}

std::vector<std::string> splitList(const std::string& text) {
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

// What the component makes of a number setting: the string library's own
// reading of it.
int leadingNumber(const std::string& text) {
    return vrel_string(text.c_str()).toInt();
}

// A whole number as the settings should hold it: an optional "-" and digits.
bool readSettingNumber(const std::string& text, int& number) {
    if (text.empty()) {
        return false;
    }
    if (text == "-0") {
        number = 0;
        return true;
    }
    int32_t value = 0;
    // Leading zeros are harmless in settings; read_plain_number refuses them.
    std::string trimmed = text;
    const size_t digits = trimmed[0] == '-' ? 1 : 0;
    while (trimmed.size() > digits + 1 && trimmed[digits] == '0') {
        trimmed.erase(digits, 1);
    }
    if (!read_plain_number(trimmed, value)) {
        return false;
    }
    number = value;
    return true;
}

void checker::check(const std::string& content) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(content.data(), content.size());
    if (!parsed) {
        error(lines_.lineAt(parsed.offset),
              std::string("not well-formed XML (") + parsed.description() +
                  "); the component ignores the whole file and every setting reads as empty");
        return;
    }
    const pugi::xml_node root = document.child("settings");
    if (!root) {
        error(1, "no <settings> element; the component finds no section and every setting "
                 "reads as empty");
        return;
    }
    pugi::xml_node section;
    for (const pugi::xml_node candidate : root.children("section")) {
        if (std::string(candidate.attribute("id").value()) != checked_section) {
            continue;
        }
        if (!section) {
            section = candidate;
        } else {
            warning(lines_.lineAt(candidate.offset_debug()),
                    std::string("section ") + checked_section +
                        " is given again; the component reads only the first one (line " +
                        std::to_string(lines_.lineAt(section.offset_debug())) + ")");
        }
    }
    if (!section) {
        error(1, std::string("no section ") + checked_section +
                     "; every setting of the component reads as empty");
        return;
    }
    sectionLine_ = lines_.lineAt(section.offset_debug());
    readSection(section);
    checkNumbers();
    cueSources_ = checkList("cuesources", true);
    musicDestinations_ = checkList("musicdestinations", true);
    cueDestinations_ = checkList("cuedestinations", true);
    sourceNames_ = checkList("sourcenames", false);
    checkPairs();
}

void checker::readSection(const pugi::xml_node& section) {
    for (const pugi::xml_node child : section.children()) {
        if (child.type() != pugi::node_element) {
            continue;
        }
        const int line = lines_.lineAt(child.offset_debug());
        if (std::string(child.name()) != "entry") {
            warning(line, std::string("<") + child.name() +
                              "> is not an <entry>; the component skips it");
            continue;
        }
        if (!child.attribute("id")) {
            warning(line, "an entry without an id is never read");
            continue;
        }
        const std::string key = child.attribute("id").value();
        if (!child.attribute("value")) {
            warning(line, "entry " + key + " has no value attribute; it reads as empty");
        }
        const auto earlier = entries_.find(key);
        if (earlier != entries_.end()) {
            error(line, "entry " + key +
                            " is given again; the component reads only the first (line " +
                            std::to_string(earlier->second.line) + ")");
            continue;
        }
        entries_[key] = entry{child.attribute("value").value(), line};
        if (!isKnownKey(key)) {
            const std::string similar = similarKey(key);
            warning(line,
                    "entry " + key + " is not read by the component" +
                        (similar.empty() ? std::string() : "; did you mean " + similar + "?"));
        }
    }
}

void checker::checkNumbers() {
    for (const char* key : numberKeys) {
        const auto found = entries_.find(key);
        if (found == entries_.end()) {
            error(sectionLine_,
                  std::string("missing entry ") + key + "; the component reads it as 0");
            continue;
        }
        int number = 0;
        const std::string& value = found->second.value;
        if (value.empty() || !readSettingNumber(value, number)) {
            error(found->second.line, std::string("entry ") + key + ": '" + value +
                                          "' is not a whole number; the component reads it as " +
                                          std::to_string(leadingNumber(value)));
        }
    }
}

std::vector<list_item> checker::checkList(const char* key, bool numbers) {
    std::vector<list_item> items;
    const auto found = entries_.find(key);
    if (found == entries_.end()) {
        error(sectionLine_,
              std::string("missing entry ") + key + "; the component reads an empty list");
        return items;
    }
    const int line = found->second.line;
    const std::vector<std::string> texts = splitList(found->second.value);
    if (texts.empty()) {
        warning(line, std::string("entry ") + key + " is an empty list");
    }
    std::map<int, size_t> firstAt;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string& text = texts[i];
        const std::string position = "position " + std::to_string(i + 1);
        list_item item{text, 0, false};
        const bool blanks =
            !text.empty() && (std::isspace(static_cast<unsigned char>(text.front())) ||
                              std::isspace(static_cast<unsigned char>(text.back())));
        if (!numbers) {
            if (text.empty()) {
                warning(line, std::string(key) + " " + position + " is empty");
            } else if (blanks) {
                warning(line, std::string(key) + " " + position + " '" + text +
                                  "' has blanks at its ends, which are shown as they are");
            }
            items.push_back(item);
            continue;
        }
        if (text.empty()) {
            error(line, std::string(key) + " " + position + " is empty (two commas in a row?)");
        } else if (blanks) {
            error(line, std::string(key) + " " + position + " '" + text +
                            "' has blanks; lists are not trimmed, so it never matches a number");
        } else if (!readSettingNumber(text, item.number)) {
            error(line,
                  std::string(key) + " " + position + " '" + text + "' is not a whole number");
        } else {
            item.isNumber = true;
            const auto earlier = firstAt.find(item.number);
            if (earlier == firstAt.end()) {
                firstAt[item.number] = i;
            } else {
                const std::string message =
                    std::string(key) + " lists " + text + " twice (positions " +
                    std::to_string(earlier->second + 1) + " and " + std::to_string(i + 1) + ")";
                if (std::string(key) == "cuesources") {
                    warning(line, message + "; two music destinations share one cue source");
                } else {
                    error(line, message + "; only the first is ever found");
                }
            }
        }
        items.push_back(item);
    }
    return items;
}

void checker::checkPairs() {
    if (has("cuesources") && has("musicdestinations") &&
        cueSources_.size() != musicDestinations_.size()) {
        const size_t paired = std::min(cueSources_.size(), musicDestinations_.size());
        std::string consequence;
        if (cueSources_.size() < musicDestinations_.size()) {
            consequence = "music destination " + musicDestinations_[paired].text + " (position " +
                          std::to_string(paired + 1) + ") and any after it have no cue source";
        } else {
            consequence = "cue source " + cueSources_[paired].text + " (position " +
                          std::to_string(paired + 1) +
                          ") and any after it belong to no destination";
        }
        error(entries_["cuesources"].line,
              "cuesources has " + std::to_string(cueSources_.size()) +
                  " entries but musicdestinations (line " +
                  std::to_string(entries_["musicdestinations"].line) + ") has " +
                  std::to_string(musicDestinations_.size()) +
                  "; they pair position for position, so " + consequence);
    }

    if (has("cuedestinations")) {
        const int line = entries_["cuedestinations"].line;
        for (const list_item& item : cueDestinations_) {
            if (!item.isNumber) {
                continue;
            }
            if (item.number < firstTracked || item.number > lastTracked) {
                error(line,
                      "cue destination " + item.text + " is outside " +
                          std::to_string(firstTracked) + "-" + std::to_string(lastTracked) +
                          ", the cue router destinations the component tracks; music source " +
                          item.text + " can never receive cue");
            } else if (item.number > lastSearched) {
                warning(line, "cue destination " + item.text +
                                  " is tracked, but a cue routed there is "
                                  "never found again, so a later take cannot clear it");
            }
        }
    }

    int offSource = 0;
    const bool offKnown =
        has("cue_OFF_source") && readSettingNumber(entries_["cue_OFF_source"].value, offSource);
    if (has("cuesources")) {
        const int line = entries_["cuesources"].line;
        for (size_t i = 0; i < cueSources_.size(); ++i) {
            const list_item& item = cueSources_[i];
            if (!item.isNumber) {
                continue;
            }
            if (item.number < 1) {
                error(line, "cue source " + item.text + " at position " + std::to_string(i + 1) +
                                " is not a cue router source (they start at 1)");
                continue;
            }
            if (offKnown && item.number == offSource) {
                error(line, "cue source " + item.text + " is cue_OFF_source, which means no cue");
            }
            if (!has("sourcenames")) {
                continue;
            }
            const auto position = static_cast<size_t>(item.number) - 1;
            if (position >= sourceNames_.size() || sourceNames_[position].text.empty()) {
                warning(entries_["sourcenames"].line,
                        "cue source " + item.text + " has no name (sourcenames position " +
                            item.text + "); a busy message shows the number instead");
            }
        }
    }
}

} // namespace

int settings_report::errors() const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [](const settings_finding& f) { return f.error; }));
}

int settings_report::warnings() const {
    return static_cast<int>(findings.size()) - errors();
}

std::vector<std::string> settings_report::lines() const {
    std::vector<std::string> out;
    for (const settings_finding& f : findings) {
        out.push_back(file + (f.line > 0 ? ":" + std::to_string(f.line) : std::string()) + ": " +
                      (f.error ? "error: " : "warning: ") + f.message);
    }
    return out;
}

settings_report check_settings_text(const std::string& file, const std::string& content) {
    settings_report report;
    report.file = file;
    checker(report, content).check(content);
    std::stable_sort(
        report.findings.begin(), report.findings.end(),
        [](const settings_finding& a, const settings_finding& b) { return a.line < b.line; });
    return report;
}

settings_report check_settings_folder(const std::string& folder) {
    const std::string file =
        (std::filesystem::path(folder) / "object_settings.xml").generic_string();
    std::string content;
    std::string error;
    if (!read_text_file(file, content, error)) {
        settings_report report;
        report.file = file;
        report.findings.push_back(
            settings_finding{true, 0, error + "; the component would read every setting as empty"});
        return report;
    }
    return check_settings_text(file, content);
}
