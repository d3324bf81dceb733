// Line numbers for messages about XML files: pugixml reports byte offsets.
#ifndef VREL_HOST_XML_LINES_H
#define VREL_HOST_XML_LINES_H

#include <cstddef>
#include <string>

// The 1-based line of `content` that holds byte `offset` (clamped to the text).
int line_at_offset(const std::string& content, std::ptrdiff_t offset);

// Reads a whole file; false when it cannot be opened.
bool read_whole_file(const std::string& path, std::string& content);

#endif
