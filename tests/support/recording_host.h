// A host that records every command a component sends, answers from a script,
// and checks the reply protocol: every non-null reply to a query ("TG", "XI")
// comes back with code 5 exactly once, and no other reply ever does.
#ifndef VREL_TESTS_RECORDING_HOST_H
#define VREL_TESTS_RECORDING_HOST_H

#include "client_host.h"
#include "reply_ledger.h"

#include <deque>
#include <string>
#include <vector>

class recording_host final : public client_host {
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

private:
    std::vector<call> calls_;
    size_t taken_ = 0;
    std::deque<std::pair<std::string, std::string>> script_;
    bool panelShowFails_ = false;
    reply_ledger replies_;
    std::vector<std::string> faults_;
};

#endif
