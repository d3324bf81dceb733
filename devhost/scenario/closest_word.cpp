#include "closest_word.h"

#include <algorithm>

namespace {

// How far apart two words are: the edits (insert, delete, replace, swap of
// neighbours) that make one the other.
size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

} // namespace

std::string closest_word(const std::string& word, const std::vector<std::string>& known) {
    std::string best;
    size_t bestDistance = 0;
    for (const std::string& candidate : known) {
        const size_t distance = editDistance(word, candidate);
        if (best.empty() || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    // A guess at most a third of the word away is worth offering.
    return !best.empty() && bestDistance * 3 <= word.size() + 1 && bestDistance > 0 ? best
                                                                                    : std::string();
}
