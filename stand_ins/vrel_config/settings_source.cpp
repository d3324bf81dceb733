#include "settings_source.h"

#include <new>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::string tooLarge(long long size, long long limit) {
    return "is too large (" + std::to_string(size) + " bytes; at most " + std::to_string(limit) +
           " are read)";
}

// Room for the file's bytes and the one more that tells it grew.
std::unique_ptr<char[]> bufferFor(size_t size) {
    return std::unique_ptr<char[]>(new (std::nothrow) char[size + 1]);
}

#if defined(_WIN32)

std::string windowsError(const char* what, DWORD error) {
    return std::string(what) + " (Windows error " + std::to_string(error) + ")";
}

// FILETIME counts 100 ns steps since 1601 in 64 bits; so do these seconds,
// from 1970, so that a file dated after 2038 is still told apart.
void setTime(file_stamp& stamp, const FILETIME& time) {
    const unsigned long long ticks =
        (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    stamp.seconds = static_cast<long long>(ticks / 10000000ULL) - 11644473600LL;
    stamp.nanoseconds = static_cast<long long>(ticks % 10000000ULL) * 100;
}

// The stamp of an opened file; false when it cannot be examined.
bool stampOf(HANDLE handle, file_stamp& stamp, bool& directory) {
    BY_HANDLE_FILE_INFORMATION info;
    LARGE_INTEGER size;
    if (!::GetFileInformationByHandle(handle, &info) || !::GetFileSizeEx(handle, &size)) {
        return false;
    }
    directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    stamp.size = static_cast<long long>(size.QuadPart);
    setTime(stamp, info.ftLastWriteTime);
    stamp.inode = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

#else

std::string systemError(const char* what, int error) {
    return std::string(what) + " (" + std::strerror(error) + ")";
}

file_stamp stampOf(const struct stat& info) {
    file_stamp stamp;
    stamp.size = static_cast<long long>(info.st_size);
    stamp.seconds = static_cast<long long>(info.st_mtime);
#if defined(__linux__)
    stamp.nanoseconds = static_cast<long long>(info.st_mtim.tv_nsec);
#endif
    stamp.inode = static_cast<unsigned long long>(info.st_ino);
    return stamp;
}

std::string notRegular(mode_t mode) {
    const char* kind = S_ISDIR(mode)    ? "a directory"
                       : S_ISFIFO(mode) ? "a FIFO"
                       : S_ISCHR(mode)  ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISSOCK(mode) ? "a socket"
                                        : nullptr;
    return kind != nullptr ? std::string("is ") + kind + ", not a regular file"
                           : std::string("is not a regular file");
}

#endif

} // namespace

#if defined(_WIN32)

path_look look_at(const std::string& path, const file_stamp* stamp) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? path_look::missing
                                                                              : path_look::other;
    }
    if (stamp == nullptr ||
        (attributes.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return path_look::other;
    }
    file_stamp shown;
    shown.size =
        static_cast<long long>((static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) |
                               attributes.nFileSizeLow);
    setTime(shown, attributes.ftLastWriteTime);
    return shown.size == stamp->size && shown.seconds == stamp->seconds &&
                   shown.nanoseconds == stamp->nanoseconds
               ? path_look::same
               : path_look::other;
}

settings_source::settings_source(const std::string& path, long long limit)
    : handle_(INVALID_HANDLE_VALUE) {
    // OPEN_EXISTING never creates or waits; the sharing flags let a
    // deployment replace or delete the file while it is read.
    HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            status_ = state::missing;
            return;
        }
        status_ = state::refused;
        problem_ = windowsError("cannot be opened", error);
        // A folder cannot be opened as a file at all; its attributes tell it
        // apart, and tell one version from the next.
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) {
            stamp_.size = static_cast<long long>(
                (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) |
                attributes.nFileSizeLow);
            setTime(stamp_, attributes.ftLastWriteTime);
            if ((attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                problem_ = "is a directory, not a regular file";
            }
        }
        return;
    }
    handle_ = handle;
    status_ = state::refused;
    const DWORD type = ::GetFileType(handle);
    bool directory = false;
    if (type != FILE_TYPE_DISK) {
        problem_ = type == FILE_TYPE_PIPE   ? "is a pipe, not a regular file"
                   : type == FILE_TYPE_CHAR ? "is a character device, not a regular file"
                                            : "is not a regular file";
    } else if (!stampOf(handle, stamp_, directory)) {
        problem_ = windowsError("cannot be examined", ::GetLastError());
    } else if (directory) {
        problem_ = "is a directory, not a regular file";
    } else if (stamp_.size > limit) {
        problem_ = tooLarge(stamp_.size, limit);
    } else {
        status_ = state::opened;
        return;
    }
    ::CloseHandle(handle);
    handle_ = INVALID_HANDLE_VALUE;
}

