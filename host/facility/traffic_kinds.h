// The kinds of traffic entry, once: each one's name (as machine-read output
// and the live page name it), its label in a printed log, its colour at a
// terminal and its colours on the live page, which gets this table with its
// first event.
#ifndef VREL_HOST_TRAFFIC_KINDS_H
#define VREL_HOST_TRAFFIC_KINDS_H

#include <cstddef>

enum class traffic_kind {
    step,     // a scenario line being run
    say,      // narration from a scenario
    in,       // a notification to the component
    out,      // a command text from the component (code 0)
    handback, // a reply handed back by the component (code 5)
    reply,    // the component's reply to a parent command
    debug,    // the component's debug output
    host,     // what the host did
    note,     // something odd that is not a protocol break
    problem,  // a protocol break or a command the host cannot carry out
    output,   // a line the facility's process wrote outside the log (the live page)
};

struct traffic_kind_entry {
    traffic_kind kind;
    const char* name;       // "handback"
    const char* label;      // "back": at most 7 characters, the printed log's column
    const char* terminal;   // an escape sequence, or null for plain
    const char* colour;     // the page's text colour (CSS), or ""
    const char* background; // the page's row background (CSS), or ""
};

// The table, in the order of the enum.
const traffic_kind_entry* traffic_kinds();
size_t traffic_kind_count();
const traffic_kind_entry& traffic_kind_of(traffic_kind kind);

#endif
