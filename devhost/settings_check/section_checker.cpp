#include "section_checker.h"

#include <algorithm>
#include <climits>

void section_checker::check(const settings_section& section) {
    sectionLine_ = section.line;
    readEntries(section);
    for (const number_rule& rule : rules_.numbers) {
        checkNumber(rule);
    }
    for (const list_rule& rule : rules_.lists) {
        readList(rule, lists_[rule.key]);
    }
    for (const list_rule& rule : rules_.lists) {
        const list_values& list = lists_[rule.key];
        if (list.present) {
            checkRepeats(rule, list);
            checkPairs(rule, list);
            checkValues(rule, list);
        }
    }
}

std::string section_checker::similarKey(const std::string& key) const {
    const std::string wanted = lowered(key);
    const auto found = loweredKeys_.find(wanted);
    return found == loweredKeys_.end() ? std::string() : found->second;
}

void section_checker::readEntries(const settings_section& section) {
    for (const settings_element& child : section.elements) {
        const int line = child.line;
        if (child.name != "entry") {
            warning(line, kind("not an entry"),
                    "<" + shown(child.name) + "> is not an <entry>; the component skips it");
            continue;
        }
        if (!child.hasId) {
            warning(line, kind("no id"), "an entry without an id is never read");
            continue;
        }
        const std::string& key = child.id;
        if (!child.hasValue) {
            warning(line, kind("no value"),
                    "entry " + shown(key) + " has no value attribute; it reads as empty");
        }
        const auto [earlier, first] = entries_.try_emplace(key, entry{std::string_view(), line});
        if (!first) {
            error(line, kind("given again"),
                  "entry " + shown(key) +
                      " is given again; the component reads only the first (line " +
                      std::to_string(earlier->second.line) + ")");
            continue;
        }
        earlier->second.value = child.value;
        const std::string_view value = child.value;
        const auto control = std::find_if(value.begin(), value.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        });
        if (control != value.end()) {
            warning(line, kind("control bytes", key),
                    "entry " + shown(key) + " holds a control byte (" +
                        shown(std::string_view(&*control, 1)) +
                        "); the component passes it on as it is, to the panel and the host");
        }
        if (!rules_.knows(key)) {
            const std::string similar = similarKey(key);
            if (similar.empty()) {
                warning(line, kind("not read"),
                        "entry " + shown(key) + " is not read by the component");
            } else {
                warning(line, kind("misspelt", similar),
                        "entry " + shown(key) + " is not read by the component; did you mean " +
                            similar + "?");
            }
        }
    }
}

void section_checker::checkNumber(const number_rule& rule) {
    const entry* found = find(rule.key);
    if (found == nullptr) {
        error(sectionLine_, kind("missing", rule.key),
              "missing entry " + rule.key + "; the component reads it as 0");
        return;
    }
    const std::string_view value = found->value;
    const std::string what = "entry " + rule.key + ": " + inQuotes(value);
    const std::string reads =
        "; the component reads it as " + std::to_string(componentNumber(value));
    const number_reading reading = readNumber(value);
    if (reading.form == number_form::notANumber) {
        if (!value.empty() && isBlank(value.front())) {
            error(found->line, kind("starts blank", rule.key),
                  what + " starts with a blank" + reads);
        } else {
            error(found->line, kind("not a number", rule.key),
                  what + " is not a whole number" + reads);
        }
        return;
    }
    if (reading.form == number_form::blanksAtEnd) {
        warning(found->line, kind("ends blank", rule.key), what + " has blanks at its end" + reads);
    }
    const value_bounds& bounds = rule.bounds;
    if (!bounds.holds(reading.value)) {
        const std::string value_ = std::to_string(reading.value);
        const std::string where = bounds.hasMin && reading.value < bounds.min
                                      ? "below " + std::to_string(bounds.min)
                                      : "above " + std::to_string(bounds.max);
        error(found->line, kind("bounds", rule.key),
              "entry " + rule.key + ": " + value_ + " is " + where +
                  explained(bounds.because, value_));
    }
}

std::optional<int32_t> section_checker::numberSetting(const std::string& key) const {
    const entry* found = find(key);
    if (found == nullptr) {
        return std::nullopt;
    }
    const number_reading reading = readNumber(found->value);
    if (reading.form == number_form::notANumber) {
        return std::nullopt;
    }
    return reading.value;
}

