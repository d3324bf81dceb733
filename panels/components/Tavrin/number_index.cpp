#include "number_index.h"

#include <algorithm>

void number_index::rebuild(const vrel_stringlist& list) {
    entries_.clear();
    const int count = list.count();
    entries_.reserve(static_cast<size_t>(count));
    for (int position = 0; position < count; ++position) {
        const vrel_string& element = list[position];
        // An element is some number's decimal text only if it is the text of
        // its own value.
        const int number = element.toInt();
        if (element == number) {
            entries_.push_back(entry{number, position});
        }
    }
    // Stable, so that of equal numbers the first position comes first and stays.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const entry& a, const entry& b) { return a.number < b.number; });
    entries_.erase(std::unique(entries_.begin(), entries_.end(),
                               [](const entry& a, const entry& b) { return a.number == b.number; }),
                   entries_.end());

    byOffset_.clear();
    firstNumber_ = 0;
    if (entries_.empty()) {
        return;
    }
    const long long first = entries_.front().number;
    const long long span = static_cast<long long>(entries_.back().number) - first + 1;
    if (span > 4 * static_cast<long long>(entries_.size()) + 64) {
        return; // too sparse: searched instead
    }
    firstNumber_ = first;
    byOffset_.assign(static_cast<size_t>(span), -1);
    for (const entry& e : entries_) {
        byOffset_[static_cast<size_t>(e.number - first)] = e.position;
    }
}

int number_index::findSorted(int number) const {
    const auto found = std::lower_bound(
        entries_.begin(), entries_.end(), number,
        [](const entry& candidate, int wanted) { return candidate.number < wanted; });
    return found != entries_.end() && found->number == number ? found->position : -1;
}
