#include "shown_text.h"

std::string escape_controls(std::string_view text, std::string_view keep) {
    std::string out;
    out.reserve(text.size());
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c < 0x20 || c == 0x7F) && keep.find(byte) == std::string_view::npos) {
            const char* const digits = "0123456789abcdef";
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 0xF];
        } else {
            out += byte;
        }
    }
    return out;
}

std::string shown_text(std::string_view text, size_t limit) {
    if (text.size() <= limit) {
        return escape_controls(text);
    }
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return escape_controls(text.substr(0, end)) + "...";
}
