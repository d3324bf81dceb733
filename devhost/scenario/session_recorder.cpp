#include "session_recorder.h"

#include "scenario_text.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The component path in a recorded text becomes ${component}, so that the
// scenario runs wherever the library is.
std::string portable(const std::string& text, const std::string& componentPath) {
    if (componentPath.empty()) {
        return text;
    }
    std::string result = text;
    static const std::string marker = "${component}";
    for (size_t at = result.find(componentPath); at != std::string::npos;
         at = result.find(componentPath, at + marker.size())) {
        result.replace(at, componentPath.size(), marker);
    }
    return result;
}

} // namespace

void session_recorder::record(const statement& s, const scenario_runner& runner,
                              const traffic_log& log) {
    switch (s.kind) {
    case statement_kind::show:
    case statement_kind::help:
    case statement_kind::save:
    case statement_kind::quit:
        return;
    default:
        break;
    }
    // A blank line before each action keeps the recording readable.
    if (s.isAction() && !lines_.empty()) {
        lines_.push_back({"", "", "", ""});
    }
    switch (s.kind) {
    case statement_kind::settings:
        lines_.push_back({"", runner.resolve(s.words[0]), "settings", ""});
        break;
    case statement_kind::load: {
        const std::string& library = s.words[0];
        const std::string rest = s.flag ? " path " + write_word(s.words[1]) : "";
        const bool byName = library.find_first_of("/\\") == std::string::npos &&
                            fs::path(library).extension().empty();
        if (byName) {
            lines_.push_back({"load " + write_word(library) + rest, "", "", ""});
        } else {
            lines_.push_back({"", runner.resolve(library), "load", rest});
        }
        break;
    }
    default:
        lines_.push_back({s.source, "", "", ""});
        break;
    }
    ++statements_;
    if (!s.isAction()) {
        return;
    }

    // The traffic of the action's window, as expectations.
    const std::string componentPath = runner.host().componentPath();
    std::string debug;
    for (size_t i = runner.windowStart(); i < log.size(); ++i) {
        const traffic_entry& e = log[i];
        switch (e.kind) {
        case traffic_kind::out:
            lines_.push_back(
                {"expect sent " + write_free_text(portable(e.text, componentPath)), "", "", ""});
            break;
        case traffic_kind::note:
        case traffic_kind::problem:
            lines_.push_back(
                {"expect flagged " + write_free_text(portable(e.text, componentPath)), "", "", ""});
            break;
        case traffic_kind::debug:
            debug += e.text;
            break;
        default:
            break;
        }
    }
    lines_.push_back({"expect nothing sent", "", "", ""});
    if (!debug.empty()) {
        lines_.push_back({"expect debug " + write_free_text(debug), "", "", ""});
    }
    if (s.kind == statement_kind::parent) {
        lines_.push_back({runner.lastReplied()
                              ? "expect reply " + write_free_text(runner.lastReply())
                              : "expect no reply",
                          "", "", ""});
    }
}

std::string session_recorder::scenarioText(const std::string& file) const {
    std::error_code ignored;
    const fs::path folder = fs::absolute(fs::path(file), ignored).parent_path();
    std::string text = "# Recorded from an interactive session of vrel-devhost. The expectations\n"
                       "# are the traffic seen then; played back, the scenario checks that the\n"
                       "# component still behaves the same.\n";
    for (const recorded_line& line : lines_) {
        if (line.absolute.empty()) {
            text += line.text + "\n";
            continue;
        }
        std::string path = fs::path(line.absolute).lexically_relative(folder).generic_string();
        if (path.empty()) {
            path = line.absolute;
        }
        text += line.verb + " " + write_word(path) + line.rest + "\n";
    }
    return text;
}

bool session_recorder::save(const std::string& file, std::string& error) const {
    std::ofstream out(file, std::ios::binary);
    if (!out) {
        error = "cannot write '" + file + "'";
        return false;
    }
    out << scenarioText(file);
    out.close();
    if (!out) {
        error = "cannot write '" + file + "'";
        return false;
    }
    return true;
}
