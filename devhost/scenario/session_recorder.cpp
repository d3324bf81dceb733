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
    if (!room()) {
        ++notRecorded_;
        return;
    }
    if (s.isAction()) {
        for (const std::string& line : closing(window_)) {
            lines_.push_back({line, "", "", ""});
        }
        window_ = open_window();
        // A blank line before each action keeps the recording readable.
        if (!lines_.empty()) {
            lines_.push_back({"", "", "", ""});
        }
    }
    recordStatement(s, runner);
    ++statements_;
    if (s.kind == statement_kind::expect_flagged) {
        taken_ = runner.expectedFlags();
    }
    if (s.kind == statement_kind::expect_sent && window_.open) {
        ++window_.sentTaken;
    }
    if (s.kind == statement_kind::expect_nothing_sent) {
        window_.nothingSent = true;
    }
    if (s.isAction()) {
        openWindow(runner, log, s.kind == statement_kind::parent);
    }
}

bool session_recorder::room() {
    if (!cut_ && lines_.size() + window_.sent.size() + window_.flagged.size() + flagged_.size() >=
                     maxLines) {
        cut_ = true;
    }
    return !cut_;
}

void session_recorder::recordStatement(const statement& s, const scenario_runner& runner) {
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
}

void session_recorder::openWindow(const scenario_runner& runner, const traffic_log& log,
                                  bool parent) {
    const std::string componentPath = runner.host().componentPath();
    window_.open = true;
    for (size_t i = runner.windowStart(); i < log.size(); ++i) {
        const traffic_entry& e = log[i];
        if (!room()) {
            break;
        }
        switch (e.kind) {
        case traffic_kind::out:
            window_.sent.push_back(portable(e.text, componentPath));
            break;
        case traffic_kind::note:
        case traffic_kind::problem:
            window_.flagged.push_back(portable(e.text, componentPath));
            flagged_.push_back({i, window_.flagged.back()});
            break;
        case traffic_kind::debug:
            window_.debug += e.text;
            break;
        default:
            break;
        }
    }
    window_.parent = parent;
    window_.replied = runner.lastReplied();
    window_.reply = runner.lastReply();
}

std::vector<std::string> session_recorder::closing(const open_window& window) {
    std::vector<std::string> lines;
    if (!window.open) {
        return lines;
    }
    for (const std::string& text : window.flagged) {
        lines.push_back("# the host flagged: " + write_free_text(text));
    }
    for (size_t i = window.sentTaken; i < window.sent.size(); ++i) {
        lines.push_back("expect sent " + write_free_text(window.sent[i]));
    }
    if (!window.nothingSent) {
        lines.push_back("expect nothing sent");
    }
    if (!window.debug.empty()) {
        lines.push_back("expect debug " + write_free_text(window.debug));
    }
    if (window.parent) {
        lines.push_back(window.replied ? "expect reply " + write_free_text(window.reply)
                                       : "expect no reply");
    }
    return lines;
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
    for (const std::string& line : closing(window_)) {
        text += line + "\n";
    }
    if (cut_) {
        text += "\n# The recording stops here, at its bound of " + std::to_string(maxLines) +
                " lines: " + std::to_string(notRecorded_) +
                " later statement(s) and the rest of this action's traffic were not kept.\n";
    }
    bool headed = false;
    for (const flagged_entry& entry : flagged_) {
        if (taken_.count(entry.index) != 0) {
            continue;
        }
        if (!headed) {
            text += "\n# What the host flagged that no expectation above took.\n";
            headed = true;
        }
        text += "expect flagged " + write_free_text(entry.text) + "\n";
    }
    return text;
}

bool session_recorder::save(const std::string& file, std::string& error) const {
    // A FIFO or a device in the file's place would block or swallow the
    // session.
    std::error_code ignored;
    const fs::file_status status = fs::status(file, ignored);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        error = "cannot write '" + file + "': not a regular file";
        return false;
    }
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
