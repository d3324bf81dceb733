#include "line_editor.h"

#include "session_interrupts.h"

#include <histedit.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

// The width of the terminal, for listing candidates.
size_t terminalWidth() {
    struct winsize size = {};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return 80;
}

} // namespace

line_editor::line_editor(const char* program, completer complete, history_file history,
                         std::ostream& messages)
    : complete_(std::move(complete)), file_(std::move(history)), messages_(messages) {
    history_ = history_init();
    HistEvent event;
    ::history(history_, &event, H_SETSIZE, static_cast<int>(history_file::defaultLimit));
    ::history(history_, &event, H_SETUNIQUE, 1);
    std::string problem;
    for (const std::string& line : file_.load(problem)) {
        ::history(history_, &event, H_ENTER, line.c_str());
    }
    if (!problem.empty()) {
        messages_ << "vrel-devhost: " << problem << '\n';
    }

    editor_ = el_init(program, stdin, stdout, stderr);
    el_set(editor_, EL_CLIENTDATA, this);
    el_set(editor_, EL_EDITOR, "emacs");
    el_set(editor_, EL_PROMPT, &line_editor::prompt);
    el_set(editor_, EL_HIST, ::history, history_);
    // The wide form keeps the names as given (static here); the narrow one
    // copies them and never frees the copies.
    el_wset(editor_, EL_ADDFN, L"vrel-complete", L"complete a statement, control or id",
            &line_editor::completeKey);
    el_set(editor_, EL_BIND, "^I", "vrel-complete", nullptr);
    // The user's own ~/.editrc may bind more keys.
    el_source(editor_, nullptr);
}

line_editor::~line_editor() {
    el_end(editor_);
    std::string problem;
    if (!file_.save({sessionLines_.begin(), sessionLines_.end()}, problem)) {
        messages_ << "vrel-devhost: " << problem << '\n';
    }
    history_end(history_);
}

char* line_editor::prompt(editline*) {
    // libedit takes the prompt as a writable text.
    static char text[] = "devhost> ";
    return text;
}

line_source::result line_editor::read(std::string& line) {
    line.clear();
    if (session_interrupts::requested()) {
        return result::interrupted;
    }
    int count = 0;
    const char* text = nullptr;
    {
        session_interrupts::reading_scope reading;
        text = el_gets(editor_, &count);
    }
    if (text == nullptr || count <= 0) {
        // The cursor is still on the prompt's line.
        std::fputs("\n", stdout);
        std::fflush(stdout);
        return session_interrupts::requested() ? result::interrupted : result::end;
    }
    line.assign(text, static_cast<size_t>(count));
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    if (line.size() > console_max_line) {
        line.clear();
        return result::too_long;
    }
    return result::line;
}

void line_editor::remember(const std::string& line) {
    if (!history_file::keeps(line)) {
        return;
    }
    HistEvent event;
    ::history(history_, &event, H_ENTER, line.c_str());
    sessionLines_.push_back(line);
    // The file keeps no more than its limit of the newest lines.
    if (sessionLines_.size() > history_file::defaultLimit) {
        sessionLines_.pop_front();
    }
}

std::string line_editor::keys() const {
    return "Tab completes, Up recalls (history " +
           (file_.path().empty() ? std::string("for this session only") : "in " + file_.path()) +
           "), Ctrl-C or Ctrl-D ends as quit does.";
}

unsigned char line_editor::completeKey(editline* editor, int) {
    line_editor* self = nullptr;
    el_get(editor, EL_CLIENTDATA, &self);
    return self != nullptr ? self->complete() : CC_ERROR;
}

unsigned char line_editor::complete() {
    const LineInfo* info = el_line(editor_);
    const std::string before(info->buffer, static_cast<size_t>(info->cursor - info->buffer));
    const completion found = complete_(before);
    if (found.candidates.empty()) {
        return CC_REFRESH_BEEP;
    }
    const std::string typed = before.substr(found.start);
    const std::string common = common_prefix(found.candidates);
    if (found.candidates.size() == 1) {
        std::string rest = common.substr(typed.size());
        if (common.back() != '/' && common.back() != ':') {
            rest += ' ';
        }
        el_insertstr(editor_, rest.c_str());
        return CC_REFRESH;
    }
    if (common.size() > typed.size()) {
        el_insertstr(editor_, common.substr(typed.size()).c_str());
        return CC_REFRESH;
    }
    list(found.candidates);
    return CC_REDISPLAY;
}

// The candidates in columns under the line being edited; the line is drawn
// again below them.
void line_editor::list(const std::vector<std::string>& candidates) {
    size_t widest = 0;
    for (const std::string& candidate : candidates) {
        widest = std::max(widest, candidate.size());
    }
    const size_t column = widest + 2;
    const size_t perLine = std::max<size_t>(1, terminalWidth() / column);
    std::string text = "\n";
    for (size_t i = 0; i < candidates.size(); ++i) {
        text += candidates[i];
        const bool lineEnds = (i + 1) % perLine == 0 || i + 1 == candidates.size();
        text += lineEnds ? std::string("\n") : std::string(column - candidates[i].size(), ' ');
    }
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}
