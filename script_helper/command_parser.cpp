#include "command_parser.h"

#include <cstring>
#include <new>

const char vrel_empty_text[] = "";

namespace {

void clear(command_record& record) {
    record.command = vrel_empty_text;
    for (const char*& part : record.parts) {
        part = vrel_empty_text;
    }
    record.value = vrel_empty_text;
    record.partCount = 0;
    record.hasValue = false;
    record.buffer = nullptr;
}

// Splits the record's own copy of the text, `buffer`.
void split(command_record& record, char* buffer) {
    record.buffer = buffer;
    char* const start = buffer;
    for (char* at = start; *at != '\0'; ++at) {
        if (record.partCount >= vrel_command_max_parts) {
            break;
        }
        if (*at == '.') {
            if (record.command == vrel_empty_text) {
                record.command = start;
            }
            *at = '\0';
            record.parts[record.partCount++] = at + 1;
        } else if (*at == '=') {
            if (record.command == vrel_empty_text) {
                record.command = start;
            }
            *at = '\0';
            record.hasValue = true;
            record.value = at + 1;
            break;
        }
    }
    if (record.command == vrel_empty_text) {
        record.command = start;
    }
}

} // namespace

void parse(command_record& record, const char* text) {
    parse(record, text, nullptr, 0);
}

void parse(command_record& record, const char* text, char* storage, size_t size) {
    clear(record);
    if (text == nullptr || *text == '\0') {
        return;
    }
    const size_t length = std::strlen(text);
    char* buffer = length < size ? storage : new (std::nothrow) char[length + 1];
    if (buffer == nullptr) {
        return;
    }
    std::memcpy(buffer, text, length + 1);
    split(record, buffer);
}

void release(command_record& record) {
    release(record, nullptr);
}

void release(command_record& record, const char* storage) {
    if (record.buffer != storage) {
        delete[] record.buffer;
    }
    clear(record);
}
