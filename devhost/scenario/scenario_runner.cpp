#include "scenario_runner.h"

#include "scenario_parser.h"
#include "scenario_text.h"
#include "settings_document.h"
#include "settings_environment.h"
#include "shown_text.h"
#include "state_report.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A text for the "expected:" and "seen:" lines: quoted when blanks at its ends
// or line ends would otherwise be invisible.
std::string shown(const std::string& text) {
    return write_free_text(text);
}

// "*" stands for any run of characters, "?" for one; the rest is itself.
bool matchesLike(const std::string& pattern, const std::string& text) {
    size_t p = 0;
    size_t t = 0;
    size_t starAt = std::string::npos;
    size_t resumeAt = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = t;
        } else if (starAt != std::string::npos) {
            p = starAt + 1;
            t = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

// The names a user may have meant, for a message: "its controls: A, B; did
// you mean 'A'?".
std::string controlsHint(const panel& shown, const std::string& wanted) {
    std::vector<std::string> ids;
    std::string list;
    for (const panel_control& control : shown.controls()) {
        ids.push_back(control.id);
        list += (list.empty() ? "" : ", ") + control.id;
    }
    if (ids.empty()) {
        return " (the panel has no controls)";
    }
    const std::string guess = closest_word(wanted, ids);
    return " (its controls: " + list + (guess.empty() ? "" : "; did you mean '" + guess + "'?") +
           ")";
}

} // namespace

scenario_runner::scenario_runner(traffic_log& log, runner_options options)
    : log_(log), options_(std::move(options)), host_(log) {}

scenario_runner::~scenario_runner() {
    unload();
}

std::string scenario_runner::expand(const std::string& text) const {
    static const std::string marker = "${component}";
    std::string result = text;
    for (size_t at = result.find(marker); at != std::string::npos;
         at = result.find(marker, at + host_.componentPath().size())) {
        result.replace(at, marker.size(), host_.componentPath());
    }
    return result;
}

std::string scenario_runner::resolve(const std::string& path) const {
    const fs::path given(path);
    if (given.is_absolute()) {
        return given.lexically_normal().generic_string();
    }
    std::error_code ignored;
    const fs::path base = fs::absolute(options_.baseFolder, ignored);
    return (base / given).lexically_normal().generic_string();
}

bool scenario_runner::fail(const statement& s, const std::string& message) {
    failure_ = escape_controls(s.where() + ": " + message, "\n");
    return false;
}

bool scenario_runner::mismatch(const statement& s, const std::string& expected,
                               const std::string& seen) {
    failure_ = escape_controls(s.where() + ": expectation failed: " + s.source +
                                   "\n  expected: " + expected + "\n  seen:     " + seen,
                               "\n");
    return false;
}

void scenario_runner::boundWindow() {
    if (log_.size() - windowStart_ > windowKept) {
        log_.forgetBefore(log_.size() - windowKept);
        windowStart_ = log_.firstKept();
        sentCursor_ = std::max(sentCursor_, windowStart_);
        windowCut_ = true;
    }
}

bool scenario_runner::met() {
    ++expectationsMet_;
    return true;
}

bool scenario_runner::run(const statement& s) {
    failure_.clear();
    ++steps_;
    if (s.isExpectation()) {
        return check(s);
    }
    switch (s.kind) {
    case statement_kind::say:
        log_.add(host_.now(), traffic_kind::say, s.text);
        boundWindow();
        return true;
    case statement_kind::show: {
        std::vector<std::string> lines;
        std::string error;
        if (!report_state(host_, s.words, lines, error)) {
            return fail(s, error);
        }
        if (options_.showOutput != nullptr) {
            for (const std::string& line : lines) {
                *options_.showOutput << line << '\n';
            }
            options_.showOutput->flush();
        }
        return true;
    }
    case statement_kind::help:
    case statement_kind::save:
    case statement_kind::quit:
        return true;
    default:
        break;
    }
    log_.add(host_.now(), traffic_kind::step, s.where() + "  " + s.source);
    if (s.isAction()) {
        windowStart_ = log_.size();
        sentCursor_ = windowStart_;
        windowCut_ = false;
        log_.forgetBefore(windowStart_);
    } else {
        boundWindow();
    }
    return act(s);
}

