#include "notify_ref.h"

namespace {

const button_record* asButton(void* record) {
    return static_cast<const button_record*>(record);
}

const command_record* asCommand(void* record) {
    return static_cast<const command_record*>(record);
}

const command_record* buttonsCommand(void* record) {
    const button_record* button = asButton(record);
    return button != nullptr ? button->command : nullptr;
}

} // namespace

vrel_string notify_ref::panel() const {
    const button_record* button = asButton(record_);
    return vrel_string(button != nullptr ? button->panel : nullptr);
}

vrel_string notify_ref::control() const {
    const button_record* button = asButton(record_);
    return vrel_string(button != nullptr ? button->control : nullptr);
}

vrel_string notify_ref::buttonCommand() const {
    const command_record* command = buttonsCommand(record_);
    return vrel_string(command != nullptr ? command->command : nullptr);
}

vrel_string notify_ref::buttonValue() const {
    const command_record* command = buttonsCommand(record_);
    return vrel_string(command != nullptr ? command->value : nullptr);
}

vrel_string notify_ref::command() const {
    const command_record* command = asCommand(record_);
    return vrel_string(command != nullptr ? command->command : nullptr);
}

vrel_string notify_ref::value() const {
    const command_record* command = asCommand(record_);
    return vrel_string(command != nullptr ? command->value : nullptr);
}
