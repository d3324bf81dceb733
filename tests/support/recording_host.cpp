#include "recording_host.h"

recording_host::~recording_host() = default;

void recording_host::breach(const rule_entry& rule, const std::string& message) {
    (rule.severity == rule_severity::problem ? faults_ : notes_).push_back(message);
}

void recording_host::reserved() {
    checker_.reservedCalled();
}

char* recording_host::send(const char* text, int code) {
    const protocol_checker::sent sent = checker_.send(text, code);
    if (sent.release) {
        return nullptr;
    }
    calls_.push_back({text != nullptr ? std::string(text) : std::string(), code});
    if (code != vrel_send_execute || text == nullptr) {
        return nullptr;
    }
    const std::string& command = sent.text;
    for (auto it = script_.begin(); it != script_.end(); ++it) {
        if (command.rfind(it->first, 0) == 0) {
            const std::string reply = it->second;
            script_.erase(it);
            return checker_.issueReply(command, reply);
        }
    }
    if (command.rfind("PS ", 0) == 0 && !panelShowFails_) {
        return checker_.issueReply(command, "ok");
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
    for (const std::string& message : checker_.outstandingReplies()) {
        faults.push_back(message);
    }
    return faults;
}
