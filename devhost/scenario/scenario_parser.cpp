#include "scenario_parser.h"

#include "closest_word.h"
#include "command_reader.h"
#include "scenario_text.h"
#include "shown_text.h"

#include <algorithm>
#include <functional>
#include <map>

namespace {

// The longest time one "advance" or "fault delay" may cover: about 31 years.
constexpr int64_t maxDuration = 1000LL * 1000 * 1000 * 1000;
// The most crosspoints one "router" line may set.
constexpr int64_t maxCrosspointsPerLine = 100000;

// Reads the words of one line after its verb, with the error at hand.
class arguments {
public:
    arguments(line_reader& reader, std::string& error) : reader_(reader), error_(error) {}

    bool word(std::string& out, const char* what) {
        if (reader_.word(out, error_)) {
            return true;
        }
        if (error_.empty()) {
            error_ = std::string("missing ") + what;
        }
        return false;
    }

    // A word that may be missing; false at the end of the line (or on a bad
    // quote, with the error set).
    bool optionalWord(std::string& out) { return reader_.word(out, error_); }
    // False once an error was found.
    bool ok() const { return error_.empty(); }

    bool number(int64_t& out, const char* what) {
        std::string text;
        if (!word(text, what)) {
            return false;
        }
        int32_t value = 0;
        if (!read_plain_number(text, value)) {
            error_ = std::string(what) + " '" + shown_text(text) + "' is not a whole number";
            return false;
        }
        out = value;
        return true;
    }

    bool numbers(statement& s, std::initializer_list<const char*> whats) {
        for (const char* what : whats) {
            int64_t value = 0;
            if (!number(value, what)) {
                return false;
            }
            s.numbers.push_back(value);
        }
        return true;
    }

    bool duration(int64_t& ms, const char* what) {
        std::string text;
        if (!word(text, what)) {
            return false;
        }
        if (!read_duration(text, ms)) {
            error_ = std::string(what) + " '" + shown_text(text) +
                     "' is not a duration such as 500, 500ms or 5s";
            return false;
        }
        return true;
    }

    // The free text to the end of the line, possibly empty (say).
    bool keyword(const char* word) { return reader_.keyword(word); }

    bool text(std::string& out, statement& s) {
        if (!reader_.freeText(out, error_)) {
            return false;
        }
        noteTrailingBlanks(out, s);
        return true;
    }

    // The free text, which must be there: an empty one is written "".
    bool requiredText(std::string& out, const char* what, statement& s) {
        if (reader_.atEnd()) {
            error_ = std::string("missing ") + what + " (write \"\" for an empty text)";
            return false;
        }
        return text(out, s);
    }

    bool end() {
        if (reader_.atEnd()) {
            return true;
        }
        std::string extra;
        reader_.freeText(extra, error_);
        error_ = "unexpected '" + shown_text(extra) + "' at the end of the line";
        return false;
    }

    bool fail(std::string message) {
        error_ = std::move(message);
        return false;
    }

private:
    // An unquoted text keeps the blanks at its end, which nobody sees.
    void noteTrailingBlanks(const std::string& text, statement& s) {
        const std::string& line = s.source;
        const bool quoted = !line.empty() && line.find_last_not_of(" \t") != std::string::npos &&
                            line[line.find_last_not_of(" \t")] == '"';
        if (!quoted && !text.empty() && (text.back() == ' ' || text.back() == '\t')) {
            s.warning = "the text ends in blanks, which are part of it; quote the text (\"...\") "
                        "to keep them, or remove them";
        }
    }

