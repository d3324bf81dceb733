// Completion of what is typed at the console: statement words, the controls
// of the shown panels and their properties, the router devices and
// destinations, info devices and slots, timers, the libraries in the library
// folders and paths, all read from the emulated facility as it is now.
#ifndef VREL_DEVHOST_COMPLETION_H
#define VREL_DEVHOST_COMPLETION_H

#include "emulated_host.h"

#include <cstddef>
#include <string>
#include <vector>

struct completion_context {
    // The facility's state; null: no ids are offered.
    const emulated_host* host = nullptr;
    // Where a library named without a path is looked for.
    std::vector<std::string> libraryFolders;
    // Where relative paths start.
    std::string baseFolder = ".";
};

struct completion {
    // Where the word being completed starts in the text.
    size_t start = 0;
    // Whole words that begin with what is typed of it, sorted (numbers by
    // value), each once. A candidate ending in "/" (a folder) or ":" (a
    // panel) is not followed by a blank when chosen.
    std::vector<std::string> candidates;
};

// The candidates for the word before the cursor; `beforeCursor` is the line
// up to the cursor. Inside a quoted text nothing is offered.
completion complete_statement(const std::string& beforeCursor, const completion_context& context);

// The longest text every candidate begins with.
std::string common_prefix(const std::vector<std::string>& candidates);

#endif