void section_checker::readList(const list_rule& rule, list_values& list) {
    const entry* found = find(rule.key);
    if (found == nullptr) {
        error(sectionLine_, kind("missing", rule.key),
              "missing entry " + rule.key + "; the component reads an empty list");
        return;
    }
    list.present = true;
    list.line = found->line;
    const std::string_view value = found->value;
    if (value.empty()) {
        warning(list.line, kind("empty list", rule.key), "entry " + rule.key + " is an empty list");
        return;
    }
    // Split at every comma, as the component does; nothing is trimmed.
    const std::string_view whole = value;
    size_t start = 0;
    for (;;) {
        const size_t comma = whole.find(',', start);
        const size_t end = comma == std::string_view::npos ? whole.size() : comma;
        if (list.count < itemsCheckedOneByOne) {
            list.texts.push_back(whole.substr(start, end - start));
        }
        ++list.count;
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    for (size_t i = 0; i < list.texts.size(); ++i) {
        checkItem(rule, list, i);
    }
    if (list.count > list.texts.size()) {
        warning(list.line, kind("long list", rule.key),
                rule.key + " has " + std::to_string(list.count) + " items; only the first " +
                    std::to_string(itemsCheckedOneByOne) + " are checked one by one");
        if (value.back() == ',') {
            // The last item is beyond those checked; it still gets its hint.
            emptyItem(rule, list, list.count - 1);
        }
    }
}

void section_checker::emptyItem(const list_rule& rule, const list_values& list, size_t index) {
    // An empty value is no list at all, so an empty item has a comma before
    // or after it.
    const bool last = index + 1 == list.count;
    const char* hint = index == 0 ? "the list starts with a comma"
                       : last     ? "the list ends with a comma"
                                  : "two commas in a row?";
    const std::string message =
        rule.key + " position " + std::to_string(index + 1) + " is empty (" + hint + ")";
    const std::string kindOf = kind(index == 0 ? "empty first"
                                    : last     ? "empty last"
                                               : "empty",
                                    rule.key);
    if (!rule.numbers) {
        warning(list.line, kindOf, message);
    } else if (rule.exactText) {
        error(list.line, kindOf, message + "; it never matches a number");
    } else {
        error(list.line, kindOf, message + "; the component reads it as 0");
    }
}

void section_checker::checkItem(const list_rule& rule, list_values& list, size_t index) {
    const std::string_view text = list.texts[index];
    const std::string position = rule.key + " position " + std::to_string(index + 1);
    list.numbers.push_back(std::nullopt);
    if (text.empty()) {
        emptyItem(rule, list, index);
        return;
    }
    const bool blankAtStart = isBlank(text.front());
    const bool blankAtEnd = isBlank(text.back());
    const std::string what = position + " " + inQuotes(text);
    if (!rule.numbers) {
        if (blankAtStart || blankAtEnd) {
            warning(list.line, kind("text blanks", rule.key),
                    what + " has blanks at its ends, which are shown as they are");
        }
        return;
    }
    const number_reading reading = readNumber(text);
    if (rule.exactText) {
        if (blankAtStart || blankAtEnd) {
            error(list.line, kind("blanks", rule.key),
                  what + " has blanks; lists are not trimmed, so it never matches a number");
        } else if (reading.form != number_form::plain) {
            error(list.line, kind("not a number", rule.key), what + " is not a whole number");
        } else if (std::to_string(reading.value) != text) {
            error(list.line, kind("not as written", rule.key),
                  what + " is looked up as text, so it never matches; write it as " +
                      std::to_string(reading.value));
        } else {
            list.numbers.back() = reading.value;
        }
        return;
    }
    const auto reads = [text] {
        return "; the component reads it as " + std::to_string(componentNumber(text));
    };
    if (reading.form == number_form::notANumber) {
        if (blankAtStart) {
            error(list.line, kind("starts blank", rule.key),
                  what + " starts with a blank" + reads());
        } else {
            error(list.line, kind("not a number", rule.key),
                  what + " is not a whole number" + reads());
        }
        return;
    }
    if (reading.form == number_form::blanksAtEnd) {
        warning(list.line, kind("ends blank", rule.key), what + " has blanks at its end" + reads());
    }
    list.numbers.back() = reading.value;
}

void section_checker::checkRepeats(const list_rule& rule, const list_values& list) {
    if (!rule.checkRepeats) {
        return;
    }
    std::unordered_map<std::string_view, size_t> firstAt;
    std::unordered_map<int32_t, size_t> firstNumberAt;
    for (size_t i = 0; i < list.texts.size(); ++i) {
        size_t earlier = 0;
        std::string value;
        if (rule.numbers) {
            if (!list.numbers[i]) {
                continue;
            }
            const auto [at, first] = firstNumberAt.try_emplace(*list.numbers[i], i);
            if (first) {
                continue;
            }
            earlier = at->second;
            value = std::to_string(*list.numbers[i]);
        } else {
            const auto [at, first] = firstAt.try_emplace(list.texts[i], i);
            if (first) {
                continue;
            }
            earlier = at->second;
            value = inQuotes(list.texts[i]);
        }
        out_.add(rule.repeatIsError, list.line, kind("repeat", rule.key),
                 rule.key + " lists " + value + " twice (positions " + std::to_string(earlier + 1) +
                     " and " + std::to_string(i + 1) + ")" + explained(rule.repeatBecause, value));
    }
}

void section_checker::checkPairs(const list_rule& rule, const list_values& list) {
    if (rule.pairsWith.empty()) {
        return;
    }
    const list_rule& partnerRule = *rules_.list(rule.pairsWith);
    const list_values& partner = lists_[rule.pairsWith];
    if (!partner.present || partner.count == list.count) {
        return;
    }
    // The first item that has no counterpart, in whichever list is longer.
    const bool shorter = list.count < partner.count;
    const list_values& longer = shorter ? partner : list;
    const size_t first = shorter ? list.count : partner.count;
    const std::string& item = shorter ? partnerRule.item : rule.item;
    const std::string& said = shorter ? rule.partnerUnpaired : rule.unpaired;
    // The item is named by its text when it has one that was read.
    const bool named = first < longer.texts.size() && !longer.texts[first].empty();
    const std::string unpaired = named ? item + " " + shown(longer.texts[first]) + " (position " +
                                             std::to_string(first + 1) + ")"
                                       : item + " at position " + std::to_string(first + 1);
    error(list.line, kind("pairs", rule.key),
          rule.key + " has " + std::to_string(list.count) + " entries but " + rule.pairsWith +
              " (line " + std::to_string(partner.line) + ") has " + std::to_string(partner.count) +
              "; they pair position for position, so " + unpaired + " and any after it " + said);
}

void section_checker::checkValues(const list_rule& rule, const list_values& list) {
    if (!rule.numbers) {
        return;
    }
    const std::optional<int32_t> notEqual =
        rule.notEqualKey.empty() ? std::nullopt : numberSetting(rule.notEqualKey);
    const list_values* names = rule.namedBy.empty() ? nullptr : &lists_[rule.namedBy];
    const value_bounds& range = rule.range;
    for (size_t i = 0; i < list.texts.size(); ++i) {
        if (!list.numbers[i]) {
            continue;
        }
        const int32_t number = *list.numbers[i];
        const std::string value = std::to_string(number);
        const std::string what = rule.item + " " + value;
        if (!range.holds(number)) {
            std::string where;
            if (range.hasMin && range.hasMax) {
                where = "outside " + std::to_string(range.min) + "-" + std::to_string(range.max);
            } else if (range.hasMin) {
                where = "below " + std::to_string(range.min);
            } else {
                where = "above " + std::to_string(range.max);
            }
            error(list.line, kind("range", rule.key),
                  what + " is " + where + explained(range.because, value));
            continue;
        }
        if (rule.hasSearchedMax && number > rule.searchedMax) {
            warning(list.line, kind("searched", rule.key),
                    what + " is tracked, but" + explained(rule.searchedBecause, value).substr(1));
        }
        if (notEqual && number == *notEqual) {
            error(list.line, kind("not equal", rule.key),
                  what + " is " + rule.notEqualKey + explained(rule.notEqualBecause, value));
        }
        if (names != nullptr && names->present && number >= 1) {
            const auto position = static_cast<size_t>(number) - 1;
            // A name beyond those read one by one is not known here.
            const bool unknown = position >= names->texts.size() && position < names->count;
            if (!unknown && (position >= names->count || names->texts[position].empty())) {
                warning(names->line, kind("no name", rule.key),
                        what + " has no name (" + rule.namedBy + " position " + value + ")" +
                            explained(rule.namedByBecause, value));
            }
        }
    }
}
