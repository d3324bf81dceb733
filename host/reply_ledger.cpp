#include "reply_ledger.h"

#include <algorithm>
#include <cstring>

char* reply_ledger::issue(const std::string& command, const std::string& text, bool mustComeBack) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    char* pointer = copy.get();
    reply& entry = open_[pointer];
    entry.text = std::move(copy);
    entry.command = command;
    entry.mustComeBack = mustComeBack;
    entry.order = nextOrder_++;
    return pointer;
}

const reply_ledger::reply* reply_ledger::find(const char* pointer) const {
    const auto found = open_.find(pointer);
    if (found != open_.end()) {
        return &found->second;
    }
    for (const reply& r : settled_) {
        if (r.text.get() == pointer) {
            return &r;
        }
    }
    return nullptr;
}

std::string reply_ledger::handBack(const char* pointer, protocol_rule* broken) {
    protocol_rule unused = protocol_rule::known_reply;
    protocol_rule& rule = broken != nullptr ? *broken : unused;
    const auto found = open_.find(pointer);
    if (found == open_.end()) {
        rule = protocol_rule::known_reply;
        const reply* late = find(pointer);
        if (late == nullptr) {
            return "handed back a pointer the host never gave out as a reply";
        }
        return "handed back the reply to \"" + late->command +
               "\" after the call that asked for it had returned";
    }
    reply& r = found->second;
    ++r.handedBack;
    if (!r.mustComeBack) {
        rule = protocol_rule::only_query_replies;
        return "handed back the reply to \"" + r.command +
               "\"; only the replies to TG and XI come back";
    }
    if (r.handedBack > 1) {
        rule = protocol_rule::reply_back_once;
        return "handed back the reply to \"" + r.command + "\" a second time";
    }
    return std::string();
}

std::vector<std::string> reply_ledger::outstanding() const {
    std::vector<const reply*> waiting;
    for (const auto& entry : open_) {
        if (entry.second.mustComeBack && entry.second.handedBack == 0) {
            waiting.push_back(&entry.second);
        }
    }
    std::sort(waiting.begin(), waiting.end(),
              [](const reply* a, const reply* b) { return a->order < b->order; });
    std::vector<std::string> commands;
    for (const reply* r : waiting) {
        commands.push_back(r->command);
    }
    return commands;
}

std::vector<std::string> reply_ledger::endOfCall() {
    std::vector<std::string> overdue = outstanding();
    for (auto& entry : open_) {
        settled_.push_back(std::move(entry.second));
    }
    open_.clear();
    while (settled_.size() > settledKept) {
        settled_.pop_front();
    }
    return overdue;
}

std::string reply_ledger::commandOf(const char* pointer) const {
    const reply* r = find(pointer);
    return r == nullptr ? std::string() : r->command;
}
