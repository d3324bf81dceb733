// What a test process wrote to its standard error (the component's
// diagnostics, a sanitizer's report), made short enough to read: whole lines
// only, each at most a screen wide and cut at a space, control bytes shown as
// \xNN, and repeats folded with their count. Memory stays bounded whatever
// the output: a few lines are kept, the rest only counted.
#ifndef VREL_VALIDATOR_DIAGNOSTIC_DIGEST_H
#define VREL_VALIDATOR_DIAGNOSTIC_DIGEST_H

#include <cstddef>
#include <deque>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class diagnostic_digest {
public:
    // Lines longer than this are shortened (see shortened()).
    static constexpr size_t width = 160;

    // `distinctKept` distinct lines are kept for folded(), the last
    // `tailKept` runs of lines for tail().
    explicit diagnostic_digest(size_t distinctKept = 20, size_t tailKept = 80);

    // The next bytes of the output, in any pieces.
    void take(const char* bytes, size_t count);
    // Ends a last line that has no line end.
    void finish();

    long long lines() const { return lines_; }

    // Each distinct line once, in the order first seen, with its count when
    // above one; then how many lines were of other kinds.
    std::vector<std::string> folded() const;
    // The last lines in order, a run of the same line as one with its count;
    // first how many earlier lines were left out.
    std::vector<std::string> tail() const;

private:
    void endLine();

    size_t distinctKept_;
    size_t tailKept_;
    std::string line_;     // the line being read, shortened
    size_t lineBytes_ = 0; // its whole length so far
    long long lines_ = 0;
    std::vector<std::pair<std::string, long long>> distinct_;
    std::unordered_map<std::string, size_t> distinctIndex_;
    long long otherLines_ = 0;
    std::deque<std::pair<std::string, long long>> tail_;
    long long leftOut_ = 0;
};

// `line` cut to at most `width` characters at the last space before the
// limit (mid-word only when there is no space), followed by what was left
// out: "... (1200 more characters)". `length` is the line's whole length when
// `line` holds only its beginning.
std::string shortened(const std::string& line, size_t width, size_t length);

#endif
