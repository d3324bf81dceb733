// A host that records every command a component sends, answers from a script,
// and checks what it can through the rule book: the forms of the texts, and
// that every non-null reply to a query ("TG", "XI") comes back with code 5
// exactly once while no other reply ever does. It shows no panels, runs no
// timers and is not told when it is called or when the component is
// destroyed, so the rules that need those are left to the other hosts.
#ifndef VREL_TESTS_RECORDING_HOST_H
#define VREL_TESTS_RECORDING_HOST_H

#include "client_host.h"
#include "protocol_checker.h"

#include <deque>
#include <string>
#include <vector>

class recording_host final : public client_host, private breach_listener {
public:
    struct call {
        std::string text;
        int code;
    };

    recording_host() = default;
    recording_host(const recording_host&) = delete;
    recording_host& operator=(const recording_host&) = delete;
    ~recording_host();

    void reserved() override;
    char* send(const char* text, int code) override;

    // Answers the next command whose text starts with `prefix` with `reply`
    // (once per call of this function, in order). Without a scripted reply a
    // "PS" is answered "ok" and everything else with null.
    void replyTo(const std::string& prefix, const std::string& reply);
    // Answers every "PS" with null.
    void failPanelShow() { panelShowFails_ = true; }

    // Every code-0 text, in order.
    std::vector<std::string> commands() const;
    // Every code-0 text since the last call of this function.
    std::vector<std::string> takeCommands();
    const std::vector<call>& calls() const { return calls_; }
    void clear();

    // Protocol faults seen so far, in words; empty when all is well. Replies
    // to queries still outstanding count as faults.
    std::vector<std::string> protocolFaults() const;
    // The notes of the rule book raised so far (a negative index, ...).
    const std::vector<std::string>& notes() const { return notes_; }

private:
    void breach(const rule_entry& rule, const std::string& message) override;

    std::vector<call> calls_;
    size_t taken_ = 0;
    std::deque<std::pair<std::string, std::string>> script_;
    bool panelShowFails_ = false;
    std::vector<std::string> faults_;
    std::vector<std::string> notes_;
    protocol_checker checker_{*this, nullptr, checked_life{false, false}};
};

#endif
