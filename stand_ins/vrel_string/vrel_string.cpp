#include "vrel_string.h"

#include <climits>
#include <cstring>

namespace {

std::string numberText(int number, char fill, int width, int base) {
    if (base < 2 || base > 36) {
        base = 10;
    }
    // Work on the magnitude as unsigned so that INT_MIN has one.
    const bool negative = number < 0;
    unsigned int magnitude =
        negative ? 0u - static_cast<unsigned int>(number) : static_cast<unsigned int>(number);
    char digits[40];
    int count = 0;
    do {
        const unsigned int digit = magnitude % static_cast<unsigned int>(base);
        digits[count++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + (digit - 10));
        magnitude /= static_cast<unsigned int>(base);
    } while (magnitude != 0);
    std::string text;
    if (negative) {
        text += '-';
    }
    while (count > 0) {
        text += digits[--count];
    }
    if (width > 0 && static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<size_t>(width) - text.size(), fill == '\0' ? ' ' : fill);
    }
    return text;
}

// A marker is "%" and one or two digits naming 1 to 99. Returns its number and
// length at `at`, or 0.
int markerAt(const std::string& text, size_t at, size_t& length) {
    if (text[at] != '%' || at + 1 >= text.size()) {
        return 0;
    }
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (!isDigit(text[at + 1])) {
        return 0;
    }
    int number = text[at + 1] - '0';
    length = 2;
    if (at + 2 < text.size() && isDigit(text[at + 2])) {
        number = number * 10 + (text[at + 2] - '0');
        length = 3;
    }
    return number;
}

std::string replaceLowestMarker(const std::string& text, const std::string& insert) {
    // Only the first occurrence is filled, so that a text holding many copies of
    // a marker grows by one insert per call, not one per copy.
    int lowest = 0;
    size_t at = 0;
    size_t length = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t markerLength = 0;
        const int number = markerAt(text, i, markerLength);
        if (number > 0 && (lowest == 0 || number < lowest)) {
            lowest = number;
            at = i;
            length = markerLength;
        }
    }
    if (lowest == 0) {
        return text;
    }
    std::string result;
    result.reserve(text.size() - length + insert.size());
    result.append(text, 0, at).append(insert).append(text, at + length, std::string::npos);
    return result;
}

} // namespace

vrel_string::vrel_string() = default;

vrel_string::vrel_string(const char* text) : text_(text != nullptr ? text : "") {}

vrel_string::vrel_string(const vrel_string& other) = default;

vrel_string::vrel_string(int number, char fill, int width, int base)
    : text_(numberText(number, fill, width, base)) {}

vrel_string::~vrel_string() = default;

vrel_string& vrel_string::operator=(const char* text) {
    text_ = text != nullptr ? text : "";
    return *this;
}

vrel_string& vrel_string::operator=(const vrel_string& other) = default;

vrel_string& vrel_string::append(const vrel_string& other) {
    text_ += other.text_;
    return *this;
}

vrel_string& vrel_string::operator+=(const vrel_string& other) {
    return append(other);
}

int vrel_string::length() const {
    return text_.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(text_.size());
}

int vrel_string::toInt() const {
    size_t at = 0;
    bool negative = false;
    if (at < text_.size() && (text_[at] == '+' || text_[at] == '-')) {
        negative = text_[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < text_.size() && text_[at] >= '0' && text_[at] <= '9'; ++at) {
        // Stop growing once past the range; the sign decides the clamp.
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (text_[at] - '0');
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
    return text_.c_str();
}

const char* vrel_string::c_str() const {
    return text_.c_str();
}

vrel_string vrel_string::arg(const vrel_string& text) const {
    vrel_string result;
    result.text_ = replaceLowestMarker(text_, text.text_);
    return result;
}

vrel_string vrel_string::arg(int number, char fill, int width, int base) const {
    vrel_string result;
    result.text_ = replaceLowestMarker(text_, numberText(number, fill, width, base));
    return result;
}

int vrel_string::split(char separator, vrel_string& left, vrel_string& right) const {
    const size_t at = text_.find(separator);
    if (at == std::string::npos) {
        // `left` may be this very string: copy before clearing `right`.
        std::string whole = text_;
        left.text_ = std::move(whole);
        right.text_.clear();
        return -1;
    }
    std::string before = text_.substr(0, at);
    std::string after = text_.substr(at + 1);
    left.text_ = std::move(before);
    right.text_ = std::move(after);
    return at > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(at);
}

bool vrel_string::operator==(const vrel_string& other) const {
    return text_ == other.text_;
}

bool vrel_string::operator==(const char* text) const {
    return text_ == (text != nullptr ? text : "");
}

bool vrel_string::operator==(int number) const {
    return text_ == numberText(number, '\0', 0, 10);
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
