#include "command_parser.h"

#include <cstring>
#include <new>

const char vrel_empty_text[] = "";

void parse(command_record& record, const char* text) {
    record.command = vrel_empty_text;
    for (const char*& part : record.parts) {
        part = vrel_empty_text;
    }
    record.value = vrel_empty_text;
    record.partCount = 0;
    record.hasValue = false;
    record.buffer = nullptr;

    if (text == nullptr || *text == '\0') {
        return;
    }
    const size_t length = std::strlen(text);
    record.buffer = new (std::nothrow) char[length + 1];
    if (record.buffer == nullptr) {
        return;
    }
    std::memcpy(record.buffer, text, length + 1);

    char* const start = record.buffer;
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

void release(command_record& record) {
    delete[] record.buffer;
    parse(record, nullptr);
}
