#include "closest_word.h"

#include <algorithm>

namespace {

// How far apart two words are: the edits (insert, delete, replace, swap of
// neighbours) that make one the other. Three rows of the table are kept, so
// the memory is that of the shorter word.
size_t editDistance(const std::string& a, const std::string& b) {
    if (a.size() < b.size()) {
        return editDistance(b, a);
    }
    std::vector<size_t> beforeLast(b.size() + 1);
    std::vector<size_t> last(b.size() + 1);
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) {
        last[j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({last[j] + 1, row[j - 1] + 1, last[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                row[j] = std::min(row[j], beforeLast[j - 2] + 1);
            }
        }
        beforeLast.swap(last);
        last.swap(row);
    }
    return last[b.size()];
}

// A guess at most a third of the word away is worth offering.
bool nearEnough(size_t distance, size_t wordLength) {
    return distance * 3 <= wordLength + 1;
}

} // namespace

std::string closest_word(const std::string& word, const std::vector<std::string>& known) {
    std::string best;
    size_t bestDistance = 0;
    for (const std::string& candidate : known) {
        // The distance is at least the difference in length: a candidate that
        // cannot be near enough, or nearer than the best, is not measured, so
        // a very long word costs nothing.
        const size_t atLeast = word.size() > candidate.size() ? word.size() - candidate.size()
                                                              : candidate.size() - word.size();
        if (!nearEnough(atLeast, word.size()) || (!best.empty() && atLeast >= bestDistance)) {
            continue;
        }
        const size_t distance = editDistance(word, candidate);
        if (best.empty() || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return !best.empty() && nearEnough(bestDistance, word.size()) && bestDistance > 0
               ? best
               : std::string();
}
