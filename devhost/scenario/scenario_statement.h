// One line of a scenario, read and checked, ready to run.
#ifndef VREL_DEVHOST_SCENARIO_STATEMENT_H
#define VREL_DEVHOST_SCENARIO_STATEMENT_H

#include "status_faults.h"

#include <cstdint>
#include <string>
#include <vector>

enum class statement_kind {
    // Set-up.
    settings, // words: folder
    router,   // numbers: device, then (first, last, source) per crosspoint group
    load,     // words: library[, component path]; flag: a component path was given
    unload,
    // Actions: each one opens a new window of traffic for the expectations.
    press,   // words: panel, control
    parent,  // text: the command text
    status,  // numbers: device, destination, source
    route,   // numbers: device, destination, source; flag: silently
    advance, // numbers: ms
    fault,   // fault, numbers: device[, delay ms]; flag: release held status
    replies, // words: "hold" or "release"; flag: hold
    // Expectations.
    expect_sent,         // text; flag: a pattern ("like") rather than the exact text
    expect_nothing_sent, //
    expect_property,     // words: panel, control, property; text: value
    expect_crosspoint,   // numbers: device, destination, source
    expect_info,         // numbers: device, index; text
    expect_reply,        // text
    expect_no_reply,     //
    expect_debug,        // text; flag: a piece of the output ("contains")
    expect_no_debug,     //
    expect_timer,        // numbers: id[, due ms]; words: "running", "stopped" or "due"
    expect_flagged,      // text: a piece of the flagged message
    // Output.
    say,  // text
    show, // words: what[, which]
    // Interactive use only.
    help,
    save, // words: file
    quit,
};

struct statement {
    statement_kind kind = statement_kind::say;
    std::string file;   // as given by the user, for messages
    int line = 0;       // 1-based
    std::string source; // the line as written, without its line end
    std::vector<std::string> words;
    std::vector<int64_t> numbers;
    std::string text;
    bool flag = false;
    // Something odd but readable about the line, for the reader (a text that
    // ends in blanks); empty when there is nothing to say.
    std::string warning;
    status_fault fault = status_fault::none;

    // "file:line"
    std::string where() const { return file + ":" + std::to_string(line); }
    bool isAction() const;
    bool isExpectation() const;
};

#endif
