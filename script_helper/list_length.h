// The number of elements of a text list, counted by walking it: the one way
// every string library's list offers.
#ifndef VREL_LIST_LENGTH_H
#define VREL_LIST_LENGTH_H

#include "vrel_stringlist.h"

#include <stddef.h>

inline size_t list_length(const vrel_stringlist& list) {
    size_t elements = 0;
    for (auto at = list.begin(), end = list.end(); at != end; ++at) {
        ++elements;
    }
    return elements;
}

#endif
