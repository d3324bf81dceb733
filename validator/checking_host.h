// The validator's host: it answers a component's commands as a panel host
// would and checks everything the component sends and returns through the
// rule book (protocol_checker): the forms of the command texts, the replies
// handed back, "AS" last and only while being destroyed, the panel shown
// before its controls are written, the timers, and the rest. A problem fails
// the test; a note is counted and printed at -v.
// It also keeps a hash of every text sent, so that two runs can be compared.
#ifndef VREL_VALIDATOR_CHECKING_HOST_H
#define VREL_VALIDATOR_CHECKING_HOST_H

#include "client_host.h"
#include "panel.h"
#include "protocol_checker.h"
#include "report.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

class checking_host final : public client_host, private breach_listener, private host_state {
public:
    explicit checking_host(report& out);
    checking_host(const checking_host&) = delete;
    checking_host& operator=(const checking_host&) = delete;
    ~checking_host();

    void reserved() override;
    char* send(const char* text, int code) override;

    // The driver calls into the component, and the call returned: every
    // query reply must have come back by then. `what` names the call.
    void enterCall() { checker_.enterCall(); }
    void leaveCall(const std::string& what) { checker_.leaveCall(what); }
    // The component is about to be destroyed: "AS" must come next, and last.
    void beginDestruction() { checker_.beginDestruction(); }
    // After the destructor returned: "AS" must have been sent.
    void endOfLife() { checker_.endOfLife(); }
    // Ready for a new component.
    void restart();

    // Answer "PS" with null instead of a reply. The panel still counts as
    // shown: a component may ignore what "PS" answers.
    void setPanelShowFails(bool fails) { panelShowFails_ = fails; }
    // Answer every command, not only "PS" and the queries, with a reply
    // (which must never come back).
    void setAnswerEverything(bool answer) { answerEverything_ = answer; }
    // Keep every text sent (for tests); off by default.
    void setKeepTexts(bool keep) { keepTexts_ = keep; }

    // Adds bytes that are not a command (a reply of the component) to the hash.
    void addToTranscript(const char* text, size_t length);
    uint64_t transcriptHash() const { return hash_; }
    long long commandsSent() const { return commands_; }
    const std::vector<std::string>& texts() const { return texts_; }
    // Device numbers the component registered or polled ("RR", "RP").
    const std::vector<int32_t>& devices() const { return devices_; }
    // How often each note of the rule book was raised, by rule name.
    const std::map<std::string, long long>& notes() const { return notes_; }

private:
    void breach(const rule_entry& rule, const std::string& message) override;
    const panel* shownPanel(const std::string& number) const override;
    bool timerRunning(int32_t id) const override { return timers_.count(id) != 0; }

    void hash(const void* bytes, size_t length);
    char* carryOut(const protocol_checker::sent& sent);
    void learnDevice(int32_t device);

    report& out_;
    bool panelShowFails_ = false;
    bool answerEverything_ = false;
    bool keepTexts_ = false;
    bool breached_ = false;
    uint64_t hash_ = 1469598103934665603ULL;
    long long commands_ = 0;
    std::vector<std::string> texts_;
    std::vector<int32_t> devices_;
    std::map<std::string, panel> panels_;
    std::set<int32_t> timers_;
    std::map<std::string, long long> notes_;
    protocol_checker checker_{*this, this, checked_life{}};
};

#endif
