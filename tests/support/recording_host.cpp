#include "recording_host.h"

#include <cstring>

recording_host::~recording_host() = default;

void recording_host::reserved() {
    faults_.push_back("the host's first table entry was called");
}

char* recording_host::send(const char* text, int code) {
    if (code == vrel_send_release) {
        auto found = replies_.find(text);
        if (found == replies_.end()) {
            faults_.push_back("code 5 with a pointer that is no reply of this host");
            return nullptr;
        }
        reply_text& reply = found->second;
        ++reply.handedBack;
        if (!reply.mustComeBack) {
            faults_.push_back("the reply to \"" + reply.command + "\" was handed back");
        } else if (reply.handedBack > 1) {
            faults_.push_back("the reply to \"" + reply.command + "\" was handed back twice");
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
    const bool query = command.rfind("TG ", 0) == 0 || command.rfind("XI ", 0) == 0;
    for (auto it = script_.begin(); it != script_.end(); ++it) {
        if (command.rfind(it->first, 0) == 0) {
            const std::string reply = it->second;
            script_.erase(it);
            return makeReply(command, reply, query);
        }
    }
    if (command.rfind("PS ", 0) == 0 && !panelShowFails_) {
        return makeReply(command, "ok", false);
    }
    return nullptr;
}

char* recording_host::makeReply(const std::string& command, const std::string& text,
                                bool mustComeBack) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    char* pointer = copy.get();
    replies_[pointer] = reply_text{std::move(copy), command, mustComeBack};
    return pointer;
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
    for (const auto& entry : replies_) {
        if (entry.second.mustComeBack && entry.second.handedBack == 0) {
            faults.push_back("the reply to \"" + entry.second.command + "\" never came back");
        }
    }
    return faults;
}
