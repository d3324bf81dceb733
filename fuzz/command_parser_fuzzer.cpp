// Fuzzes the command-text parser: any bytes (up to the first NUL) must parse
// without a fault, and the record must describe the text exactly: the word,
// the parts and the value put back together with "." and "=" give the text
// again, no unfilled field is null, and only the last of 32 parts or the
// value may still hold a separator.
#include "command_parser.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void broken(const char* what, const std::string& text) {
    std::fprintf(stderr, "command parser: %s for a text of %zu bytes\n", what, text.size());
    std::abort();
}

bool hasSeparator(const char* text) {
    return std::strpbrk(text, ".=") != nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data),
                           strnlen(reinterpret_cast<const char*>(data), size));
    command_record record;
    parse(record, text.c_str());

    if (record.command == nullptr || record.value == nullptr) {
        broken("an unfilled field is null", text);
    }
    if (record.partCount < 0 || record.partCount > vrel_command_max_parts) {
        broken("the part count is out of range", text);
    }
    if (text.empty() != (record.buffer == nullptr)) {
        broken("the buffer does not match the text's emptiness", text);
    }
    std::string joined = record.command;
    if (hasSeparator(record.command)) {
        broken("the command word holds a separator", text);
    }
    for (int i = 0; i < vrel_command_max_parts; ++i) {
        const char* part = record.parts[i];
        if (part == nullptr) {
            broken("a part is null", text);
        }
        if (i >= record.partCount) {
            if (*part != '\0') {
                broken("a part past the count is not empty", text);
            }
            continue;
        }
        const bool last = i == record.partCount - 1;
        const bool mayHoldSeparators = last && record.partCount == vrel_command_max_parts;
        if (!mayHoldSeparators && hasSeparator(part)) {
            broken("a part holds a separator", text);
        }
        joined += ".";
        joined += part;
    }
    if (record.hasValue) {
        joined += "=";
        joined += record.value;
    } else if (*record.value != '\0') {
        broken("a value without an equals sign", text);
    }
    if (joined != text) {
        broken("the record does not put the text back together", text);
    }
    release(record);
    if (record.buffer != nullptr || record.partCount != 0) {
        broken("release left the record filled", text);
    }
    return 0;
}
