#include "settings_cache.h"

#include "debug_sink.h"

#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <mutex>

namespace {

// What tells one version of a file from another without reading it.
struct file_stamp {
    long long size = -1;
    long long seconds = 0;
    long long nanoseconds = 0;
    unsigned long long inode = 0;

    bool operator==(const file_stamp& other) const {
        return size == other.size && seconds == other.seconds && nanoseconds == other.nanoseconds &&
               inode == other.inode;
    }
};

struct cache_entry {
    file_stamp stamp;
    // False when the file was read within the file clock's granularity of its
    // last change: a rewrite right after could leave the stamp as it was.
    bool settled;
    std::shared_ptr<const settings_file> file; // null: the version was malformed
};

// Coarser than any file clock in use (FAT keeps modification times in steps
// of two seconds).
constexpr long long clockGranularityNanoseconds = 2000000000LL;

long long nanosecondsOf(long long seconds, long long nanoseconds) {
    return seconds * 1000000000LL + nanoseconds;
}

// Nanoseconds since the epoch, in 64 bits on every platform.
long long nowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool settledAt(const file_stamp& stamp, long long readStart) {
    // A file time far from the read time is decided by its seconds alone,
    // which keeps the sum below in range for any time a file can carry.
    const long long readSeconds = readStart / 1000000000LL;
    if (stamp.seconds < readSeconds - 3) {
        return true;
    }
    if (stamp.seconds > readSeconds) {
        return false;
    }
    return nanosecondsOf(stamp.seconds, stamp.nanoseconds) + clockGranularityNanoseconds <=
           readStart;
}

bool stampOf(const std::string& path, file_stamp& stamp) {
#if defined(_WIN32)
    // The 64-bit form: the C runtime's plain stat keeps times in 32 bits.
    struct _stat64 info {};
    const int result = ::_stat64(path.c_str(), &info);
#else
    struct stat info {};
    const int result = ::stat(path.c_str(), &info);
#endif
    if (result != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    stamp.size = static_cast<long long>(info.st_size);
    stamp.seconds = static_cast<long long>(info.st_mtime);
#if defined(__linux__)
    stamp.nanoseconds = static_cast<long long>(info.st_mtim.tv_nsec);
#endif
    stamp.inode = static_cast<unsigned long long>(info.st_ino);
    return true;
}

// `readable` is false when the file could not be opened or read at all.
std::shared_ptr<const settings_file> parse(const std::string& path, bool reportMalformed,
                                           bool& readable) {
    readable = true;
    auto file = std::make_shared<settings_file>();
    const pugi::xml_parse_result result = file->document.load_file(path.c_str());
    if (!result) {
        if (result.status == pugi::status_file_not_found ||
            result.status == pugi::status_io_error) {
            readable = false;
            return nullptr;
        }
        if (!reportMalformed) {
            return nullptr;
        }
        const std::string line = "vrel_config: " + path + " is not well-formed XML (" +
                                 result.description() + " at offset " +
                                 std::to_string(result.offset) + "); its settings are ignored\n";
        vrel_debug_sink(line.c_str());
        return nullptr;
    }
    for (pugi::xml_node section : file->document.child("settings").children("section")) {
        file->sections.emplace(section.attribute("id").value(), section);
    }
    return file;
}

} // namespace

std::shared_ptr<const settings_file> load_settings_file(const std::string& path) {
    static std::mutex guard;
    static std::unordered_map<std::string, cache_entry> cache;

    const long long readStart = nowNanoseconds();
    file_stamp stamp;
    if (!stampOf(path, stamp)) {
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(guard);
    auto found = cache.find(path);
    const bool sameStamp = found != cache.end() && found->second.stamp == stamp;
    if (sameStamp && found->second.settled) {
        return found->second.file;
    }
    // A version read too soon after its change is read again; if it is still
    // malformed, it has already been reported.
    const bool reported = sameStamp && !found->second.file;
    bool readable = true;
    cache_entry entry{stamp, settledAt(stamp, readStart), parse(path, !reported, readable)};
    std::shared_ptr<const settings_file> file = entry.file;
    if (!readable) {
        // Permissions can change without a new stamp: try again next time.
        cache.erase(path);
        return nullptr;
    }
    cache[path] = std::move(entry);
    return file;
}
