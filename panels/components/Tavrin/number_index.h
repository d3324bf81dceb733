// The positions of a text list's numbers, kept beside the list: for any
// number, the position that a search of the list for the number's plain
// decimal text finds, without making that text or comparing texts. Built from
// the list with the string library's own conversions and comparison, and
// built again whenever the list is replaced.
#ifndef TAVRIN_NUMBER_INDEX_H
#define TAVRIN_NUMBER_INDEX_H

#include "owned_array.h"
#include "vrel_stringlist.h"

#include <stddef.h>

class number_index {
public:
    // Indexes every element that is exactly the decimal text of its own
    // value ("5", "-5", "0"), at its first position. "05", " 5", "+5", "-0",
    // "5x" and "" are the text of no number, so no number finds them, as no
    // number's text equals them. Without memory for the index, no number is
    // found.
    void rebuild(const vrel_stringlist& list);

    // list.find(decimal text of `number`, false) for the list last built from,
    // with -1 for any negative answer (none found).
    int find(int number) const {
        // Numbers close together, as a router's are, are found by their offset.
        const long long offset = static_cast<long long>(number) - firstNumber_;
        if (!byOffset_.empty() || entries_.empty()) {
            return offset >= 0 && offset < static_cast<long long>(byOffset_.size())
                       ? byOffset_[static_cast<size_t>(offset)]
                       : -1;
        }
        return findSorted(number);
    }

private:
    struct entry {
        int number;
        int position;
    };
    int findSorted(int number) const;

    owned_array<entry> entries_; // by number, one per number
    // When the numbers lie close together: the position of each number from
    // the first, -1 where there is none.
    owned_array<int> byOffset_;
    long long firstNumber_ = 0;
};

#endif
