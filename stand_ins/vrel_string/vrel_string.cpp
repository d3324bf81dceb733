#include "vrel_string.h"

#include <limits.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

namespace {

// Room for the digits of any int in any base from 2, and a sign.
constexpr size_t numberDigits = 40;

// The number's digits in `base`, with a leading "-" when negative; returns
// their count.
size_t formatNumber(int number, int base, char (&text)[numberDigits]) {
    // Work on the magnitude as unsigned so that INT_MIN has one.
    const bool negative = number < 0;
    unsigned int magnitude =
        negative ? 0u - static_cast<unsigned int>(number) : static_cast<unsigned int>(number);
    char digits[numberDigits];
    size_t count = 0;
    do {
        const unsigned int digit = magnitude % static_cast<unsigned int>(base);
        digits[count++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + (digit - 10));
        magnitude /= static_cast<unsigned int>(base);
    } while (magnitude != 0);
    size_t length = 0;
    if (negative) {
        text[length++] = '-';
    }
    while (count > 0) {
        text[length++] = digits[--count];
    }
    return length;
}

// A marker is "%" and one or two digits naming 1 to 99. Returns its number and
// length at `at`, or 0.
int markerAt(const char* text, size_t length, size_t at, size_t& markerLength) {
    if (text[at] != '%' || at + 1 >= length) {
        return 0;
    }
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (!isDigit(text[at + 1])) {
        return 0;
    }
    int number = text[at + 1] - '0';
    markerLength = 2;
    if (at + 2 < length && isDigit(text[at + 2])) {
        number = number * 10 + (text[at + 2] - '0');
        markerLength = 3;
    }
    return number;
}

int clampedPosition(size_t at) {
    return at > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(at);
}

} // namespace

vrel_string::vrel_string() : data_(local_.buffer), length_(0) {
    local_.buffer[0] = '\0';
}

vrel_string::vrel_string(const char* text, size_t length) : vrel_string() {
    assign(text, length);
}

vrel_string::vrel_string(const char* text) : data_(local_.buffer), length_(0) {
    local_.buffer[0] = '\0';
    if (text == nullptr) {
        return;
    }
    // Copied while measured: most texts fit in place and are read once.
    for (size_t at = 0; at < inPlace; ++at) {
        local_.buffer[at] = text[at];
        if (text[at] == '\0') {
            length_ = at;
            return;
        }
    }
    assign(text, inPlace + strlen(text + inPlace));
}

vrel_string::vrel_string(const vrel_string& other) : vrel_string(other.data_, other.length_) {}

vrel_string::vrel_string(int number, char fill, int width, int base) : vrel_string() {
    if (base < 2 || base > 36) {
        base = 10;
    }
    char digits[numberDigits];
    const size_t count = formatNumber(number, base, digits);
    const size_t padding =
        width > 0 && static_cast<size_t>(width) > count ? static_cast<size_t>(width) - count : 0;
    if (padding == 0) {
        assign(digits, count);
        return;
    }
    const char pad = fill == '\0' ? ' ' : fill;
    for (size_t i = 0; i < padding; ++i) {
        appendText(&pad, 1);
    }
    appendText(digits, count);
}

vrel_string::~vrel_string() {
    if (data_ != local_.buffer) {
        free(data_);
    }
}

size_t vrel_string::capacity() const {
    return data_ != local_.buffer ? local_.capacity : inPlace - 1;
}

void vrel_string::becomeEmpty() {
    if (data_ != local_.buffer) {
        free(data_);
        data_ = local_.buffer;
    }
    length_ = 0;
    local_.buffer[0] = '\0';
}

void vrel_string::assign(const char* text, size_t length) {
    if (length <= capacity()) {
        // The text may be part of this one.
        memmove(data_, text, length);
    } else {
        char* block = length < SIZE_MAX ? static_cast<char*>(malloc(length + 1)) : nullptr;
        if (block == nullptr) {
            becomeEmpty();
            return;
        }
        memcpy(block, text, length);
        if (data_ != local_.buffer) {
            free(data_);
        }
        data_ = block;
        local_.capacity = length;
    }
    length_ = length;
    data_[length_] = '\0';
}

