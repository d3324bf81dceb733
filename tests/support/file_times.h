// A file's modification time, read and set to the precision the platform's
// stat reports (nanoseconds on Linux, seconds on Windows).
#ifndef VREL_TESTS_FILE_TIMES_H
#define VREL_TESTS_FILE_TIMES_H

#include <string>

struct file_time {
    long long seconds = 0;
    long long nanoseconds = 0;
};

bool modificationTime(const std::string& path, file_time& time);

// Sets the access and modification times of `path` to `time`.
bool setModificationTime(const std::string& path, const file_time& time);

#endif
