// Writing a whole text to a pipe or file descriptor (POSIX): the tools' child
// processes and their parents talk over pipes, where one write may take only
// part of a text, or be interrupted by a signal.
#ifndef VREL_HOST_WRITE_ALL_H
#define VREL_HOST_WRITE_ALL_H

#include <cstddef>
#include <string>

// Writes all `size` bytes at `data` to `descriptor`, going on after a write
// that took part of them or was interrupted by a signal. False when the
// descriptor takes no more: the reader is gone, or an error.
bool write_all(int descriptor, const char* data, size_t size);

inline bool write_all(int descriptor, const std::string& text) {
    return write_all(descriptor, text.data(), text.size());
}

#endif