bool scenario_runner::act(const statement& s) {
    switch (s.kind) {
    case statement_kind::settings: {
        if (host_.alive()) {
            return fail(s, "settings must come before load: the component reads them when it "
                           "is created");
        }
        const std::string folder = resolve(s.words[0]);
        std::error_code ignored;
        if (!fs::is_regular_file(fs::path(folder) / settings_file_name, ignored)) {
            return fail(s, "settings folder '" + folder + "' has no " + settings_file_name);
        }
        if (!use_settings_folder(folder)) {
            return fail(s, "cannot set " + std::string(settings_folder_variable));
        }
        settingsGiven_ = true;
        return true;
    }
    case statement_kind::router:
        for (size_t i = 1; i + 2 < s.numbers.size(); i += 3) {
            crosspointsPreset_ += s.numbers[i + 1] - s.numbers[i] + 1;
        }
        if (crosspointsPreset_ > maxCrosspointsPreset) {
            return fail(s, "more than " + std::to_string(maxCrosspointsPreset) +
                               " crosspoints set by router lines in all; the host keeps no more");
        }
        for (size_t i = 1; i + 2 < s.numbers.size(); i += 3) {
            for (int64_t d = s.numbers[i]; d <= s.numbers[i + 1]; ++d) {
                host_.presetCrosspoint(static_cast<int32_t>(s.numbers[0]), static_cast<int32_t>(d),
                                       static_cast<int32_t>(s.numbers[i + 2]));
            }
        }
        return true;
    case statement_kind::load:
        return load(s);
    case statement_kind::unload:
        if (!host_.alive()) {
            return fail(s, "cannot unload: no component is loaded");
        }
        return unload();
    default:
        break;
    }
    if (!host_.alive() && s.kind != statement_kind::fault && s.kind != statement_kind::route &&
        s.kind != statement_kind::replies) {
        return fail(s, "no component is loaded (use load first)");
    }
    const auto number = [&s](size_t i) { return static_cast<int32_t>(s.numbers[i]); };
    switch (s.kind) {
    case statement_kind::press: {
        std::string error;
        if (!host_.press(s.words[0], s.words[1], error)) {
            const panel* shown = host_.findPanel(s.words[0]);
            const bool unknown = shown != nullptr && shown->find(s.words[1]) == nullptr;
            return fail(s, "cannot press: " + error +
                               (unknown ? controlsHint(*shown, s.words[1]) : std::string()));
        }
        return true;
    }
    case statement_kind::parent:
        host_.parentCommand(s.text, lastReplied_, lastReply_);
        parentSent_ = true;
        return true;
    case statement_kind::status:
        host_.deliverStatus(route_status{number(0), number(1), number(2)});
        return true;
    case statement_kind::route:
        host_.route(number(0), number(2), number(1), s.flag);
        return true;
    case statement_kind::advance:
        if (!host_.advance(s.numbers[0])) {
            return fail(s, "advance " + std::to_string(s.numbers[0]) +
                               " ms: the virtual clock would pass its end, " +
                               std::to_string(emulated_host::clockEnd) + " ms (it is at " +
                               std::to_string(host_.now()) + " ms); it stays where it is");
        }
        return true;
    case statement_kind::replies:
        if (s.flag) {
            host_.holdReplies();
        } else {
            host_.releaseReplies();
        }
        return true;
    case statement_kind::fault:
        if (s.flag) {
            host_.releaseHeld(number(0));
        } else {
            host_.setFault(number(0), s.fault, s.numbers.size() > 1 ? s.numbers[1] : 0);
        }
        return true;
    default:
        return fail(s, "this statement cannot be run here");
    }
}

bool scenario_runner::load(const statement& s) {
    if (host_.alive()) {
        return fail(s, "a component is loaded already (unload it first)");
    }
    const std::string& name = s.words[0];
    std::string path;
    if (component_library::namesPath(name)) {
        path = resolve(name);
    } else {
        std::vector<std::string> tried;
        path = component_library::find(name, options_.libraryFolders, tried);
        if (path.empty()) {
            std::string list;
            for (const std::string& t : tried) {
                list += "\n  " + t;
            }
            return fail(s, "load library: no library '" + name +
                               "' in the library folders; tried:" + list +
                               "\n  (give a path, or the folder with --lib-dir)");
        }
    }
    if (!settingsGiven_) {
        const char* folder = std::getenv(settings_folder_variable);
        log_.add(host_.now(), traffic_kind::host,
                 std::string("no settings statement: the component reads object_settings.xml "
                             "from ") +
                     (folder != nullptr && *folder != '\0' ? folder : "the current folder"));
    }
    std::string error;
    if (!library_.load(path, error)) {
        return fail(s, error);
    }
    // The component path defaults to the library's folder, where its panel
    // files are; a relative one given in the scenario starts at its folder.
    std::string componentPath = fs::path(path).parent_path().generic_string();
    if (s.flag) {
        componentPath = s.words[1].empty() ? std::string() : resolve(s.words[1]);
    }
    if (!host_.create(library_.factory(), componentPath, error)) {
        library_.unload();
        return fail(s, error + " (library '" + path + "')");
    }
    return true;
}

