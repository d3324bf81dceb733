// An ordered, copyable list of texts, positions from 0.
#ifndef VREL_STRINGLIST_H
#define VREL_STRINGLIST_H

#include "vrel_export.h"
#include "vrel_string.h"

#include <stdint.h>

// The separator a list uses when it is assigned a whole text.
constexpr char vrel_stringlist_default_separator = ',';

class vrel_stringlist;

// Walks a list forwards. Valid while the list lives and is not changed.
class VREL_STRING_API vrel_stringlistIterator {
public:
    // A copy of the element the iterator stands on.
    vrel_string operator*() const;
    vrel_stringlistIterator& operator++();
    bool operator!=(const vrel_stringlistIterator& other) const;

private:
    friend class vrel_stringlist;
    vrel_stringlistIterator(const vrel_stringlist* list, int position);
    const vrel_stringlist* list_;
    int position_;
};

// The elements are kept packed: their texts one after another in one block,
// each with its NUL, and where each starts in a second block, so that an
// element costs its text, its NUL and four bytes. When memory runs out, an
// operation that cannot grow the list leaves it as it was, and one that makes
// a new list makes an empty one.
class VREL_STRING_API vrel_stringlist {
public:
    vrel_stringlist();
    vrel_stringlist(const vrel_stringlist& other);
    // Split at every separator: "a,,b" gives "a", "", "b". Elements are not
    // trimmed. The empty text gives an empty list.
    vrel_stringlist(const vrel_string& text, char separator);
    virtual ~vrel_stringlist();

    vrel_stringlist& operator=(const vrel_stringlist& other);
    // Split at the default separator ",".
    vrel_stringlist& operator=(const vrel_string& text);

    vrel_stringlist& operator<<(const vrel_string& text);

    int count() const;
    // A copy of the element at `position`; a position outside the list reads
    // as the empty text.
    vrel_string operator[](int position) const;
    // Position of the first element equal to `text` (case-sensitive), or -1.
    // `caseInsensitive` true compares ASCII letters without case.
    int find(const vrel_string& text, bool caseInsensitive) const;
    // Elements joined by the separator; a single element comes back alone.
    vrel_string toString(char separator) const;

    vrel_stringlistIterator begin() const;
    vrel_stringlistIterator end() const;

private:
    // Room for `elements` more elements holding `bytes` more text (NULs
    // included); false when it cannot be had.
    bool reserve(size_t elements, size_t bytes);
    void release();
    void swap(vrel_stringlist& other);
    // Element `position` (valid) and its length.
    const char* at(int position, size_t& length) const;
    // Appends an element whose text is the `length` bytes at `text`; room
    // for it has been reserved.
    void add(const char* text, size_t length);

    char* texts_;      // the elements' texts, each followed by its NUL
    uint32_t* starts_; // where each element starts in texts_
    size_t textsUsed_; // bytes of texts_ in use
    size_t textsRoom_; // bytes texts_ holds
    int count_;        // elements
    int startsRoom_;   // entries starts_ holds
};

#endif
