#include "page_action.h"

#include "page_statements.h"
#include "scenario_parser.h"
#include "serve_json.h"

#include <cstdint>
#include <limits>
#include <map>

namespace {

constexpr size_t maxText = 4096;
constexpr int64_t maxAdvance = 1000LL * 60 * 60 * 24 * 365; // a year

class fields {
public:
    fields(const json& body, std::string& error) : body_(body), error_(error) {}

    bool has(const char* name) const { return body_.contains(name); }

    bool text(const char* name, std::string& out, bool required = true) {
        const auto found = body_.find(name);
        if (found == body_.end()) {
            if (required) {
                return fail(std::string("missing \"") + name + "\"");
            }
            return true;
        }
        if (!found->is_string()) {
            return fail(std::string("\"") + name + "\" must be a text");
        }
        out = found->get<std::string>();
        if (out.size() > maxText) {
            return fail(std::string("\"") + name + "\" is longer than " + std::to_string(maxText) +
                        " bytes");
        }
        if (out.find('\0') != std::string::npos) {
            return fail(std::string("\"") + name + "\" holds a NUL character");
        }
        return true;
    }

    // A word of a statement: not empty, no blanks, quotes or control
    // characters, and no colon (it separates a panel from a control).
    bool word(const char* name, std::string& out, bool colonAllowed) {
        if (!text(name, out)) {
            return false;
        }
        if (out.empty()) {
            return fail(std::string("\"") + name + "\" is empty");
        }
        for (const char c : out) {
            const auto b = static_cast<unsigned char>(c);
            if (b <= ' ' || b == 0x7F || c == '"' || c == '\'' || (c == ':' && !colonAllowed)) {
                return fail(std::string("\"") + name + "\" may not hold blanks, quotes, control " +
                            "characters" + (colonAllowed ? "" : " or ':'"));
            }
        }
        return true;
    }

    bool number(const char* name, int64_t& out, int64_t lowest, int64_t highest) {
        const auto found = body_.find(name);
        if (found == body_.end()) {
            return fail(std::string("missing \"") + name + "\"");
        }
        if (!found->is_number_integer()) {
            return fail(std::string("\"") + name + "\" must be a whole number");
        }
        if (found->is_number_unsigned()) {
            const auto value = found->get<uint64_t>();
            if (value > static_cast<uint64_t>(highest) ||
                (lowest > 0 && value < static_cast<uint64_t>(lowest))) {
                return outOfRange(name, lowest, highest);
            }
            out = static_cast<int64_t>(value);
            return true;
        }
        out = found->get<int64_t>();
        if (out < lowest || out > highest) {
            return outOfRange(name, lowest, highest);
        }
        return true;
    }

    bool int32(const char* name, int32_t& out) {
        int64_t value = 0;
        if (!number(name, value, std::numeric_limits<int32_t>::min(),
                    std::numeric_limits<int32_t>::max())) {
            return false;
        }
        out = static_cast<int32_t>(value);
        return true;
    }

    bool flag(const char* name, bool& out) {
        const auto found = body_.find(name);
        if (found == body_.end() || !found->is_boolean()) {
            return fail(std::string("\"") + name + "\" must be true or false");
        }
        out = found->get<bool>();
        return true;
    }

    bool fail(std::string message) {
        error_ = std::move(message);
        return false;
    }

private:
    bool outOfRange(const char* name, int64_t lowest, int64_t highest) {
        return fail(std::string("\"") + name + "\" must be from " + std::to_string(lowest) +
                    " to " + std::to_string(highest));
    }

