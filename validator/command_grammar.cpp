#include "command_grammar.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// A form is written as a pattern: literal bytes, 'T' for a quoted text's
// content, 'E' for a content that holds an "=", 'N' for a number, 'F' for a
// flag and '[' ... ']' around an optional tail (only at the end).
struct form {
    const char* word;
    const char* pattern; // what follows the command word
    const char* shape;   // the form in words, for messages
};

const form forms[] = {
    {"AS", "", "AS"},
    {"PS", " 'T' 'T'[ 'T']", "PS 'panel' 'file' ['extra']"},
    {"TP", " 'E' 'T' 'T'", "TP 'property=value' 'panel' 'control'"},
    {"TG", " 'T' 'T' 'T'", "TG 'panel' 'control' 'property'"},
    {"XI", " 'T' 'T'", "XI 'panel' 'pattern'"},
    {"IW", " N 'T' N F", "IW device 'text' index flag"},
    {"RC", " N N N ',T' F", "RC device source destination ',extra' flag"},
    {"RR", " N N N[ 'ADD']", "RR device first last ['ADD']"},
    {"RP", " N N N", "RP device first last"},
    {"ET", " N[ N]", "ET id [interval]"},
};

class matcher {
public:
    matcher(const char* text, size_t length) : text_(text), end_(text + length) {}

    bool matches(const char* pattern) const { return match(pattern, text_); }

private:
    bool match(const char* p, const char* at) const {
        for (;;) {
            switch (*p) {
            case '\0':
                return at == end_;
            case '[':
                // An optional tail: with it, or without it (then nothing may follow).
                return match(p + 1, at) || at == end_;
            case ']':
                ++p;
                continue;
            case 'N':
                at = number(at);
                if (at == nullptr) {
                    return false;
                }
                ++p;
                continue;
            case 'F':
                if (at == end_ || (*at != '0' && *at != '1')) {
                    return false;
                }
                ++at;
                ++p;
                continue;
            case 'T':
            case 'E':
                return quoted(p, at);
            default:
                if (at == end_ || *at != *p) {
                    return false;
                }
                ++at;
                ++p;
                continue;
            }
        }
    }

    // A quoted text's content runs to one of the following quotes; every
    // candidate is tried, nearest first, since the content may hold quotes.
    bool quoted(const char* p, const char* at) const {
        const bool needsEquals = *p == 'E';
        for (const char* close = at; close < end_; ++close) {
            close = static_cast<const char*>(
                std::memchr(close, '\'', static_cast<size_t>(end_ - close)));
            if (close == nullptr) {
                return false;
            }
            if (needsEquals && std::memchr(at, '=', static_cast<size_t>(close - at)) == nullptr) {
                continue;
            }
            if (match(p + 1, close)) {
                return true;
            }
        }
        return false;
    }

    // A plain signed decimal in the 32-bit range; the end of it, or null.
    const char* number(const char* at) const {
        bool negative = false;
        if (at != end_ && *at == '-') {
            negative = true;
            ++at;
        }
        const char* digits = at;
        int64_t value = 0;
        while (at != end_ && *at >= '0' && *at <= '9') {
            value = value * 10 + (*at - '0');
            if (value > int64_t{1} << 31) {
                return nullptr;
            }
            ++at;
        }
        const size_t count = static_cast<size_t>(at - digits);
        if (count == 0 || (count > 1 && *digits == '0') || (negative && value == 0)) {
            return nullptr;
        }
        if (!negative && value > INT32_MAX) {
            return nullptr;
        }
        return at;
    }

    const char* text_;
    const char* end_;
};

} // namespace

std::string printable(const char* text, size_t length, size_t limit) {
    if (text == nullptr) {
        return "(null)";
    }
    std::string shown = "\"";
    for (size_t i = 0; i < length && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c >= 0x7f || c == '"' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            shown += escaped;
        } else {
            shown += static_cast<char>(c);
        }
    }
    shown += "\"";
    if (length > limit) {
        shown += "... (" + std::to_string(length) + " bytes)";
    }
    return shown;
}

bool isQueryCommand(const char* text) {
    return text != nullptr &&
           (std::strncmp(text, "TG ", 3) == 0 || std::strncmp(text, "XI ", 3) == 0);
}

std::string checkCommandText(const char* text, size_t length) {
    if (text == nullptr) {
        return "a null command text was sent";
    }
    if (length == 0) {
        return "an empty command text was sent";
    }
    for (const form& f : forms) {
        if (length < 2 || std::memcmp(text, f.word, 2) != 0) {
            continue;
        }
        if (matcher(text + 2, length - 2).matches(f.pattern)) {
            return "";
        }
        return "the command " + printable(text, length) + " does not have the form " + f.shape;
    }
    return "the command " + printable(text, length) +
           " does not start with a known command word (AS, PS, TP, TG, XI, IW, RC, RR, RP, ET)";
}
