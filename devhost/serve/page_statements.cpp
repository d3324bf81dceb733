#include "page_statements.h"

#include "scenario_text.h"

namespace page_statement {

std::string press(const std::string& panel, const std::string& control) {
    return "press " + write_word(panel + ":" + control);
}

std::string parent(const std::string& text) {
    return "parent " + write_free_text(text);
}

std::string route(int32_t device, int32_t source, int32_t destination) {
    return "route " + std::to_string(device) + " " + std::to_string(destination) + "=" +
           std::to_string(source);
}

std::string advance(int64_t ms) {
    return "advance " + std::to_string(ms) + "ms";
}

std::string fault(const std::string& which, int32_t device, int64_t delayMs) {
    std::string line = "fault " + which + " " + std::to_string(device);
    if (which == "delay") {
        line += " " + std::to_string(delayMs) + "ms";
    }
    return line;
}

std::string load(const std::string& library) {
    return "load " + write_word(library);
}

std::string unload() {
    return "unload";
}

} // namespace page_statement
