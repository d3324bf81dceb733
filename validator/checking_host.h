// The validator's host: it answers a component's commands as a panel host
// would and checks everything the component sends:
// - every text is NUL-terminated and has one of the command forms;
// - only the replies of the two queries ("TG", "XI") come back with code 5,
//   each exactly once and before the call into the component returns; no
//   other pointer ever comes back;
// - "AS" is sent exactly once, as the last command of the component's life;
// - the host's own first table entry is never called.
// It also keeps a hash of every text sent, so that two runs can be compared.
#ifndef VREL_VALIDATOR_CHECKING_HOST_H
#define VREL_VALIDATOR_CHECKING_HOST_H

#include "client_host.h"
#include "reply_ledger.h"
#include "report.h"

#include <cstdint>
#include <string>
#include <vector>

class checking_host final : public client_host {
public:
    explicit checking_host(report& out);
    checking_host(const checking_host&) = delete;
    checking_host& operator=(const checking_host&) = delete;
    ~checking_host();

    void reserved() override;
    char* send(const char* text, int code) override;

    // Marks the end of one call into the component: every query reply must
    // have come back by now. Frees the replies of the call and returns the
    // commands whose replies did not come back (the caller reports them).
    std::vector<std::string> endOfCall();
    // The component is about to be destroyed: "AS" must come next, and last.
    void beginDestruction() { destroying_ = true; }
    // After the destructor returned: "AS" must have been sent.
    void endOfLife();
    // Ready for a new component.
    void restart();

    // Answer "PS" with null instead of a reply.
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

private:
    void hash(const void* bytes, size_t length);
    void learnDevice(const char* text);

    report& out_;
    bool panelShowFails_ = false;
    bool answerEverything_ = false;
    bool keepTexts_ = false;
    bool destroying_ = false;
    bool ended_ = false;
    uint64_t hash_ = 1469598103934665603ULL;
    long long commands_ = 0;
    std::vector<std::string> texts_;
    std::vector<int32_t> devices_;
    reply_ledger replies_;
};

#endif
