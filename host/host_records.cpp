#include "host_records.h"

#include "command_parser.h"

#include <cstring>
#include <utility>

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

button_press::button_press(std::string panel, std::string control, const char* commandText)
    : panel_(std::move(panel)), control_(std::move(control)) {
    parse(command_, commandText);
    record_.panel = panel_.c_str();
    record_.control = control_.c_str();
    record_.command = commandText != nullptr ? &command_ : nullptr;
}

button_press::~button_press() {
    release(command_);
}
