// The positions of a text list's numbers, kept beside the list: for any
// number, the position that a search of the list for the number's plain
// decimal text finds, without making that text or comparing texts. Built from
// the list with the string library's own conversions, and built again
// whenever the list is replaced.
#ifndef TAVRIN_NUMBER_INDEX_H
#define TAVRIN_NUMBER_INDEX_H

#include "vrel_stringlist.h"

#include <vector>

class number_index {
public:
    // Indexes every element that is exactly the decimal text of its own
    // value ("5", "-5", "0"), at its first position. "05", " 5", "+5", "-0",
    // "5x" and "" are the text of no number, so no number finds them, as no
    // number's text equals them.
    void rebuild(const vrel_stringlist& list);

    // list.find(decimal text of `number`, false) for the list last built from.
    int find(int number) const;

private:
    struct entry {
        int number;
        int position;
    };
    std::vector<entry> entries_; // by number, one per number
};

#endif