    line_reader& reader_;
    std::string& error_;
};

// "[panel:]control", panel "1" when not given.
void splitControl(const std::string& word, statement& s) {
    const size_t colon = word.find(':');
    if (colon == std::string::npos) {
        s.words.push_back("1");
        s.words.push_back(word);
    } else {
        s.words.push_back(word.substr(0, colon));
        s.words.push_back(word.substr(colon + 1));
    }
}

// "destination=source", both plain numbers.
bool readCrosspoint(const std::string& text, int64_t& destination, int64_t& source) {
    const size_t equals = text.find('=');
    int32_t d = 0;
    int32_t v = 0;
    if (equals == std::string::npos || !read_plain_number(text.substr(0, equals), d) ||
        !read_plain_number(text.substr(equals + 1), v)) {
        return false;
    }
    destination = d;
    source = v;
    return true;
}

// "<destination>=<source>" or "<destination> <source>", destination first as
// everywhere in the language.
bool parseDestinationAndSource(arguments& args, statement& s) {
    std::string first;
    if (!args.word(first, "destination")) {
        return false;
    }
    int64_t destination = 0;
    int64_t source = 0;
    if (first.find('=') != std::string::npos) {
        if (!readCrosspoint(first, destination, source)) {
            return args.fail("crosspoint '" + shown_text(first) + "' is not destination=source");
        }
        s.numbers.insert(s.numbers.end(), {destination, source});
        return true;
    }
    int32_t value = 0;
    if (!read_plain_number(first, value)) {
        return args.fail("destination '" + shown_text(first) + "' is not a whole number");
    }
    s.numbers.push_back(value);
    return args.numbers(s, {"source"});
}

bool parseRoute(arguments& args, statement& s) {
    if (!args.numbers(s, {"router device"})) {
        return false;
    }
    std::string crosspoint;
    if (!args.word(crosspoint, "crosspoint destination=source")) {
        return false;
    }
    int64_t destination = 0;
    int64_t source = 0;
    if (!readCrosspoint(crosspoint, destination, source)) {
        int32_t ignored = 0;
        if (read_plain_number(crosspoint, ignored)) {
            // The form before the language put the destination first
            // everywhere: "route <device> <source> <destination>".
            return args.fail("write the crosspoint as destination=source, as router does "
                             "(route 7 3=31 routes source 31 to destination 3); the old form "
                             "'route <device> <source> <destination>' is no longer read, since "
                             "it put the source first where every other statement puts the "
                             "destination first");
        }
        return args.fail("crosspoint '" + shown_text(crosspoint) + "' is not destination=source");
    }
    s.numbers.insert(s.numbers.end(), {destination, source});
    std::string how;
    if (args.optionalWord(how)) {
        if (how != "silently") {
            return args.fail("expected 'silently' or nothing after the crosspoint, not '" +
                             shown_text(how) + "'");
        }
        s.flag = true;
    }
    return args.ok() && args.end();
}

bool parseRouter(arguments& args, statement& s) {
    if (!args.numbers(s, {"router device"})) {
        return false;
    }
    std::string group;
    int groups = 0;
    int64_t crosspoints = 0;
    while (args.optionalWord(group)) {
        // "destination=source" or "first-last=source"
        const size_t equals = group.find('=');
        const std::string range = group.substr(0, equals);
        const size_t dash = range.find('-', 1);
        int32_t first = 0;
        int32_t last = 0;
        int32_t source = 0;
        const bool ok =
            equals != std::string::npos && read_plain_number(group.substr(equals + 1), source) &&
            (dash == std::string::npos ? read_plain_number(range, first) && (last = first, true)
                                       : read_plain_number(range.substr(0, dash), first) &&
                                             read_plain_number(range.substr(dash + 1), last));
        if (!ok || first > last) {
            return args.fail("crosspoint '" + shown_text(group) +
                             "' is not destination=source or first-last=source");
        }
        if (static_cast<int64_t>(last) - first >= maxCrosspointsPerLine) {
            return args.fail("crosspoint range '" + shown_text(group) + "' is longer than " +
                             std::to_string(maxCrosspointsPerLine));
        }
        crosspoints += static_cast<int64_t>(last) - first + 1;
        if (crosspoints > maxCrosspointsPerLine) {
            return args.fail("more than " + std::to_string(maxCrosspointsPerLine) +
                             " crosspoints on one line; split them over several router lines");
        }
        s.numbers.insert(s.numbers.end(), {first, last, source});
        ++groups;
    }
    if (!args.ok()) {
        return false;
    }
    if (groups == 0) {
        return args.fail("router needs at least one crosspoint, such as 1-16=20 or 3=5");
    }
    return true;
}

bool parseLoad(arguments& args, statement& s) {
    std::string library;
    if (!args.word(library, "library")) {
        return false;
    }
    s.words.push_back(library);
    std::string keyword;
    if (args.optionalWord(keyword)) {
        if (keyword != "path") {
            return args.fail("expected 'path <component path>' after the library, not '" +
                             shown_text(keyword) + "'");
        }
        std::string path;
        if (!args.word(path, "component path after 'path'")) {
            return false;
        }
        s.words.push_back(path);
        s.flag = true;
    }
    return args.ok() && args.end();
}

bool parseFault(arguments& args, statement& s) {
    std::string which;
    if (!args.word(which, "fault (hold, release, delay, drop or off)")) {
        return false;
    }
    static const std::map<std::string, status_fault> faults = {{"hold", status_fault::hold},
                                                               {"delay", status_fault::delay},
                                                               {"drop", status_fault::drop},
                                                               {"off", status_fault::none},
                                                               {"release", status_fault::none}};
    const auto found = faults.find(which);
    if (found == faults.end()) {
        return args.fail("unknown fault '" + shown_text(which) +
                         "' (hold, release, delay, drop or off)");
    }
    s.fault = found->second;
    s.flag = which == "release";
    s.words.push_back(which);
    if (!args.numbers(s, {"router device"})) {
        return false;
    }
    if (s.fault == status_fault::delay) {
        int64_t ms = 0;
        if (!args.duration(ms, "delay")) {
            return false;
        }
        s.numbers.push_back(ms);
    }
    return args.end();
}

bool parseExpect(arguments& args, statement& s) {
    std::string what;
    if (!args.word(what, "what to expect")) {
        return false;
    }
    if (what == "sent") {
        s.kind = statement_kind::expect_sent;
        if (args.keyword("like")) {
            s.flag = true;
            return args.requiredText(s.text, "the pattern (* any run, ? one character)", s);
        }
        return args.requiredText(s.text, "the command text", s);
    }
    if (what == "nothing" || what == "no") {
        std::string next;
        if (!args.word(next, "sent, reply or debug")) {
            return false;
        }
        if (what == "nothing" && next == "sent") {
            s.kind = statement_kind::expect_nothing_sent;
        } else if (what == "no" && next == "reply") {
            s.kind = statement_kind::expect_no_reply;
        } else if (what == "no" && next == "debug") {
            s.kind = statement_kind::expect_no_debug;
        } else {
            return args.fail("unknown expectation '" + shown_text(what + " " + next) +
                             "' (nothing sent, no reply, no debug)");
        }
        return args.end();
    }
    if (what == "property") {
        s.kind = statement_kind::expect_property;
        std::string control;
        std::string property;
        if (!args.word(control, "control") || !args.word(property, "property")) {
            return false;
        }
        splitControl(control, s);
        s.words.push_back(property);
        return args.requiredText(s.text, "the property's text", s);
    }
    if (what == "crosspoint") {
        s.kind = statement_kind::expect_crosspoint;
        return args.numbers(s, {"router device"}) && parseDestinationAndSource(args, s) &&
               args.end();
    }
    if (what == "info") {
        s.kind = statement_kind::expect_info;
        return args.numbers(s, {"info device", "index"}) &&
               args.requiredText(s.text, "the slot's text", s);
    }
    if (what == "reply") {
        s.kind = statement_kind::expect_reply;
        return args.requiredText(s.text, "the reply text", s);
    }
    if (what == "debug") {
        s.kind = statement_kind::expect_debug;
        if (args.keyword("contains")) {
            s.flag = true;
            return args.requiredText(s.text, "a piece of the debug output", s);
        }
        return args.requiredText(s.text, "the debug text", s);
    }
    if (what == "timer") {
        s.kind = statement_kind::expect_timer;
        std::string state;
        if (!args.numbers(s, {"timer id"}) || !args.word(state, "running, stopped or due <ms>")) {
            return false;
        }
        if (state == "due") {
            int64_t due = 0;
            if (!args.duration(due, "due time")) {
                return false;
            }
            s.numbers.push_back(due);
        } else if (state != "running" && state != "stopped") {
            return args.fail("timer state '" + shown_text(state) +
                             "' is not running, stopped or due <ms>");
        }
        s.words.push_back(state);
        return args.end();
    }
    if (what == "flagged") {
        s.kind = statement_kind::expect_flagged;
        return args.requiredText(s.text, "a piece of the flagged message", s);
    }
    return args.fail("unknown expectation '" + shown_text(what) +
                     "' (sent, nothing sent, property, crosspoint, info, reply, no reply, debug, "
                     "no debug, timer, flagged)");
}

using verb_parser = std::function<bool(arguments&, statement&)>;

struct verb {
    statement_kind kind;
    bool interactiveOnly;
    verb_parser parse;
};

const std::map<std::string, verb>& verbs() {
    static const std::map<std::string, verb> table = {
        {"settings",
         {statement_kind::settings, false,
          [](arguments& a, statement& s) {
              s.words.emplace_back();
              return a.word(s.words[0], "settings folder") && a.end();
          }}},
        {"router", {statement_kind::router, false, parseRouter}},
        {"load", {statement_kind::load, false, parseLoad}},
        {"unload",
         {statement_kind::unload, false, [](arguments& a, statement&) { return a.end(); }}},
        {"press",
         {statement_kind::press, false,
          [](arguments& a, statement& s) {
              std::string control;
              if (!a.word(control, "control to press")) {
                  return false;
              }
              splitControl(control, s);
              return a.end();
          }}},
        {"parent",
         {statement_kind::parent, false,
          [](arguments& a, statement& s) {
              return a.requiredText(s.text, "the command text", s);
          }}},
        {"status",
         {statement_kind::status, false,
          [](arguments& a, statement& s) {
              return a.numbers(s, {"router device"}) && parseDestinationAndSource(a, s) && a.end();
          }}},
        {"route", {statement_kind::route, false, parseRoute}},
        {"advance",
         {statement_kind::advance, false,
          [](arguments& a, statement& s) {
              int64_t ms = 0;
              if (!a.duration(ms, "time")) {
                  return false;
              }
              s.numbers.push_back(ms);
              return a.end();
          }}},
        {"fault", {statement_kind::fault, false, parseFault}},
        {"replies",
         {statement_kind::replies, false,
          [](arguments& a, statement& s) {
              std::string which;
              if (!a.word(which, "hold or release")) {
                  return false;
              }
              if (which != "hold" && which != "release") {
                  return a.fail("'" + shown_text(which) + "' is not hold or release");
              }
              s.words.push_back(which);
              s.flag = which == "hold";
              return a.end();
          }}},
        {"expect", {statement_kind::expect_sent, false, parseExpect}},
        {"say",
         {statement_kind::say, false,
          [](arguments& a, statement& s) { return a.text(s.text, s); }}},
        {"show",
         {statement_kind::show, false,
          [](arguments& a, statement& s) {
              std::string word;
              while (a.optionalWord(word)) {
                  s.words.push_back(word);
              }
              return a.ok() && (s.words.size() <= 2 || a.fail("show takes at most two words"));
          }}},
        {"help", {statement_kind::help, true, [](arguments& a, statement&) { return a.end(); }}},
        {"save",
         {statement_kind::save, true,
          [](arguments& a, statement& s) {
              s.words.emplace_back();
              return a.word(s.words[0], "file to save the session in") && a.end();
          }}},
        {"quit", {statement_kind::quit, true, [](arguments& a, statement&) { return a.end(); }}},
        {"exit", {statement_kind::quit, true, [](arguments& a, statement&) { return a.end(); }}},
    };
    return table;
}

} // namespace

