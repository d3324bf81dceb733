#include "document_cost.h"

#include <cstring>

namespace {

// The parser's records: a node holds eight pointers, an attribute five.
constexpr unsigned long long nodeBytes = 8 * sizeof(void*);
constexpr unsigned long long attributeBytes = 5 * sizeof(void*);

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool startsWith(const char* at, const char* end, const char* prefix) {
    const size_t length = std::strlen(prefix);
    return static_cast<size_t>(end - at) >= length && std::memcmp(at, prefix, length) == 0;
}

// The first byte after `closing` at or after `from`, or `end`.
const char* after(const char* from, const char* end, const char* closing) {
    const size_t length = std::strlen(closing);
    for (const char* at = from; static_cast<size_t>(end - at) >= length; ++at) {
        if (std::memcmp(at, closing, length) == 0) {
            return at + length;
        }
    }
    return end;
}

// The first byte after the tag opened at `from` ("<"), counting the
// attributes it names.
const char* afterTag(const char* from, const char* end, unsigned long long& attributes) {
    char quote = '\0';
    for (const char* at = from + 1; at < end; ++at) {
        if (quote != '\0') {
            if (*at == quote) {
                quote = '\0';
            }
        } else if (*at == '"' || *at == '\'') {
            quote = *at;
        } else if (*at == '=') {
            ++attributes;
        } else if (*at == '>') {
            return at + 1;
        }
    }
    return end;
}

} // namespace

unsigned long long document_cost(const char* text, size_t size) {
    unsigned long long nodes = 1; // the document itself
    unsigned long long attributes = 0;
    const char* const end = text + size;
    const char* at = text;
    while (at < end) {
        if (*at == '<') {
            ++nodes;
            if (startsWith(at, end, "<!--")) {
                at = after(at + 4, end, "-->");
            } else if (startsWith(at, end, "<![CDATA[")) {
                at = after(at + 9, end, "]]>");
            } else if (startsWith(at, end, "<?")) {
                at = after(at + 2, end, "?>");
            } else {
                at = afterTag(at, end, attributes);
            }
            continue;
        }
        // A run of text up to the next markup: a node unless it is all white
        // space.
        bool blank = true;
        for (; at < end && *at != '<'; ++at) {
            blank = blank && isSpace(*at);
        }
        if (!blank) {
            ++nodes;
        }
    }
    return nodes * nodeBytes + attributes * attributeBytes;
}
