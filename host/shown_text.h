// A user's or a component's text as a tool prints it. Control bytes (below
// 0x20, and 0x7F) never reach a terminal, a log file or a report raw: each is
// written as \xNN, so that an ESC, a BEL, a CR or a NUL is seen for what it
// is and cannot retitle the terminal or overwrite a line.
#ifndef VREL_HOST_SHOWN_TEXT_H
#define VREL_HOST_SHOWN_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

// `text` with its control bytes escaped as \xNN; the bytes of `keep` (a log
// keeps its line ends, "\n") stay as they are.
std::string escape_controls(std::string_view text, std::string_view keep = {});

// The text as a message quotes it: escaped, cut after `limit` bytes (never
// inside a UTF-8 sequence) and marked "..." then.
std::string shown_text(std::string_view text, size_t limit = 40);

#endif
