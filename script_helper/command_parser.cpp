#include "command_parser.h"

#include "heap.h"

#include <string.h>

const char vrel_empty_text[] = "";

namespace {

// The 32 parts of a record with none filled, copied whole into every record.
struct empty_parts {
    const char* parts[vrel_command_max_parts];
};
constexpr empty_parts emptyPartsOf() {
    empty_parts empty{};
    for (const char*& part : empty.parts) {
        part = vrel_empty_text;
    }
    return empty;
}
constexpr empty_parts emptyParts = emptyPartsOf();

// The characters that end the command word or a part: ".", "=" and the NUL.
struct character_set {
    bool of[256];
};
constexpr character_set wordEnds() {
    character_set ends{};
    ends.of[static_cast<unsigned char>('.')] = true;
    ends.of[static_cast<unsigned char>('=')] = true;
    ends.of[0] = true;
    return ends;
}
constexpr character_set endsAWord = wordEnds();

// Fills every field of `record` from its own copy of the text, `buffer`, or
// as the empty record when there is none. The command word starts the text,
// whether a "." or "=" ends it or not. Fields are kept in locals while the
// text is written to, and stored once at the end.
void fill(command_record& record, char* buffer) {
    memcpy(record.parts, emptyParts.parts, sizeof record.parts);
    const char* value = vrel_empty_text;
    bool hasValue = false;
    int32_t partCount = 0;
    for (char* at = buffer; at != nullptr && partCount < vrel_command_max_parts; ++at) {
        while (!endsAWord.of[static_cast<unsigned char>(*at)]) {
            ++at;
        }
        const char c = *at;
        if (c == '\0') {
            break;
        }
        *at = '\0';
        if (c == '=') {
            hasValue = true;
            value = at + 1;
            break;
        }
        record.parts[partCount++] = at + 1;
    }
    record.command = buffer != nullptr ? buffer : vrel_empty_text;
    record.value = value;
    record.partCount = partCount;
    record.hasValue = hasValue;
    record.buffer = buffer;
}

} // namespace

void parse(command_record& record, const char* text) {
    parse(record, text, nullptr, 0);
}

void parse(command_record& record, const char* text, char* storage, size_t size) {
    char* buffer = nullptr;
    if (text != nullptr && *text != '\0') {
        const size_t length = strlen(text);
        buffer = length < size ? storage : static_cast<char*>(vrel_new_block(length + 1));
        if (buffer != nullptr) {
            memcpy(buffer, text, length + 1);
        }
    }
    fill(record, buffer);
}

void release(command_record& record) {
    vrel_delete_block(record.buffer);
    fill(record, nullptr);
}

void discard(command_record& record, const char* storage) {
    if (record.buffer != storage) {
        vrel_delete_block(record.buffer);
    }
    record.buffer = nullptr;
}