settings_source::~settings_source() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle_);
    }
}

settings_source::outcome settings_source::read(file_bytes& bytes) {
    bytes = file_bytes();
    if (status_ != state::opened) {
        return outcome::failed; // problem() says why
    }
    const size_t expected = static_cast<size_t>(stamp_.size);
    std::unique_ptr<char[]> data = bufferFor(expected);
    if (!data) {
        problem_ = "could not be read (no memory for it)";
        return outcome::failed;
    }
    size_t have = 0;
    while (have <= expected) {
        const size_t wanted = expected + 1 - have;
        const DWORD chunk = wanted > 0x40000000u ? 0x40000000u : static_cast<DWORD>(wanted);
        DWORD got = 0;
        if (!::ReadFile(handle_, data.get() + have, chunk, &got, nullptr)) {
            problem_ = windowsError("could not be read", ::GetLastError());
            return outcome::failed;
        }
        if (got == 0) {
            break;
        }
        have += got;
    }
    file_stamp after;
    bool directory = false;
    if (have != expected || !stampOf(handle_, after, directory) || after != stamp_) {
        return outcome::changed;
    }
    bytes.data = std::move(data);
    bytes.size = have;
    return outcome::read;
}

#else

path_look look_at(const std::string& path, const file_stamp* stamp) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? path_look::missing : path_look::other;
    }
    return stamp != nullptr && S_ISREG(info.st_mode) && stampOf(info) == *stamp ? path_look::same
                                                                                : path_look::other;
}

settings_source::settings_source(const std::string& path, long long limit) {
    // Non-blocking, so that a FIFO or a device put at the path is opened (or
    // refused) at once instead of waiting for a writer or a carrier.
    do {
        descriptor_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (descriptor_ < 0 && errno == EINTR);
    if (descriptor_ < 0) {
        const int error = errno;
        if (error == ENOENT) {
            status_ = state::missing;
            return;
        }
        status_ = state::refused;
        problem_ = systemError("cannot be opened", error);
        // Only tells this version from the next; nothing is decided by it.
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) {
            stamp_ = stampOf(info);
        }
        return;
    }
    status_ = state::refused;
    struct stat info {};
    const bool examined = ::fstat(descriptor_, &info) == 0;
    if (examined) {
        stamp_ = stampOf(info);
    }
    if (!examined) {
        problem_ = systemError("cannot be examined", errno);
    } else if (!S_ISREG(info.st_mode)) {
        problem_ = notRegular(info.st_mode);
    } else if (stamp_.size > limit) {
        problem_ = tooLarge(stamp_.size, limit);
    } else {
        status_ = state::opened;
        return;
    }
    ::close(descriptor_);
    descriptor_ = -1;
}

settings_source::~settings_source() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

settings_source::outcome settings_source::read(file_bytes& bytes) {
    bytes = file_bytes();
    if (status_ != state::opened) {
        return outcome::failed; // problem() says why
    }
    const size_t expected = static_cast<size_t>(stamp_.size);
    std::unique_ptr<char[]> data = bufferFor(expected);
    if (!data) {
        problem_ = "could not be read (no memory for it)";
        return outcome::failed;
    }
    // Each pass either adds bytes or ends: at most the expected size and one
    // byte more are read.
    size_t have = 0;
    while (have <= expected) {
        const ssize_t got = ::read(descriptor_, data.get() + have, expected + 1 - have);
        if (got > 0) {
            have += static_cast<size_t>(got);
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            problem_ = systemError("could not be read", errno);
            return outcome::failed;
        }
    }
    // A rewrite in place can keep the size; it does not keep the time.
    struct stat info {};
    if (have != expected || ::fstat(descriptor_, &info) != 0 || stampOf(info) != stamp_) {
        return outcome::changed;
    }
    bytes.data = std::move(data);
    bytes.size = have;
    return outcome::read;
}

#endif
