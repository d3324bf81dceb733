// Line numbers of byte offsets in a text, for messages about files whose
// parser reports offsets: the line starts are found once, each lookup is a
// binary search.
#ifndef VREL_HOST_LINE_INDEX_H
#define VREL_HOST_LINE_INDEX_H

#include <cstddef>
#include <string>
#include <vector>

class line_index {
public:
    explicit line_index(const std::string& text);

    // The 1-based line that holds byte `offset` (clamped to the text).
    int lineAt(std::ptrdiff_t offset) const;

private:
    std::vector<size_t> lineEnds_; // offsets of the line feeds
    size_t size_;
};

#endif
