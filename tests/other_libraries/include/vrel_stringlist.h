// The list type of the other string library: the operations a component may
// rely on, and nothing more. The object is a pointer to a heap block of
// strings.
#ifndef VREL_STRINGLIST_H
#define VREL_STRINGLIST_H

#include "vrel_export.h"
#include "vrel_string.h"

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
    // The empty text gives one empty element.
    vrel_stringlist(const vrel_string& text, char separator);
    virtual ~vrel_stringlist();

    vrel_stringlist& operator=(const vrel_stringlist& other);
    // Split at ",".
    vrel_stringlist& operator=(const vrel_string& text);

    vrel_stringlist& operator<<(const vrel_string& text);

    // A position outside the list reads as the text "<none>".
    const vrel_string& operator[](int position) const;
    // `caseSensitive` false (the one way a component calls it) compares ASCII
    // letters without case.
    int find(const vrel_string& text, bool caseSensitive) const;
    vrel_string toString(char separator) const;

    vrel_stringlistIterator begin() const;
    vrel_stringlistIterator end() const;

private:
    struct block;
    block* block_;
};

#endif
