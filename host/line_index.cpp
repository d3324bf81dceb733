#include "line_index.h"

#include <algorithm>

line_index::line_index(const std::string& text) : size_(text.size()) {
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        lineEnds_.push_back(at);
    }
}

int line_index::lineAt(std::ptrdiff_t offset) const {
    const size_t clamped = offset < 0 ? 0 : std::min(static_cast<size_t>(offset), size_);
    // Every line feed before the offset ends one earlier line.
    const auto before = std::lower_bound(lineEnds_.begin(), lineEnds_.end(), clamped);
    return 1 + static_cast<int>(before - lineEnds_.begin());
}
