// Checks a settings file for what a component would silently mis-handle:
// missing entries, numbers that are not numbers or lie outside their limits,
// lists that do not pair up, repeated items, items without a name, entries
// given twice. What each component reads, and what it makes of a wrong value,
// comes from its rules (settings_rules.h); this check knows no component.
//
// Findings of one kind are folded into one, with a count, so that a file of
// any size gives a report of a few lines; the work is bounded by the size of
// the file.
#ifndef VREL_DEVHOST_SETTINGS_CHECK_H
#define VREL_DEVHOST_SETTINGS_CHECK_H

#include "settings_document.h"
#include "settings_rules.h"

#include <string>
#include <vector>

struct settings_finding {
    bool error; // false: a warning
    int line;   // 1-based; 0 when the finding is about the whole file
    std::string message;
    // Further findings of the same kind folded into this one, and the line of
    // the last of them.
    long long alike = 0;
    int lastLine = 0;
};

struct settings_report {
    std::string file;
    // What was checked, in words: "section <id> with <component>'s rules".
    std::vector<std::string> checked;
    std::vector<settings_finding> findings; // by line

    // Counting folded findings too.
    long long errors() const;
    long long warnings() const;
    // "file:line: error: message", one per finding; a folded one ends with
    // "(and 9 more like it, the last on line 20)".
    std::vector<std::string> lines() const;
};

// Which of the rules a settings file is checked against.
enum class rules_choice {
    // Every one: a section they name that the file lacks is an error.
    all,
    // Those whose section the file has; when it has none of them, an error
    // names the sections the known components read.
    sectionsPresent,
};

// Checks the file `path` names (see settings_file_of). A file that cannot be
// read (missing, a folder, a FIFO, a device, too large) is one error.
settings_report check_settings_path(const std::string& path,
                                    const std::vector<settings_rules>& rules,
                                    rules_choice choice = rules_choice::all);

// The same for settings already read: `content` is the text of `file`.
settings_report check_settings_text(const std::string& file, const std::string& content,
                                    const std::vector<settings_rules>& rules,
                                    rules_choice choice = rules_choice::all);

#endif
