#include "settings_cache.h"

#include "debug_sink.h"
#include "document_cost.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <utility>

namespace {

struct cache_entry {
    file_stamp stamp;
    // False when the file was read within the file clock's granularity of its
    // last change: a rewrite right after could leave the stamp as it was.
    bool settled;
    std::shared_ptr<const settings_file> file; // null: the version was malformed
};

// The last diagnostic written for a path, and for which version.
struct report_entry {
    file_stamp stamp;
    std::string line;
};

// Coarser than any file clock in use (FAT keeps modification times in steps
// of two seconds).
constexpr long long clockGranularityNanoseconds = 2000000000LL;

// How often a file that changes while it is read is opened again.
constexpr int readAttempts = 3;

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

// The cache and the diagnostics written, shared by every thread. The lock is
// held only to look up and store: never while a file is opened, read or
// parsed, nor while a diagnostic is written.
class settings_cache {
public:
    // The cached version of `path` and its stamp, if it has settled.
    bool settledVersion(const std::string& path, file_stamp& stamp,
                        std::shared_ptr<const settings_file>& file) {
        std::lock_guard<std::mutex> lock(guard_);
        const auto found = files_.find(path);
        if (found == files_.end() || !found->second.settled) {
            return false;
        }
        stamp = found->second.stamp;
        file = found->second.file;
        return true;
    }

    // The cached version with this stamp, if it has settled.
    bool settledVersion(const std::string& path, const file_stamp& stamp,
                        std::shared_ptr<const settings_file>& file) {
        std::lock_guard<std::mutex> lock(guard_);
        const auto found = files_.find(path);
        if (found == files_.end() || !(found->second.stamp == stamp) || !found->second.settled) {
            return false;
        }
        file = found->second.file;
        return true;
    }

    void store(const std::string& path, cache_entry entry) {
        std::lock_guard<std::mutex> lock(guard_);
        files_[path] = std::move(entry);
    }

    // Writes `line` unless it was the last line written for this version of
    // the file at `path`.
    void report(const std::string& path, const file_stamp& stamp, const std::string& line) {
        {
            std::lock_guard<std::mutex> lock(guard_);
            report_entry& last = reports_[path];
            if (last.stamp == stamp && last.line == line) {
                return;
            }
            last = report_entry{stamp, line};
            reported_ = true;
        }
        vrel_debug_sink(line.c_str());
    }

    // The file at `path` is gone or read well: a fault it shows again later
    // is reported again, even on a version reported before.
    void forgetReports(const std::string& path) {
        if (!reported_) {
            return; // nothing was ever reported
        }
        std::lock_guard<std::mutex> lock(guard_);
        reports_.erase(path);
    }

private:
    std::mutex guard_;
    std::unordered_map<std::string, cache_entry> files_;
    std::unordered_map<std::string, report_entry> reports_;
    std::atomic<bool> reported_{false};
};

settings_cache& cache() {
    static settings_cache shared;
    return shared;
}

std::string diagnostic(const std::string& path, const std::string& problem) {
    return "vrel_config: " + path + " " + problem + "; its settings are ignored\n";
}

// Parses the bytes in place; on failure `problem` says why. A file whose
// document would cost too much is not parsed at all.
std::shared_ptr<settings_file> parse(file_bytes bytes, std::string& problem) {
    const unsigned long long cost = document_cost(bytes.data.get(), bytes.size);
    if (cost / document_cost_factor > bytes.size) {
        problem = "holds too many elements and attributes for its size (about " +
                  std::to_string(cost) + " bytes once parsed; at most " +
                  std::to_string(document_cost_factor) + " times its " +
                  std::to_string(bytes.size) + " bytes)";
        return nullptr;
    }
    auto file = std::make_shared<settings_file>();
    file->bytes = std::move(bytes);
    const pugi::xml_parse_result result =
        file->document.load_buffer_inplace(file->bytes.data.get(), file->bytes.size);
    if (!result) {
        problem = std::string("is not well-formed XML (") + result.description() + " at offset " +
                  std::to_string(result.offset) + ")";
        return nullptr;
    }
    for (pugi::xml_node section : file->document.child("settings").children("section")) {
        file->sections.emplace(section.attribute("id").value(), section);
    }
    return file;
}

} // namespace

std::shared_ptr<const settings_file> load_settings_file(const std::string& path) {
    settings_cache& files = cache();
    {
        // One look at the path settles the common cases without opening
        // anything: no file, or a settled version read before.
        file_stamp stamp;
        std::shared_ptr<const settings_file> file;
        const bool settled = files.settledVersion(path, stamp, file);
        switch (look_at(path, settled ? &stamp : nullptr)) {
        case path_look::missing:
            files.forgetReports(path);
            return nullptr;
        case path_look::same:
            return file;
        case path_look::other:
            break;
        }
    }
    for (int attempt = 1;; ++attempt) {
        const long long readStart = nowNanoseconds();
        settings_source source(path);
        if (source.status() == settings_source::state::missing) {
            files.forgetReports(path);
            return nullptr;
        }
        if (source.status() == settings_source::state::refused) {
            // Permissions can change without a new stamp: such a file is
            // tried again on every lookup, but reported once per version.
            files.report(path, source.stamp(), diagnostic(path, source.problem()));
            return nullptr;
        }
        std::shared_ptr<const settings_file> file;
        if (files.settledVersion(path, source.stamp(), file)) {
            return file;
        }

        file_bytes bytes;
        const settings_source::outcome outcome = source.read(bytes);
        if (outcome == settings_source::outcome::changed) {
            if (attempt < readAttempts) {
                continue;
            }
            files.report(path, source.stamp(), diagnostic(path, "kept changing while it was read"));
            return nullptr;
        }
        if (outcome == settings_source::outcome::failed) {
            files.report(path, source.stamp(), diagnostic(path, source.problem()));
            return nullptr;
        }

        // A malformed version is kept too, so that it is neither parsed nor
        // reported again once it has settled.
        std::string problem;
        std::shared_ptr<settings_file> parsed = parse(std::move(bytes), problem);
        if (parsed) {
            files.forgetReports(path);
        } else {
            files.report(path, source.stamp(), diagnostic(path, problem));
        }
        files.store(path,
                    cache_entry{source.stamp(), settledAt(source.stamp(), readStart), parsed});
        return parsed;
    }
}