bool scenario_runner::unload() {
    host_.destroy();
    library_.unload();
    return true;
}

bool scenario_runner::finish() {
    failure_.clear();
    if (host_.alive()) {
        windowStart_ = log_.size();
        unload();
    }
    std::string unexpected;
    int count = 0;
    for (const flagged_entry& flag : log_.flagged()) {
        if (flag.entry.kind == traffic_kind::problem && expectedFlags_.count(flag.number) == 0) {
            // The first ten are named; the rest are counted.
            if (++count <= 10) {
                unexpected += "\n  " + (flag.step.empty() ? std::string() : flag.step + ": ") +
                              "at " + std::to_string(flag.entry.time) + " ms: " + flag.entry.text;
            }
        }
    }
    if (count > 10) {
        unexpected += "\n  ... and " + std::to_string(count - 10) + " more";
    }
    if (count > 0) {
        failure_ = std::to_string(count) +
                   " problem(s) flagged by the host and not expected:" + unexpected;
        return false;
    }
    return true;
}

std::string scenario_runner::windowCommands() const {
    std::string list;
    for (size_t i = windowStart_; i < log_.size(); ++i) {
        if (log_[i].kind != traffic_kind::out) {
            continue;
        }
        const char* mark = i < sentCursor_ ? "= " : i == sentCursor_ ? "> " : "  ";
        list += "\n    " + std::string(mark) + shown(log_[i].text);
    }
    const std::string cut = windowCut_ ? "\n  (of this window only the newest " +
                                             std::to_string(windowKept) + " log entries are kept)"
                                       : std::string();
    if (list.empty()) {
        return "\n  the window holds no command" + cut;
    }
    return "\n  the window's commands (= matched before, > the one compared):" + list + cut;
}

bool scenario_runner::check(const statement& s) {
    switch (s.kind) {
    case statement_kind::expect_sent:
        return checkSent(s);
    case statement_kind::expect_nothing_sent:
        return checkNothingSent(s);
    case statement_kind::expect_property:
        return checkProperty(s);
    case statement_kind::expect_crosspoint:
        return checkCrosspoint(s);
    case statement_kind::expect_info:
        return checkInfo(s);
    case statement_kind::expect_reply:
    case statement_kind::expect_no_reply:
        return checkReply(s);
    case statement_kind::expect_debug:
    case statement_kind::expect_no_debug:
        return checkDebug(s);
    case statement_kind::expect_timer:
        return checkTimer(s);
    case statement_kind::expect_flagged:
        return checkFlagged(s);
    default:
        return fail(s, "not an expectation");
    }
}

bool scenario_runner::checkSent(const statement& s) {
    const traffic_log& entries = log_;
    const std::string expected = expand(s.text);
    while (sentCursor_ < entries.size() && entries[sentCursor_].kind != traffic_kind::out) {
        ++sentCursor_;
    }
    const std::string wanted = s.flag ? "a command like " + shown(expected) : shown(expected);
    if (sentCursor_ >= entries.size()) {
        mismatch(s, wanted, "nothing more was sent");
        failure_ += windowCommands();
        return false;
    }
    const std::string& seen = entries[sentCursor_].text;
    if (s.flag ? !matchesLike(expected, seen) : seen != expected) {
        mismatch(s, wanted, shown(seen));
        failure_ += windowCommands();
        return false;
    }
    ++sentCursor_;
    return met();
}

bool scenario_runner::checkNothingSent(const statement& s) {
    const traffic_log& entries = log_;
    std::string seen;
    int more = 0;
    for (size_t i = sentCursor_; i < entries.size(); ++i) {
        if (entries[i].kind == traffic_kind::out) {
            if (more++ == 0) {
                seen = shown(entries[i].text);
            }
        }
    }
    if (more > 0) {
        return mismatch(s, "no further command",
                        seen + (more > 1 ? " (and " + std::to_string(more - 1) + " more)" : ""));
    }
    return met();
}

