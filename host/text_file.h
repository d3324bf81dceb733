// Reading a file a user names (a settings file, a panel file, a scenario)
// without surprises: only a regular file is read, it is opened without
// blocking (a FIFO or a device in its place cannot hang the reader), and a
// file over the limit is refused rather than read into memory.
#ifndef VREL_HOST_TEXT_FILE_H
#define VREL_HOST_TEXT_FILE_H

#include <cstddef>
#include <string>

// Files larger than this are refused unless the caller says otherwise.
constexpr size_t default_text_file_limit = size_t{64} << 20;

// Reads the whole of `path` into `content`. False with `error` saying what is
// wrong, naming the path: "'p': no such file", "'p': not a regular file (a
// FIFO)", "'p': a folder, not a file", "'p': cannot be read (Permission
// denied)", "'p': larger than 64 MiB".
bool read_text_file(const std::string& path, std::string& content, std::string& error,
                    size_t limit = default_text_file_limit);

// Whether `path` is a regular file, decided without opening it (so without
// blocking on a FIFO): the empty text when it is, otherwise the same message
// read_text_file gives ("'p': no such file", "'p': not a regular file (a
// FIFO)", "'p': a folder, not a file").
std::string regular_file_problem(const std::string& path);

#endif
