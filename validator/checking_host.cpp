#include "checking_host.h"

#include <cstring>

checking_host::checking_host(report& out) : out_(out) {}

checking_host::~checking_host() = default;

void checking_host::reserved() {
    checker_.reservedCalled();
}

void checking_host::breach(const rule_entry& rule, const std::string& message) {
    breached_ = true;
    if (rule.severity == rule_severity::problem) {
        out_.fail(message);
        return;
    }
    ++notes_[rule.name];
    out_.note(2, "  note: " + message);
}

const panel* checking_host::shownPanel(const std::string& number) const {
    const auto found = panels_.find(number);
    return found == panels_.end() ? nullptr : &found->second;
}

void checking_host::hash(const void* bytes, size_t length) {
    // FNV-1a, 64 bits.
    const unsigned char* at = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < length; ++i) {
        hash_ = (hash_ ^ at[i]) * 1099511628211ULL;
    }
}

void checking_host::addToTranscript(const char* text, size_t length) {
    hash(text, length);
    hash("\n", 1);
}

char* checking_host::send(const char* text, int code) {
    breached_ = false;
    const protocol_checker::sent sent = checker_.send(text, code);
    if (sent.readable) {
        ++commands_;
        hash(sent.text.c_str(), sent.text.size() + 1);
        if (keepTexts_) {
            texts_.push_back(sent.text);
        }
        if (out_.verbosity() >= 3) {
            out_.note(3, "  sent: " + printable(sent.text.c_str(), sent.text.size()));
        }
    }
    if (!breached_) {
        out_.pass();
    }
    return sent.ok ? carryOut(sent) : nullptr;
}

char* checking_host::carryOut(const protocol_checker::sent& sent) {
    const host_command& command = sent.command;
    switch (command.word) {
    case command_word::PS: {
        panel shown;
        std::vector<std::string> oddities;
        if (!checker_.loadPanel(command, shown, oddities)) {
            return nullptr;
        }
        panels_[command.texts[0]] = std::move(shown);
        if (panelShowFails_) {
            return nullptr;
        }
        return checker_.issueReply(sent.text, "ok");
    }
    case command_word::TG:
        // A TG reply has the form property=value; XI answers with control ids.
        return checker_.issueReply(sent.text, "value=1");
    case command_word::XI:
        return checker_.issueReply(sent.text, "alm_1,alm_2");
    case command_word::ET:
        if (command.numbers.size() == 1) {
            timers_.erase(command.numbers[0]);
        } else if (command.numbers[1] >= 1) {
            timers_.insert(command.numbers[0]);
        }
        break;
    case command_word::RR:
    case command_word::RP:
        learnDevice(command.numbers[0]);
        break;
    default:
        break;
    }
    return answerEverything_ ? checker_.issueReply(sent.text, "done") : nullptr;
}

void checking_host::restart() {
    checker_.restart();
    panels_.clear();
    timers_.clear();
}

void checking_host::learnDevice(int32_t device) {
    for (int32_t known : devices_) {
        if (known == device) {
            return;
        }
    }
    if (devices_.size() < 16) {
        devices_.push_back(device);
    }
}
