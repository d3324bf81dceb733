#include "host_records.h"

#include <cstring>

namespace {

const char noText[] = "";

bool named(const char* nulls, char field) {
    return std::strchr(nulls, field) != nullptr;
}

} // namespace

button_record* button_notification::build(const char* nulls) {
    command = command_record{};
    command.command = named(nulls, 'w') ? nullptr : commandWord.c_str();
    for (const char*& part : command.parts) {
        part = noText;
    }
    command.value = named(nulls, 'v') ? nullptr : commandValue.c_str();
    command.partCount = 0;
    command.hasValue = true;
    command.buffer = nullptr;

    record = button_record{};
    record.panel = named(nulls, 'p') ? nullptr : panel.c_str();
    record.control = named(nulls, 'c') ? nullptr : control.c_str();
    record.command = named(nulls, 'r') ? nullptr : &command;
    return &record;
}
