// The text type of the other string library: the operations a component may
// rely on, and nothing more. The object is a pointer to a heap block holding
// the length and the text; the empty text has no block.
#ifndef VREL_STRING_H
#define VREL_STRING_H

#include "vrel_export.h"

struct vrel_text_block;

class VREL_STRING_API vrel_string {
public:
    vrel_string();
    vrel_string(const char* text);
    vrel_string(const vrel_string& other);
    // Only ever called with fill NUL, width 0 and base 10 by a component.
    vrel_string(int number, char fill, int width, int base);
    virtual ~vrel_string();

    vrel_string& operator=(const char* text);
    vrel_string& operator=(const vrel_string& other);

    vrel_string& append(const vrel_string& other);
    vrel_string& operator+=(const vrel_string& other);

    int length() const;
    // A text that is not wholly an optional "-" and decimal digits within the
    // 32-bit range, the empty text included, has the value -1.
    int toInt() const;
    explicit operator int() const;
    // Valid while the string lives and is not changed.
    explicit operator const char*() const;

    // Every occurrence of the lowest single-digit marker (%1 to %9) is
    // replaced.
    vrel_string arg(const vrel_string& text) const;
    vrel_string arg(int number, char fill, int width, int base) const;

    // Cuts at the last separator. Without one, left is empty and right is
    // the whole text. Returns the number of separators.
    int split(char separator, vrel_string& left, vrel_string& right) const;

    // ASCII letters compare without case.
    bool operator==(const vrel_string& other) const;
    bool operator==(const char* text) const;
    // True when toInt() is `number`: "01" equals 1.
    bool operator==(int number) const;
    bool operator!=(const vrel_string& other) const;

private:
    vrel_text_block* block_;
};

VREL_STRING_API vrel_string operator+(const vrel_string& left, const vrel_string& right);
VREL_STRING_API vrel_string operator+(const vrel_string& left, const char* right);
VREL_STRING_API vrel_string operator+(const char* left, const vrel_string& right);

#endif
