#include "text_file.h"

#include <cerrno>
#include <cstring>

#if defined(_WIN32)
#include <filesystem>
#include <fstream>
#include <sstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

std::string sizeText(size_t bytes) {
    if (bytes >= (size_t{1} << 20) && bytes % (size_t{1} << 20) == 0) {
        return std::to_string(bytes >> 20) + " MiB";
    }
    return std::to_string(bytes) + " bytes";
}

} // namespace

#if defined(_WIN32)

bool read_text_file(const std::string& path, std::string& content, std::string& error,
                    size_t limit) {
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::status(path, failure);
    if (!std::filesystem::exists(status)) {
        error = quoted(path) + ": no such file";
        return false;
    }
    if (std::filesystem::is_directory(status)) {
        error = quoted(path) + ": a folder, not a file";
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = quoted(path) + ": not a regular file";
        return false;
    }
    const auto size = std::filesystem::file_size(path, failure);
    if (!failure && size > limit) {
        error = quoted(path) + ": larger than " + sizeText(limit);
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = quoted(path) + ": cannot be read";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    content = text.str();
    if (content.size() > limit) {
        error = quoted(path) + ": larger than " + sizeText(limit);
        return false;
    }
    return true;
}

std::string regular_file_problem(const std::string& path) {
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::status(path, failure);
    if (!std::filesystem::exists(status)) {
        return quoted(path) + ": no such file";
    }
    if (std::filesystem::is_directory(status)) {
        return quoted(path) + ": a folder, not a file";
    }
    if (!std::filesystem::is_regular_file(status)) {
        return quoted(path) + ": not a regular file";
    }
    return std::string();
}

#else

namespace {

const char* kindOf(mode_t mode) {
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISCHR(mode)) {
        return "a character device";
    }
    if (S_ISBLK(mode)) {
        return "a block device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "not a plain file";
}

class descriptor {
public:
    explicit descriptor(int fd) : fd_(fd) {}
    descriptor(const descriptor&) = delete;
    descriptor& operator=(const descriptor&) = delete;
    ~descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

bool read_text_file(const std::string& path, std::string& content, std::string& error,
                    size_t limit) {
    // Without blocking: opening a FIFO for reading would otherwise wait for a
    // writer. The type is then decided on what was opened, not on the name.
    const descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        const int reason = errno;
        if (reason == ENOENT || reason == ENOTDIR) {
            error = quoted(path) + ": no such file";
        } else {
            error = quoted(path) + ": cannot be read (" + std::strerror(reason) + ")";
        }
        return false;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        error = quoted(path) + ": cannot be read (" + std::strerror(errno) + ")";
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = quoted(path) + ": a folder, not a file";
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = quoted(path) + ": not a regular file (" + kindOf(info.st_mode) + ")";
        return false;
    }
    if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > limit) {
        error = quoted(path) + ": larger than " + sizeText(limit);
        return false;
    }
    content.clear();
    content.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = quoted(path) + ": cannot be read (" + std::strerror(errno) + ")";
            return false;
        }
        if (got == 0) {
            return true;
        }
        // A file that grows while it is read is still held to the limit.
        if (content.size() + static_cast<size_t>(got) > limit) {
            error = quoted(path) + ": larger than " + sizeText(limit);
            return false;
        }
        content.append(buffer, static_cast<size_t>(got));
    }
}

std::string regular_file_problem(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int reason = errno;
        if (reason == ENOENT || reason == ENOTDIR) {
            return quoted(path) + ": no such file";
        }
        return quoted(path) + ": cannot be read (" + std::strerror(reason) + ")";
    }
    if (S_ISDIR(info.st_mode)) {
        return quoted(path) + ": a folder, not a file";
    }
    if (!S_ISREG(info.st_mode)) {
        return quoted(path) + ": not a regular file (" + kindOf(info.st_mode) + ")";
    }
    return std::string();
}

#endif
