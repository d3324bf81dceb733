// Reply texts the host hands the component from send(). They belong to the
// host. Query replies ("TG", "XI") must come back with code 5 exactly once;
// no other reply may come back at all. The ledger keeps every text it issued
// until it goes away, so that a pointer handed back twice is still recognised.
#ifndef VREL_DEVHOST_REPLY_LEDGER_H
#define VREL_DEVHOST_REPLY_LEDGER_H

#include <map>
#include <memory>
#include <string>
#include <vector>

class reply_ledger {
public:
    // A new reply text for `command`; it stays valid while the ledger lives.
    char* issue(const std::string& command, const std::string& text, bool mustComeBack);

    // Code 5 with `pointer`. Returns what is wrong, in words, or the empty text
    // when the hand-back is in order.
    std::string handBack(const char* pointer);

    // Query replies not yet handed back; each is reported only once.
    std::vector<std::string> overdue();

    // The command a reply was issued for, or the empty text.
    std::string commandOf(const char* pointer) const;

private:
    struct reply {
        std::unique_ptr<char[]> text;
        std::string command;
        bool mustComeBack;
        unsigned long long order; // issue order, for reports
        int handedBack = 0;
        bool reportedOverdue = false;
    };
    std::map<const char*, reply> replies_;
    unsigned long long nextOrder_ = 0;
};

#endif
