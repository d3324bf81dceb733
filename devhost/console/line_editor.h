// Line editing at a terminal with libedit: the arrows, Ctrl-L and the other
// editing keys, the history (Up and Down, kept in a file between sessions)
// and completion with Tab. Not on Windows, where the console reads plain
// lines.
#ifndef VREL_DEVHOST_LINE_EDITOR_H
#define VREL_DEVHOST_LINE_EDITOR_H

#include "completion.h"
#include "history_file.h"
#include "line_source.h"

#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct editline;
struct history;

class line_editor final : public line_source {
public:
    // The candidates for the text before the cursor.
    using completer = std::function<completion(const std::string& beforeCursor)>;

    // Edits lines on standard input and output. `history` names the file the
    // history is read from and saved to (an empty path: this session only);
    // a history that cannot be read or saved is said on `messages`.
    line_editor(const char* program, completer complete, history_file history,
                std::ostream& messages);
    line_editor(const line_editor&) = delete;
    line_editor& operator=(const line_editor&) = delete;
    // Saves the history.
    ~line_editor() override;

    result read(std::string& line) override;
    bool typed() const override { return true; }
    void remember(const std::string& line) override;
    std::string keys() const override;

private:
    static unsigned char completeKey(editline* editor, int key);
    static char* prompt(editline* editor);
    unsigned char complete();
    void list(const std::vector<std::string>& candidates);

    editline* editor_ = nullptr;
    struct history* history_ = nullptr;
    completer complete_;
    history_file file_;
    std::ostream& messages_;
    std::deque<std::string> sessionLines_; // the newest, up to the history's limit
};

#endif
