#include "component_profile.h"

#include "checking_host.h"
#include "command_reader.h"
#include "component_driver.h"
#include "notify_records.h"
#include "panel.h"

#include <cstring>

const component_profile::control* component_profile::firstButton() const {
    for (const control& c : controls) {
        if (c.button) {
            return &c;
        }
    }
    return nullptr;
}

std::vector<std::string> reply_words(const std::string& reply) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start <= reply.size()) {
        size_t end = reply.find('\n', start);
        if (end == std::string::npos) {
            end = reply.size();
        }
        const std::string line = reply.substr(start, end - start);
        const size_t equals = line.find('=');
        if (equals != std::string::npos && equals > 0) {
            words.push_back(line.substr(0, equals));
        }
        start = end + 1;
    }
    return words;
}

namespace {

std::string replyTo(component_driver& driver, const char* command) {
    std::string text = command;
    char* reply = driver.notify(&text[0], vrel_notify_parent_command);
    if (reply == nullptr) {
        return std::string();
    }
    std::string copy = reply;
    driver.release(driver.held() - 1);
    return copy;
}

} // namespace

component_profile learn_profile(vrel_component_factory factory, const std::string& componentPath,
                                report& out) {
    component_profile profile;
    checking_host host(out);
    host.setKeepTexts(true);
    component_driver driver(factory, &host, out, componentPath);
    if (!driver.create()) {
        return profile;
    }
    profile.devices = host.devices();
    for (const std::string& text : host.texts()) {
        const command_reading reading = read_command_text(text);
        if (reading.ok && reading.command.word == command_word::PS) {
            profile.panel = reading.command.texts[0];
            panel shown;
            std::vector<std::string> problems;
            if (shown.load(reading.command.texts[1], problems)) {
                for (const panel_control& c : shown.controls()) {
                    const std::string* command = c.property("command");
                    profile.controls.push_back(component_profile::control{
                        c.id, c.kind == "button", command != nullptr ? *command : ""});
                }
            } else {
                out.note(1, "the panel file '" + reading.command.texts[1] +
                                "' could not be read; buttons are pressed by made-up names");
            }
            break;
        }
    }
    profile.commandWords = reply_words(replyTo(driver, "_commands"));
    profile.propertyWords = reply_words(replyTo(driver, "return=all"));
    driver.destroy();
    if (profile.commandWords.empty()) {
        out.note(1, "the component lists no parent commands in its \"_commands\" reply");
    }
    return profile;
}