std::string closest_statement(const std::string& word) {
    // Words people reach for that the language says another way.
    static const std::map<std::string, std::string> synonyms = {
        {"wait", "advance"}, {"sleep", "advance"},    {"delay", "advance"}, {"tick", "advance"},
        {"click", "press"},  {"push", "press"},       {"send", "parent"},   {"command", "parent"},
        {"echo", "say"},     {"print", "say"},        {"log", "say"},       {"assert", "expect"},
        {"check", "expect"}, {"crosspoint", "route"}, {"take", "parent"},   {"open", "load"},
        {"close", "unload"}, {"stop", "quit"},
    };
    const auto synonym = synonyms.find(word);
    if (synonym != synonyms.end()) {
        return synonym->second;
    }
    return closest_word(word, statement_names());
}

std::vector<std::string> statement_names() {
    std::vector<std::string> names;
    for (const auto& entry : verbs()) {
        names.push_back(entry.first);
    }
    return names;
}

bool read_duration(const std::string& text, int64_t& ms) {
    return read_duration(text, maxDuration, ms);
}

line_result parse_scenario_line(const std::string& file, int line, const std::string& text,
                                bool interactive, statement& out, std::string& error) {
    std::string source = text;
    if (!source.empty() && source.back() == '\r') {
        source.pop_back();
    }
    line_reader reader(source);
    error.clear();
    if (reader.atEnd()) {
        return line_result::blank;
    }
    std::string word;
    if (!reader.word(word, error)) {
        return line_result::error;
    }
    if (word[0] == '#') {
        return line_result::blank;
    }
    const auto found = verbs().find(word);
    if (found == verbs().end()) {
        error = "unknown statement '" + shown_text(word) + "'";
        const std::string guess = closest_statement(word);
        if (!guess.empty()) {
            error += "; did you mean '" + guess + "'?";
        } else if (interactive) {
            error += " (try help)";
        }
        return line_result::error;
    }
    if (found->second.interactiveOnly && !interactive) {
        error = "'" + shown_text(word) + "' is for interactive use only";
        return line_result::error;
    }
    statement s;
    s.kind = found->second.kind;
    s.file = file;
    s.line = line;
    s.source = source;
    arguments args(reader, error);
    if (!found->second.parse(args, s)) {
        if (error.empty()) {
            error = "malformed line";
        }
        error = word + ": " + error;
        return line_result::error;
    }
    out = std::move(s);
    return line_result::statement;
}

std::vector<std::string> scenario_statement_names(bool interactive) {
    std::vector<std::string> names;
    for (const auto& entry : verbs()) {
        if (interactive || !entry.second.interactiveOnly) {
            names.push_back(entry.first);
        }
    }
    return names;
}
