// Reply texts a host hands a component from send(). They belong to the host.
// Query replies ("TG", "XI") must come back with code 5 exactly once, before
// the call into the component that asked returns; no other reply may come
// back at all. The ledger keeps the texts of the current call, and those of
// the last calls before it, so that a pointer handed back late or twice is
// still recognised rather than read as freed memory.
#ifndef VREL_HOST_REPLY_LEDGER_H
#define VREL_HOST_REPLY_LEDGER_H

#include "protocol_rules.h"

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

class reply_ledger {
public:
    // A new reply text for `command`; it stays valid until its call ends and
    // after that while it is among the last `settledKept` replies issued.
    char* issue(const std::string& command, const std::string& text, bool mustComeBack);

    // Code 5 with `pointer`. Returns what is wrong, in words ("handed back
    // ..."), or the empty text when the hand-back is in order; `broken`, when
    // given, is set to the rule the hand-back breaks.
    std::string handBack(const char* pointer, protocol_rule* broken = nullptr);

    // The commands of the query replies of this call not yet handed back,
    // oldest first.
    std::vector<std::string> outstanding() const;

    // The call into the component has returned: the same list as
    // outstanding(), after which every reply of the call is settled.
    std::vector<std::string> endOfCall();

    // Forgets every reply, settled or not (a new component begins).
    void clear() {
        open_.clear();
        settled_.clear();
    }

    // The command a reply was issued for, or the empty text.
    std::string commandOf(const char* pointer) const;

    // Replies of ended calls kept recognisable.
    static constexpr size_t settledKept = 64;

private:
    struct reply {
        std::unique_ptr<char[]> text;
        std::string command;
        bool mustComeBack = false;
        unsigned long long order = 0; // issue order, for reports
        int handedBack = 0;
    };
    const reply* find(const char* pointer) const;

    std::map<const char*, reply> open_;
    std::deque<reply> settled_;
    unsigned long long nextOrder_ = 0;
};

#endif
