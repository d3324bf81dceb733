// JSON as the development server writes it: one object per line, with the
// component's texts shown even when they are not valid UTF-8 (such bytes show
// as U+FFFD), and byte-exact transport of a text that must stay as it is.
#ifndef VREL_DEVHOST_SERVE_JSON_H
#define VREL_DEVHOST_SERVE_JSON_H

#include <nlohmann/json.hpp>

#include <string>

using json = nlohmann::json;

// One line of JSON, without a line end.
inline std::string json_line(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

// Every byte as the code point of the same value, so that any bytes survive a
// JSON string unchanged; bytes_of reverses it.
inline json byte_text(const std::string& bytes) {
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (b >> 6));
            utf8 += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return utf8;
}

inline std::string bytes_of(const std::string& utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if ((b & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            bytes += static_cast<char>(((b & 0x1F) << 6) |
                                       (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
            ++i;
        } else {
            bytes += utf8[i];
        }
    }
    return bytes;
}

#endif
