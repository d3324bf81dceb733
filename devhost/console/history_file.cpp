#include "history_file.h"

#include "text_file.h"

#include <filesystem>
#include <fstream>
#include <utility>

namespace fs = std::filesystem;

history_file::history_file(std::string path, size_t limit)
    : path_(std::move(path)), limit_(limit) {}

std::string history_file::defaultPath(const char* stateHome, const char* home) {
    if (stateHome != nullptr && fs::path(stateHome).is_absolute()) {
        return (fs::path(stateHome) / "vrel-devhost" / "history").generic_string();
    }
    if (home != nullptr && *home != '\0') {
        return (fs::path(home) / ".vrel_devhost_history").generic_string();
    }
    return std::string();
}

bool history_file::keeps(const std::string& line) {
    if (line.size() > longestLine || line.find_first_not_of(" \t") == std::string::npos) {
        return false;
    }
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7f) {
            return false;
        }
    }
    return true;
}

namespace {

// The lines of the file worth keeping, at most `limit` (the latest). False
// with `why` when the file is there but cannot be used.
bool readLines(const std::string& path, size_t limit, std::vector<std::string>& lines,
               std::string& why) {
    std::error_code error;
    if (path.empty() || !fs::exists(path, error)) {
        return true;
    }
    std::string text;
    // The file never holds more than `limit` lines of `longestLine` bytes.
    if (!read_text_file(path, text, why, (limit + 1) * (history_file::longestLine + 1))) {
        return false;
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (history_file::keeps(line)) {
            lines.push_back(std::move(line));
        }
        start = end + 1;
    }
    if (lines.size() > limit) {
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(limit));
    }
    return true;
}

} // namespace

std::vector<std::string> history_file::load(std::string& problem) const {
    std::vector<std::string> lines;
    std::string why;
    problem.clear();
    if (!readLines(path_, limit_, lines, why)) {
        problem = "history not read: " + why;
        lines.clear();
    }
    return lines;
}

bool history_file::save(const std::vector<std::string>& lines, std::string& problem) const {
    problem.clear();
    if (path_.empty()) {
        return true;
    }
    std::error_code error;
    const fs::file_status status = fs::status(path_, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        problem = "history not saved: '" + path_ + "' is not a regular file";
        return false;
    }
    std::vector<std::string> all;
    std::string why;
    if (!readLines(path_, limit_, all, why)) {
        problem = "history not saved: " + why;
        return false;
    }
    for (const std::string& line : lines) {
        if (keeps(line)) {
            all.push_back(line);
        }
    }
    if (all.size() > limit_) {
        all.erase(all.begin(), all.end() - static_cast<std::ptrdiff_t>(limit_));
    }
    const fs::path folder = fs::path(path_).parent_path();
    if (!folder.empty()) {
        fs::create_directories(folder, error);
    }
    // Whatever is in the way of the new file goes first: a FIFO there
    // would block the writer.
    const std::string temporary = path_ + ".new";
    fs::remove(temporary, error);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const std::string& line : all) {
            out << line << '\n';
        }
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            problem = "history not saved: cannot write '" + temporary + "'";
            return false;
        }
    }
    fs::rename(temporary, path_, error);
    if (error) {
        fs::remove(temporary, error);
        problem = "history not saved: cannot replace '" + path_ + "'";
        return false;
    }
    return true;
}
