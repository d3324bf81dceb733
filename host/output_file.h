// A file a user names for a tool's output (a log, a report) is opened without
// ever waiting: a FIFO that no one reads is refused at once, where a plain
// open would wait for a reader for ever; a FIFO with a reader is written as a
// file is.
#ifndef VREL_HOST_OUTPUT_FILE_H
#define VREL_HOST_OUTPUT_FILE_H

#include <string>

class output_file_probe {
public:
    output_file_probe() = default;
    output_file_probe(const output_file_probe&) = delete;
    output_file_probe& operator=(const output_file_probe&) = delete;
    ~output_file_probe();

    // Empty when `path` may be opened for writing now without waiting;
    // otherwise what is wrong ("'p': a FIFO that no one reads"). For a FIFO
    // with a reader, a write end is held until the probe ends, so that the
    // caller's own open finds it ready and the reader sees no end between
    // the two.
    std::string check(const std::string& path);

private:
    int held_ = -1;
};

#endif