    const json& body_;
    std::string& error_;
};

using reader = bool (*)(fields&, page_action&);

const std::map<std::string, reader>& readers() {
    static const std::map<std::string, reader> table = {
        {"press",
         [](fields& f, page_action& a) {
             std::string panel = "1";
             std::string control;
             if ((f.has("panel") && !f.word("panel", panel, false)) ||
                 !f.word("control", control, true)) {
                 return false;
             }
             a.lines.push_back(page_statement::press(panel, control));
             return true;
         }},
        {"parent",
         [](fields& f, page_action& a) {
             std::string text;
             if (!f.text("text", text)) {
                 return false;
             }
             a.lines.push_back(page_statement::parent(text));
             return true;
         }},
        {"route",
         [](fields& f, page_action& a) {
             int32_t device = 0;
             int32_t source = 0;
             int32_t destination = 0;
             if (!f.int32("device", device) || !f.int32("source", source) ||
                 !f.int32("destination", destination)) {
                 return false;
             }
             a.lines.push_back(page_statement::route(device, source, destination));
             return true;
         }},
        {"advance",
         [](fields& f, page_action& a) {
             int64_t ms = 0;
             if (!f.number("ms", ms, 1, maxAdvance)) {
                 return false;
             }
             a.lines.push_back(page_statement::advance(ms));
             return true;
         }},
        {"fault",
         [](fields& f, page_action& a) {
             int32_t device = 0;
             std::string which;
             if (!f.int32("device", device) || !f.text("fault", which)) {
                 return false;
             }
             if (which != "hold" && which != "delay" && which != "drop" && which != "off" &&
                 which != "release") {
                 return f.fail("\"fault\" must be hold, delay, drop, off or release");
             }
             int64_t delay = 0;
             if (which == "delay" && !f.number("delay", delay, 0, maxAdvance)) {
                 return false;
             }
             a.lines.push_back(page_statement::fault(which, device, delay));
             return true;
         }},
        {"load",
         [](fields& f, page_action& a) {
             if (!f.text("library", a.library)) {
                 return false;
             }
             if (a.library.empty() || a.library.find_first_of("\r\n") != std::string::npos) {
                 return f.fail("\"library\" must be a name or a path on one line");
             }
             a.lines.push_back(page_statement::load(a.library));
             a.replaces = true;
             return true;
         }},
        {"unload",
         [](fields&, page_action& a) {
             a.lines.push_back(page_statement::unload());
             return true;
         }},
        {"statement",
         [](fields& f, page_action& a) {
             std::string line;
             if (!f.text("line", line)) {
                 return false;
             }
             if (line.find_first_of("\r\n") != std::string::npos) {
                 return f.fail("\"line\" must be one statement on one line");
             }
             a.lines.push_back(line);
             return true;
         }},
        {"reload",
         [](fields&, page_action& a) {
             a.what = page_action::kind::reload;
             return true;
         }},
        {"restart",
         [](fields&, page_action& a) {
             a.what = page_action::kind::restart;
             return true;
         }},
        {"realtime",
         [](fields& f, page_action& a) {
             a.what = page_action::kind::realtime;
             return f.flag("on", a.on);
         }},
    };
    return table;
}

} // namespace

std::string page_action::describe() const {
    switch (what) {
    case kind::reload:
        return "reload";
    case kind::restart:
        return "restart";
    case kind::realtime:
        return on ? "real-time clock on" : "real-time clock off";
    case kind::statements:
        break;
    }
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "; ") + line;
    }
    return text;
}

bool read_page_action(const std::string& body, page_action& action, std::string& error) {
    const json parsed = json::parse(body, nullptr, false);
    if (parsed.is_discarded()) {
        error = "the body is not JSON";
        return false;
    }
    if (!parsed.is_object()) {
        error = "the body must be a JSON object such as {\"do\": \"press\", ...}";
        return false;
    }
    const auto verb = parsed.find("do");
    if (verb == parsed.end() || !verb->is_string()) {
        error = "missing \"do\": the action (press, parent, route, advance, fault, load, "
                "unload, reload, restart, realtime, statement)";
        return false;
    }
    const auto found = readers().find(verb->get<std::string>());
    if (found == readers().end()) {
        error = "unknown action '" + verb->get<std::string>() + "'";
        return false;
    }
    fields f(parsed, error);
    if (!found->second(f, action)) {
        return false;
    }
    // Every statement is read as the facility will read it, so that one it
    // cannot run is refused here.
    for (size_t i = 0; i < action.lines.size(); ++i) {
        statement s;
        std::string problem;
        const line_result result =
            parse_scenario_line("page", 1, action.lines[i], true, s, problem);
        if (result == line_result::error) {
            error = problem;
            return false;
        }
        if (result == line_result::blank) {
            error = "the statement is empty";
            return false;
        }
        switch (s.kind) {
        case statement_kind::help:
        case statement_kind::save:
        case statement_kind::quit:
        case statement_kind::show:
            error = "'" + action.lines[i] +
                    "' is for the console; the page shows the state and saves the session itself";
            return false;
        case statement_kind::load:
            action.library = s.words[0];
            break;
        default:
            break;
        }
    }
    return true;
}
