// The text type of the string library: an owned, copyable, NUL-terminated
// 8-bit text. Comparisons are case-sensitive and byte for byte. When memory
// runs out, a string that cannot hold its new text becomes the empty text.
#ifndef VREL_STRING_H
#define VREL_STRING_H

#include "vrel_export.h"

#include <stddef.h>

class VREL_STRING_API vrel_string {
public:
    vrel_string();
    // A null text gives the empty text.
    vrel_string(const char* text);
    vrel_string(const vrel_string& other);
    // The number's text in `base` (2 to 36, otherwise 10), padded on the left
    // to `width` with `fill` (a space when fill is NUL). With NUL, 0 and 10:
    // the plain decimal text, "-1" for -1.
    vrel_string(int number, char fill, int width, int base);
    virtual ~vrel_string();

    vrel_string& operator=(const char* text);
    vrel_string& operator=(const vrel_string& other);

    vrel_string& append(const vrel_string& other);
    vrel_string& operator+=(const vrel_string& other);

    int length() const;
    // An optional sign and the leading decimal digits; 0 when there are none
    // (the empty text included); clamped to the 32-bit signed range.
    int toInt() const;
    explicit operator int() const { return toInt(); }
    // Valid while the string lives and is not changed.
    operator const char*() const;
    // The same, by name, for this library's own tests and tools.
    const char* c_str() const;

    // A copy in which the first occurrence of the lowest-numbered marker still
    // present (%1 to %99) is replaced; with no marker the text comes back
    // unchanged.
    vrel_string arg(const vrel_string& text) const;
    vrel_string arg(int number, char fill, int width, int base) const;

    // Parts before and after the first `separator`. Without one: left is the
    // whole text and right is empty. Returns the separator's position or -1.
    int split(char separator, vrel_string& left, vrel_string& right) const;

    bool operator==(const vrel_string& other) const;
    bool operator==(const char* text) const;
    // True when the text is the decimal text of `number` ("1" for 1).
    bool operator==(int number) const;
    bool operator!=(const vrel_string& other) const;

private:
    friend class vrel_stringlist;

    // Texts of up to inPlace - 1 bytes, and their NUL, live in the object
    // itself: every command word, value and reply the component handles.
    // Longer texts live on the heap.
    static constexpr size_t inPlace = 64;

    // The `length` bytes at `text` (which need no NUL and may lie in this
    // string's own text).
    vrel_string(const char* text, size_t length);
    void assign(const char* text, size_t length);
    void becomeEmpty();
    void appendText(const char* text, size_t length);
    size_t capacity() const;

    char* data_; // local_.buffer, or a heap block of local_.capacity + 1 bytes
    size_t length_;
    union {
        char buffer[inPlace];
        size_t capacity; // on the heap: bytes before the NUL
    } local_;
};

VREL_STRING_API vrel_string operator+(const vrel_string& left, const vrel_string& right);
VREL_STRING_API vrel_string operator+(const vrel_string& left, const char* right);
VREL_STRING_API vrel_string operator+(const char* left, const vrel_string& right);

#endif
