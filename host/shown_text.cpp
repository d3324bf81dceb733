#include "shown_text.h"

std::string shown_text(std::string_view text, size_t limit) {
    size_t end = text.size();
    bool cut = false;
    if (end > limit) {
        end = limit;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
            --end;
        }
        cut = true;
    }
    std::string out;
    for (size_t i = 0; i < end; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            const char* const digits = "0123456789abcdef";
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    return cut ? out + "..." : out;
}
