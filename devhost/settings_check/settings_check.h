// Checks a settings folder for what the cue control component would silently
// mis-handle: missing entries, numbers that are not numbers, lists that do not
// pair up, cue destinations the component does not track, entries given twice
// and cue sources without a name.
#ifndef VREL_DEVHOST_SETTINGS_CHECK_H
#define VREL_DEVHOST_SETTINGS_CHECK_H

#include <string>
#include <vector>

struct settings_finding {
    bool error; // false: a warning
    int line;   // 1-based; 0 when the finding is about the whole file
    std::string message;
};

struct settings_report {
    std::string file;
    std::vector<settings_finding> findings; // by line

    int errors() const;
    int warnings() const;
    // "file:line: error: message", one per finding.
    std::vector<std::string> lines() const;
};

// The section the component reads.
constexpr const char* checked_section = "ZELK_ROUTER";

settings_report check_settings_folder(const std::string& folder);

// The same for settings already read: `content` is the file's text.
settings_report check_settings_text(const std::string& file, const std::string& content);

#endif
