#include "output_file.h"

#if defined(_WIN32)

output_file_probe::~output_file_probe() = default;

std::string output_file_probe::check(const std::string&) {
    return std::string();
}

#else

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

output_file_probe::~output_file_probe() {
    if (held_ >= 0) {
        ::close(held_);
    }
}

std::string output_file_probe::check(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISFIFO(info.st_mode)) {
        return std::string();
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return "'" + path + "': " +
               (errno == ENXIO ? std::string("a FIFO that no one reads")
                               : std::string("cannot be written (") + std::strerror(errno) + ")");
    }
    if (held_ >= 0) {
        ::close(held_);
    }
    held_ = fd;
    return std::string();
}

#endif
