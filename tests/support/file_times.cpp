#include "file_times.h"

#include <sys/stat.h>

#if defined(_WIN32)

#include <sys/utime.h>

bool modificationTime(const std::string& path, file_time& time) {
    struct _stat64 info {};
    if (::_stat64(path.c_str(), &info) != 0) {
        return false;
    }
    time.seconds = info.st_mtime;
    time.nanoseconds = 0;
    return true;
}

bool setModificationTime(const std::string& path, const file_time& time) {
    struct __utimbuf64 times {};
    times.actime = time.seconds;
    times.modtime = time.seconds;
    return ::_utime64(path.c_str(), &times) == 0;
}

#else

#include <fcntl.h>
#include <time.h>

bool modificationTime(const std::string& path, file_time& time) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return false;
    }
    time.seconds = info.st_mtim.tv_sec;
    time.nanoseconds = info.st_mtim.tv_nsec;
    return true;
}

bool setModificationTime(const std::string& path, const file_time& time) {
    struct timespec times[2]{};
    times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(time.seconds);
    times[0].tv_nsec = times[1].tv_nsec = static_cast<long>(time.nanoseconds);
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

#endif
