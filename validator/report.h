// What one validator test found: how many checks it made, which of them
// failed, and progress lines for the reader.
#ifndef VREL_VALIDATOR_REPORT_H
#define VREL_VALIDATOR_REPORT_H

#include <string>
#include <vector>

class report {
public:
    // `verbosity` -1 prints nothing (failures are still kept, see messages),
    // 0 prints failures only, 1 adds progress, 2 every step, 3 every command
    // text.
    explicit report(int verbosity) : verbosity_(verbosity) {}

    // Counts one check; when it failed, prints `message`, which says in the
    // user's terms what went wrong. Returns `ok`.
    bool check(bool ok, const std::string& message);
    bool fail(const std::string& message) { return check(false, message); }
    // Counts one check that passed (for hot paths that build no message).
    void pass() { ++checks_; }

    // Prints `text` when the verbosity is at least `level`.
    void note(int level, const std::string& text) const;
    // Names what is being done, so that a failure or a crash can be placed.
    // The name also goes to the progress descriptor, when there is one.
    void step(const std::string& what);
    void setProgressDescriptor(int fd) { progressFd_ = fd; }
    // A running count shown with every failure ("notification 1234"), read
    // only when a failure is printed; null stops it.
    void track(const char* label, const long long* count) {
        trackedLabel_ = label;
        tracked_ = count;
    }
    const std::string& currentStep() const { return step_; }

    int verbosity() const { return verbosity_; }
    long long checks() const { return checks_; }
    long long failures() const { return failures_; }
    // The first failure messages, in order (for the validator's own tests).
    const std::vector<std::string>& messages() const { return messages_; }

private:
    int verbosity_;
    long long checks_ = 0;
    long long failures_ = 0;
    std::string step_;
    std::vector<std::string> messages_;
    int progressFd_ = -1;
    const char* trackedLabel_ = nullptr;
    const long long* tracked_ = nullptr;
};

#endif
