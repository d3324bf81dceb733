#include "reply_ledger.h"

#include <cstring>

char* reply_ledger::issue(const std::string& command, const std::string& text, bool mustComeBack) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    char* pointer = copy.get();
    replies_[pointer] = reply{std::move(copy), command, mustComeBack, nextOrder_++};
    return pointer;
}

std::string reply_ledger::handBack(const char* pointer) {
    const auto found = replies_.find(pointer);
    if (found == replies_.end()) {
        return "handed back a pointer the host never gave out as a reply";
    }
    reply& r = found->second;
    ++r.handedBack;
    if (!r.mustComeBack) {
        return "handed back the reply to \"" + r.command +
               "\"; only the replies to TG and XI come back";
    }
    if (r.handedBack > 1) {
        return "handed back the reply to \"" + r.command + "\" a second time";
    }
    return std::string();
}

std::vector<std::string> reply_ledger::overdue() {
    std::map<unsigned long long, std::string> byOrder;
    for (auto& entry : replies_) {
        reply& r = entry.second;
        if (r.mustComeBack && r.handedBack == 0 && !r.reportedOverdue) {
            r.reportedOverdue = true;
            byOrder[r.order] = "never handed back the reply to \"" + r.command + "\"";
        }
    }
    std::vector<std::string> problems;
    for (auto& entry : byOrder) {
        problems.push_back(std::move(entry.second));
    }
    return problems;
}

std::string reply_ledger::commandOf(const char* pointer) const {
    const auto found = replies_.find(pointer);
    return found == replies_.end() ? std::string() : found->second.command;
}
