#include "number_text.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits of `text` as a number no larger than `limit`.
bool readDigits(std::string_view text, uint64_t limit, uint64_t& value) {
    if (text.empty()) {
        return false;
    }
    value = 0;
    for (const char c : text) {
        if (!isDigit(c)) {
            return false;
        }
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (value > (limit - digit) / 10) {
            return false;
        }
        value = value * 10 + digit;
    }
    return true;
}

} // namespace

bool read_decimal(std::string_view text, int64_t min, int64_t max, int64_t& number,
                  bool plusAllowed) {
    const bool negative = !text.empty() && text[0] == '-';
    if (negative || (plusAllowed && !text.empty() && text[0] == '+')) {
        text.remove_prefix(1);
    }
    // The magnitude of INT64_MIN, the largest any side may need.
    const uint64_t limit = uint64_t{1} << 63;
    uint64_t magnitude = 0;
    if (!readDigits(text, limit, magnitude)) {
        return false;
    }
    if (!negative && magnitude == limit) {
        return false;
    }
    const int64_t value = negative
                              ? (magnitude == limit ? INT64_MIN : -static_cast<int64_t>(magnitude))
                              : static_cast<int64_t>(magnitude);
    if (value < min || value > max) {
        return false;
    }
    number = value;
    return true;
}

bool read_int32(std::string_view text, int32_t& number, bool plusAllowed) {
    int64_t value = 0;
    if (!read_decimal(text, INT32_MIN, INT32_MAX, value, plusAllowed)) {
        return false;
    }
    number = static_cast<int32_t>(value);
    return true;
}

bool read_plain_number(std::string_view text, int32_t& number) {
    const std::string_view digits = !text.empty() && text[0] == '-' ? text.substr(1) : text;
    if (digits.size() > 1 && digits[0] == '0') {
        return false;
    }
    if (digits.size() != text.size() && digits == "0") {
        return false;
    }
    return read_int32(text, number);
}

bool read_unsigned(std::string_view text, uint64_t& number) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        uint64_t value = 0;
        text.remove_prefix(2);
        for (const char c : text) {
            int digit = 0;
            if (isDigit(c)) {
                digit = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            } else {
                return false;
            }
            if (value >> 60 != 0) {
                return false;
            }
            value = value << 4 | static_cast<uint64_t>(digit);
        }
        number = value;
        return true;
    }
    return readDigits(text, UINT64_MAX, number);
}

bool read_duration(std::string_view text, int64_t maxMs, int64_t& ms) {
    size_t digits = 0;
    while (digits < text.size() && isDigit(text[digits])) {
        ++digits;
    }
    const std::string_view unit = text.substr(digits);
    const int64_t scale = unit == "s" ? 1000 : 1;
    if (!unit.empty() && unit != "s" && unit != "ms") {
        return false;
    }
    int64_t value = 0;
    if (!read_decimal(text.substr(0, digits), 0, maxMs / scale, value)) {
        return false;
    }
    ms = value * scale;
    return true;
}
