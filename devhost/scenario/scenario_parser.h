// Reading scenario lines into statements. The language is described in
// docs/scenarios.md.
#ifndef VREL_DEVHOST_SCENARIO_PARSER_H
#define VREL_DEVHOST_SCENARIO_PARSER_H

#include "closest_word.h"
#include "scenario_statement.h"

#include <string>
#include <vector>

enum class line_result { statement, blank, error };

// Reads one line. A blank line or a comment (first non-blank character "#")
// gives `blank`. On `error`, `error` says what is wrong (without file and
// line). `interactive` allows help, save and quit.
line_result parse_scenario_line(const std::string& file, int line, const std::string& text,
                                bool interactive, statement& out, std::string& error);

// A whole scenario file is read by scenario_source (scenario_source.h).

// The statement a mistyped or unknown word most likely meant ("wait" gives
// "advance", "presss" gives "press"), or the empty text.
std::string closest_statement(const std::string& word);
// Every statement word, in alphabetical order.
std::vector<std::string> statement_names();

// Reads "5000", "5000ms" or "5s" as milliseconds.
bool read_duration(const std::string& text, int64_t& ms);

// The words that begin a statement, in order; `interactive` adds help, save,
// quit and exit. For the console's completion.
std::vector<std::string> scenario_statement_names(bool interactive);

#endif
