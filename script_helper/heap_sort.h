// Sorts an array in place in O(n log n) time with no memory of its own and
// without recursion, whatever the order it starts in. Not stable: give `less`
// a tie-breaker where equal items must keep an order.
#ifndef VREL_HEAP_SORT_H
#define VREL_HEAP_SORT_H

#include <stddef.h>

namespace vrel_heap_sort_detail {

// Moves the item at `root` down the heap of the first `count` items until
// neither child is greater.
template <typename T, typename Less> void siftDown(T* items, size_t root, size_t count, Less less) {
    for (;;) {
        size_t child = 2 * root + 1;
        if (child >= count) {
            return;
        }
        if (child + 1 < count && less(items[child], items[child + 1])) {
            ++child;
        }
        if (!less(items[root], items[child])) {
            return;
        }
        T held = items[root];
        items[root] = items[child];
        items[child] = held;
        root = child;
    }
}

} // namespace vrel_heap_sort_detail

// Orders `items[0]` to `items[count - 1]` so that no item is less than the one
// before it.
template <typename T, typename Less> void heap_sort(T* items, size_t count, Less less) {
    if (count < 2) {
        return;
    }
    for (size_t root = count / 2; root-- > 0;) {
        vrel_heap_sort_detail::siftDown(items, root, count, less);
    }
    for (size_t end = count - 1; end > 0; --end) {
        T largest = items[0];
        items[0] = items[end];
        items[end] = largest;
        vrel_heap_sort_detail::siftDown(items, 0, end, less);
    }
}

#endif
