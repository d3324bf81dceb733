// One settings file, opened without blocking and judged by what was opened,
// not by its path: whatever a deployment renames onto the path after the file
// is opened (another version, a FIFO, a device) does not change what is read.
#ifndef VREL_SETTINGS_SOURCE_H
#define VREL_SETTINGS_SOURCE_H

#include <cstddef>
#include <memory>
#include <string>

// What tells one version of a file from another without reading it.
struct file_stamp {
    long long size = -1;
    long long seconds = 0;
    long long nanoseconds = 0;
    unsigned long long inode = 0; // the file index on Windows

    bool operator==(const file_stamp& other) const {
        return size == other.size && seconds == other.seconds && nanoseconds == other.nanoseconds &&
               inode == other.inode;
    }
    bool operator!=(const file_stamp& other) const { return !(*this == other); }
};

// A larger settings file is refused rather than read.
constexpr long long settings_file_limit = 256LL << 20;

// The bytes of one version of a file, not NUL-terminated.
struct file_bytes {
    std::unique_ptr<char[]> data;
    size_t size = 0;
};

// What a path shows, looked at without opening anything, so that the look
// cannot block. A file is read only through a settings_source, whatever this
// answers.
enum class path_look {
    missing, // nothing is at the path
    same,    // a regular file with the given stamp: a version already read whole
    other,   // anything else
};
// `stamp` null: there is no version to compare with. (On Windows, where a path
// shows no file index, size and time decide.)
path_look look_at(const std::string& path, const file_stamp* stamp);

class settings_source {
public:
    enum class state {
        opened,  // a regular file within the limit, ready to be read
        missing, // there is no file at the path
        refused, // unreadable, not a regular file, or too large: see problem()
    };
    enum class outcome {
        read,    // the bytes are those of stamp()
        changed, // the file changed while it was read; open it again
        failed,  // a read failed: see problem()
    };

    // Opens `path` for reading without waiting for anything, and takes its
    // type and stamp from the opened file.
    explicit settings_source(const std::string& path, long long limit = settings_file_limit);
    settings_source(const settings_source&) = delete;
    settings_source& operator=(const settings_source&) = delete;
    ~settings_source();

    state status() const { return status_; }
    // The version opened. For a file that could not be opened, the stamp its
    // path shows (size -1 when none), which only tells versions apart.
    const file_stamp& stamp() const { return stamp_; }
    // What is wrong with a refused file or a failed read, in words that follow
    // its path: "is a FIFO, not a regular file".
    const std::string& problem() const { return problem_; }

    // Reads the whole of an opened file; at most its stamp's size plus one
    // byte is read, so a file that grows meanwhile is noticed, not followed.
    outcome read(file_bytes& bytes);

private:
#if defined(_WIN32)
    void* handle_; // a HANDLE; INVALID_HANDLE_VALUE when not open
#else
    int descriptor_ = -1;
#endif
    state status_ = state::missing;
    file_stamp stamp_;
    std::string problem_;
};

#endif
