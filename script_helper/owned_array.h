// An array the frame and its components own: a heap block of plain values
// (numbers, small records) that is freed with its owner. It never throws:
// growing it reports whether there was memory.
#ifndef VREL_OWNED_ARRAY_H
#define VREL_OWNED_ARRAY_H

#include "heap.h"

#include <stddef.h>
#include <stdint.h>

template <typename T> class owned_array {
    static_assert(__is_trivially_copyable(T), "owned_array holds plain values only");

public:
    owned_array() = default;
    owned_array(const owned_array&) = delete;
    owned_array& operator=(const owned_array&) = delete;
    ~owned_array() { vrel_delete_block(items_); }

    // Replaces the contents with `count` copies of `value`. False, leaving the
    // array empty, when there is no memory for them.
    bool assign(size_t count, const T& value) {
        clear();
        if (count == 0) {
            return true;
        }
        if (count > SIZE_MAX / sizeof(T)) {
            return false;
        }
        T* items = static_cast<T*>(vrel_new_block(count * sizeof(T)));
        if (items == nullptr) {
            return false;
        }
        for (size_t i = 0; i < count; ++i) {
            items[i] = value;
        }
        items_ = items;
        size_ = count;
        return true;
    }

    // Keeps the first `count` items (no more than there are).
    void truncate(size_t count) {
        if (count < size_) {
            size_ = count;
        }
    }

    void clear() {
        vrel_delete_block(items_);
        items_ = nullptr;
        size_ = 0;
    }

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T* data() { return items_; }
    const T* data() const { return items_; }
    // `position` must be below size().
    T& operator[](size_t position) { return items_[position]; }
    const T& operator[](size_t position) const { return items_[position]; }

private:
    T* items_ = nullptr;
    size_t size_ = 0;
};

#endif
