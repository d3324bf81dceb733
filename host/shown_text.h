// A user's text as a message shows it: control bytes escaped as \xNN, cut
// after `limit` bytes (never inside a UTF-8 sequence) and marked "..." then.
#ifndef VREL_HOST_SHOWN_TEXT_H
#define VREL_HOST_SHOWN_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

std::string shown_text(std::string_view text, size_t limit = 40);

#endif
