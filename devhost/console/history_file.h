// The console's history kept between sessions: a plain text file, one
// statement a line, the latest last, at most a limit of lines. Several
// sessions may save into the same file: each adds its own lines to what the
// file holds when it saves.
#ifndef VREL_DEVHOST_HISTORY_FILE_H
#define VREL_DEVHOST_HISTORY_FILE_H

#include <cstddef>
#include <string>
#include <vector>

class history_file {
public:
    static constexpr size_t defaultLimit = 1000;
    // Longer lines are not kept.
    static constexpr size_t longestLine = 4096;

    explicit history_file(std::string path, size_t limit = defaultLimit);

    // Where the history is kept when no file is named: vrel-devhost/history
    // in $XDG_STATE_HOME when that is set, otherwise ~/.vrel_devhost_history;
    // empty when neither is known (the history then lasts one session).
    static std::string defaultPath(const char* stateHome, const char* home);

    // The lines saved so far. A missing file gives none; a file that cannot be
    // used (not a regular file, too large, unreadable) gives none, with
    // `problem` saying why.
    std::vector<std::string> load(std::string& problem) const;
    // Adds `lines` to what the file holds now, keeps the last `limit` and
    // replaces the file in one step. False with `problem` when it cannot.
    bool save(const std::vector<std::string>& lines, std::string& problem) const;

    // A line worth keeping: not blank, no control bytes, not too long.
    static bool keeps(const std::string& line);

    const std::string& path() const { return path_; }

private:
    std::string path_;
    size_t limit_;
};

#endif
