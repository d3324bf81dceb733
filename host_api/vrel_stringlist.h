// An ordered, copyable list of texts, positions from 0.
#ifndef VREL_STRINGLIST_H
#define VREL_STRINGLIST_H

#include "vrel_export.h"
#include "vrel_string.h"

#include <vector>

// The separator a list uses when it is assigned a whole text.
constexpr char vrel_stringlist_default_separator = ',';

class VREL_STRING_API vrel_stringlistIterator {
public:
    const vrel_string& operator*() const;
    vrel_stringlistIterator& operator++();
    bool operator!=(const vrel_stringlistIterator& other) const;

private:
    friend class vrel_stringlist;
    explicit vrel_stringlistIterator(const vrel_string* at);
    const vrel_string* at_;
};

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
    // A position outside the list reads as the empty text.
    const vrel_string& operator[](int position) const;
    // Position of the first element equal to `text` (case-sensitive), or -1.
    // `caseInsensitive` true compares ASCII letters without case.
    int find(const vrel_string& text, bool caseInsensitive) const;
    // Elements joined by the separator; a single element comes back alone.
    vrel_string toString(char separator) const;

    vrel_stringlistIterator begin() const;
    vrel_stringlistIterator end() const;

private:
    std::vector<vrel_string> items_;
};

#endif
