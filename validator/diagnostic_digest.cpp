#include "diagnostic_digest.h"

#include <cstdio>

namespace {

std::string counted(const std::string& line, long long count) {
    return count > 1 ? line + "  (" + std::to_string(count) + " times)" : line;
}

} // namespace

std::string shortened(const std::string& line, size_t width, size_t length) {
    if (length <= width && line.size() <= width) {
        return line;
    }
    size_t cut = line.rfind(' ', width);
    if (cut == std::string::npos || cut < width / 2) {
        cut = width < line.size() ? width : line.size();
    }
    std::string shown = line.substr(0, cut);
    while (!shown.empty() && shown.back() == ' ') {
        shown.pop_back();
    }
    const size_t rest = (length > cut ? length : line.size()) - cut;
    return shown + " ... (" + std::to_string(rest) + " more characters)";
}

diagnostic_digest::diagnostic_digest(size_t distinctKept, size_t tailKept)
    : distinctKept_(distinctKept), tailKept_(tailKept) {}

void diagnostic_digest::take(const char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n') {
            endLine();
            continue;
        }
        if (c == '\r') {
            continue;
        }
        // Up to a little past the width, so that a cut can find its space.
        if (line_.size() <= width + 8) {
            if (c == '\t') {
                line_ += ' ';
            } else if (c < 0x20 || c == 0x7f) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
                line_ += escaped;
            } else {
                line_ += static_cast<char>(c);
            }
        }
        ++lineBytes_;
    }
}

void diagnostic_digest::finish() {
    if (lineBytes_ > 0) {
        endLine();
    }
}

void diagnostic_digest::endLine() {
    const std::string line = shortened(line_, width, lineBytes_);
    line_.clear();
    lineBytes_ = 0;
    ++lines_;

    const auto known = distinctIndex_.find(line);
    if (known != distinctIndex_.end()) {
        ++distinct_[known->second].second;
    } else if (distinct_.size() < distinctKept_) {
        distinctIndex_.emplace(line, distinct_.size());
        distinct_.emplace_back(line, 1);
    } else {
        ++otherLines_;
    }

    if (!tail_.empty() && tail_.back().first == line) {
        ++tail_.back().second;
        return;
    }
    tail_.emplace_back(line, 1);
    if (tail_.size() > tailKept_) {
        leftOut_ += tail_.front().second;
        tail_.pop_front();
    }
}

std::vector<std::string> diagnostic_digest::folded() const {
    std::vector<std::string> shown;
    for (const auto& line : distinct_) {
        shown.push_back(counted(line.first, line.second));
    }
    if (otherLines_ > 0) {
        shown.push_back("(" + std::to_string(otherLines_) + " more lines of other kinds)");
    }
    return shown;
}

std::vector<std::string> diagnostic_digest::tail() const {
    std::vector<std::string> shown;
    if (leftOut_ > 0) {
        shown.push_back("(" + std::to_string(leftOut_) + " earlier lines left out)");
    }
    for (const auto& line : tail_) {
        shown.push_back(counted(line.first, line.second));
    }
    return shown;
}
