#include "recording_host.h"

#include "command_reader.h"

recording_host::~recording_host() = default;

void recording_host::reserved() {
    faults_.push_back("the host's first table entry was called");
}

char* recording_host::send(const char* text, int code) {
    if (code == vrel_send_release) {
        const std::string wrong = replies_.handBack(text);
        if (!wrong.empty()) {
            faults_.push_back("the component " + wrong);
        }
        return nullptr;
    }
    if (text == nullptr) {
        faults_.push_back("a null command text was sent");
        calls_.push_back({"", code});
        return nullptr;
    }
    calls_.push_back({text, code});
    if (code != vrel_send_execute) {
        faults_.push_back("unknown send code " + std::to_string(code));
        return nullptr;
    }
    const std::string command = text;
    const bool query = is_query_text(text);
    for (auto it = script_.begin(); it != script_.end(); ++it) {
        if (command.rfind(it->first, 0) == 0) {
            const std::string reply = it->second;
            script_.erase(it);
            return replies_.issue(command, reply, query);
        }
    }
    if (command.rfind("PS ", 0) == 0 && !panelShowFails_) {
        return replies_.issue(command, "ok", false);
    }
    return nullptr;
}

void recording_host::replyTo(const std::string& prefix, const std::string& reply) {
    script_.emplace_back(prefix, reply);
}

std::vector<std::string> recording_host::commands() const {
    std::vector<std::string> texts;
    for (const call& c : calls_) {
        if (c.code == vrel_send_execute) {
            texts.push_back(c.text);
        }
    }
    return texts;
}

std::vector<std::string> recording_host::takeCommands() {
    std::vector<std::string> texts;
    for (; taken_ < calls_.size(); ++taken_) {
        if (calls_[taken_].code == vrel_send_execute) {
            texts.push_back(calls_[taken_].text);
        }
    }
    return texts;
}

void recording_host::clear() {
    calls_.clear();
    taken_ = 0;
}

std::vector<std::string> recording_host::protocolFaults() const {
    std::vector<std::string> faults = faults_;
    for (const std::string& command : replies_.outstanding()) {
        faults.push_back("the component never handed back the reply to \"" + command + "\"");
    }
    return faults;
}