void vrel_string::appendText(const char* text, size_t length) {
    if (length > SIZE_MAX - 1 - length_) {
        becomeEmpty();
        return;
    }
    const size_t total = length_ + length;
    if (total <= capacity()) {
        memmove(data_ + length_, text, length);
    } else {
        const size_t doubled = capacity() < SIZE_MAX / 4 ? 2 * capacity() : total;
        const size_t room = total > doubled ? total : doubled;
        char* block = static_cast<char*>(malloc(room + 1));
        if (block == nullptr) {
            becomeEmpty();
            return;
        }
        memcpy(block, data_, length_);
        // The text may be part of this one: copied before the old block goes.
        memcpy(block + length_, text, length);
        if (data_ != local_.buffer) {
            free(data_);
        }
        data_ = block;
        local_.capacity = room;
    }
    length_ = total;
    data_[length_] = '\0';
}

vrel_string& vrel_string::operator=(const char* text) {
    if (text == nullptr) {
        assign("", 0);
    } else {
        assign(text, strlen(text));
    }
    return *this;
}

vrel_string& vrel_string::operator=(const vrel_string& other) {
    assign(other.data_, other.length_);
    return *this;
}

vrel_string& vrel_string::append(const vrel_string& other) {
    appendText(other.data_, other.length_);
    return *this;
}

vrel_string& vrel_string::operator+=(const vrel_string& other) {
    return append(other);
}

int vrel_string::length() const {
    return clampedPosition(length_);
}

int vrel_string::toInt() const {
    size_t at = 0;
    bool negative = false;
    if (at < length_ && (data_[at] == '+' || data_[at] == '-')) {
        negative = data_[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < length_ && data_[at] >= '0' && data_[at] <= '9'; ++at) {
        // Stop growing once past the range; the sign decides the clamp.
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (data_[at] - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

vrel_string::operator const char*() const {
    return data_;
}

const char* vrel_string::c_str() const {
    return data_;
}

vrel_string vrel_string::arg(const vrel_string& text) const {
    // Only the first occurrence is filled, so that a text holding many copies
    // of a marker grows by one insert per call, not one per copy.
    int lowest = 0;
    size_t at = 0;
    size_t markerLength = 0;
    for (size_t i = 0; i < length_; ++i) {
        size_t length = 0;
        const int number = markerAt(data_, length_, i, length);
        if (number > 0 && (lowest == 0 || number < lowest)) {
            lowest = number;
            at = i;
            markerLength = length;
        }
    }
    if (lowest == 0) {
        return *this;
    }
    vrel_string result(data_, at);
    result.appendText(text.data_, text.length_);
    result.appendText(data_ + at + markerLength, length_ - at - markerLength);
    return result;
}

vrel_string vrel_string::arg(int number, char fill, int width, int base) const {
    return arg(vrel_string(number, fill, width, base));
}

int vrel_string::split(char separator, vrel_string& left, vrel_string& right) const {
    const void* found = memchr(data_, separator, length_);
    if (found == nullptr) {
        // `left` may be this very string: copy before clearing `right`.
        const vrel_string whole(*this);
        left = whole;
        right.assign("", 0);
        return -1;
    }
    const size_t at = static_cast<size_t>(static_cast<const char*>(found) - data_);
    const vrel_string before(data_, at);
    const vrel_string after(data_ + at + 1, length_ - at - 1);
    left = before;
    right = after;
    return clampedPosition(at);
}

bool vrel_string::operator==(const vrel_string& other) const {
    return length_ == other.length_ && memcmp(data_, other.data_, length_) == 0;
}

bool vrel_string::operator==(const char* text) const {
    if (text == nullptr) {
        return length_ == 0;
    }
    // A text holds no NUL, so equal first bytes mean `text` is at least as long.
    return strncmp(data_, text, length_) == 0 && text[length_] == '\0';
}

bool vrel_string::operator==(int number) const {
    char digits[numberDigits];
    const size_t count = formatNumber(number, 10, digits);
    return length_ == count && memcmp(data_, digits, count) == 0;
}

bool vrel_string::operator!=(const vrel_string& other) const {
    return !(*this == other);
}

vrel_string operator+(const vrel_string& left, const vrel_string& right) {
    vrel_string result(left);
    result += right;
    return result;
}

vrel_string operator+(const vrel_string& left, const char* right) {
    return left + vrel_string(right);
}

vrel_string operator+(const char* left, const vrel_string& right) {
    return vrel_string(left) + right;
}
