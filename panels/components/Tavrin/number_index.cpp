#include "number_index.h"

#include "heap_sort.h"
#include "list_length.h"

#include <limits.h>

void number_index::rebuild(const vrel_stringlist& list) {
    entries_.clear();
    byOffset_.clear();
    firstNumber_ = 0;
    const size_t elements = list_length(list);
    if (elements > static_cast<size_t>(INT_MAX) || !entries_.assign(elements, entry{0, 0})) {
        return;
    }
    size_t kept = 0;
    int position = 0;
    for (const vrel_string& element : list) {
        // An element is some number's decimal text only if it is the text of
        // its own value.
        const int number = element.toInt();
        if (element == vrel_string(number, '\0', 0, 10)) {
            entries_[kept++] = entry{number, position};
        }
        ++position;
    }
    // Of equal numbers the first position comes first, and only it stays.
    heap_sort(entries_.data(), kept, [](const entry& a, const entry& b) {
        return a.number < b.number || (a.number == b.number && a.position < b.position);
    });
    size_t distinct = 0;
    for (size_t i = 0; i < kept; ++i) {
        if (distinct == 0 || entries_[distinct - 1].number != entries_[i].number) {
            entries_[distinct++] = entries_[i];
        }
    }
    entries_.truncate(distinct);
    if (entries_.empty()) {
        return;
    }

    const long long first = entries_[0].number;
    const long long span = static_cast<long long>(entries_[distinct - 1].number) - first + 1;
    if (span > 4 * static_cast<long long>(distinct) + 64) {
        return; // too sparse: searched instead
    }
    if (!byOffset_.assign(static_cast<size_t>(span), -1)) {
        return; // searched instead
    }
    firstNumber_ = first;
    for (size_t i = 0; i < distinct; ++i) {
        byOffset_[static_cast<size_t>(entries_[i].number - first)] = entries_[i].position;
    }
}

int number_index::findSorted(int number) const {
    // The first entry whose number is not below `number`.
    size_t low = 0;
    size_t high = entries_.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (entries_[middle].number < number) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low < entries_.size() && entries_[low].number == number ? entries_[low].position : -1;
}