bool scenario_runner::checkProperty(const statement& s) {
    const panel* p = host_.findPanel(s.words[0]);
    if (p == nullptr) {
        return mismatch(s, shown(expand(s.text)), "panel " + s.words[0] + " is not shown");
    }
    const panel_control* control = p->find(s.words[1]);
    if (control == nullptr) {
        return mismatch(s, shown(expand(s.text)),
                        "panel " + s.words[0] + " has no control '" + s.words[1] + "'" +
                            controlsHint(*p, s.words[1]));
    }
    const std::string* value = control->property(s.words[2]);
    if (value == nullptr) {
        return mismatch(s, shown(expand(s.text)),
                        "control '" + s.words[1] + "' has no property '" + s.words[2] + "'");
    }
    if (*value != expand(s.text)) {
        return mismatch(s, shown(expand(s.text)), shown(*value));
    }
    return met();
}

bool scenario_runner::checkCrosspoint(const statement& s) {
    const auto number = [&s](size_t i) { return static_cast<int32_t>(s.numbers[i]); };
    const int32_t seen = host_.routers().crosspoint(number(0), number(1));
    if (seen != number(2)) {
        return mismatch(s, "source " + std::to_string(number(2)),
                        seen == router_bank::nothingRouted ? std::string("nothing routed")
                                                           : "source " + std::to_string(seen));
    }
    return met();
}

bool scenario_runner::checkInfo(const statement& s) {
    const auto number = [&s](size_t i) { return static_cast<int32_t>(s.numbers[i]); };
    std::string seen;
    if (!host_.info().read(number(0), number(1), seen)) {
        return mismatch(s, shown(expand(s.text)), "the slot was never written");
    }
    if (seen != expand(s.text)) {
        return mismatch(s, shown(expand(s.text)), shown(seen));
    }
    return met();
}

bool scenario_runner::checkReply(const statement& s) {
    if (!parentSent_) {
        return fail(s, "no parent command has been sent, so there is no reply to check");
    }
    const bool wanted = s.kind == statement_kind::expect_reply;
    const std::string seen = lastReplied_ ? shown(lastReply_) : "no reply";
    if (wanted != lastReplied_ || (wanted && lastReply_ != expand(s.text))) {
        return mismatch(s, wanted ? shown(expand(s.text)) : "no reply", seen);
    }
    return met();
}

bool scenario_runner::checkDebug(const statement& s) {
    const traffic_log& entries = log_;
    if (!host_.capturesDebug()) {
        return fail(s, "the component's debug output cannot be captured on this system");
    }
    std::string seen;
    for (size_t i = windowStart_; i < entries.size(); ++i) {
        if (entries[i].kind == traffic_kind::debug) {
            seen += entries[i].text;
        }
    }
    const std::string expected = s.kind == statement_kind::expect_debug ? expand(s.text) : "";
    if (s.flag) {
        if (seen.find(expected) == std::string::npos) {
            return mismatch(s, "debug output containing " + shown(expected),
                            seen.empty() ? "no debug output" : shown(seen));
        }
        return met();
    }
    if (seen != expected) {
        return mismatch(s, expected.empty() ? "no debug output" : shown(expected),
                        seen.empty() ? "no debug output" : shown(seen));
    }
    return met();
}

bool scenario_runner::checkTimer(const statement& s) {
    const auto number = [&s](size_t i) { return static_cast<int32_t>(s.numbers[i]); };
    const int32_t id = number(0);
    const auto& running = host_.timers().running();
    const auto found = running.find(id);
    const std::string seen = found == running.end()
                                 ? "timer " + std::to_string(id) + " stopped"
                                 : "timer " + std::to_string(id) + " running, due at " +
                                       std::to_string(found->second.due) + " ms";
    const std::string& state = s.words[0];
    bool ok = false;
    std::string expected = "timer " + std::to_string(id) + " " + state;
    if (state == "stopped") {
        ok = found == running.end();
    } else if (state == "running") {
        ok = found != running.end();
    } else {
        expected = "timer " + std::to_string(id) + " running, due at " +
                   std::to_string(s.numbers[1]) + " ms";
        ok = found != running.end() && found->second.due == s.numbers[1];
    }
    return ok ? met() : mismatch(s, expected, seen);
}

bool scenario_runner::checkFlagged(const statement& s) {
    std::string flagged;
    for (const flagged_entry& flag : log_.flagged()) {
        if (expectedFlags_.count(flag.number) != 0) {
            continue;
        }
        if (flag.entry.text.find(expand(s.text)) != std::string::npos) {
            expectedFlags_.insert(flag.number);
            return met();
        }
        flagged += "\n            " + flag.entry.text;
    }
    return mismatch(s, "a flagged message containing " + shown(s.text),
                    flagged.empty() ? "nothing else was flagged"
                                    : "only these flagged messages:" + flagged);
}
