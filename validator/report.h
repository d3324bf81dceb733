// What one validator test found: how many checks it made, which of them
// failed (each distinct failure once, with its count), and lines for the
// reader by verbosity.
#ifndef VREL_VALIDATOR_REPORT_H
#define VREL_VALIDATOR_REPORT_H

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

// One failure message and how often the test hit it.
struct folded_failure {
    std::string message;
    long long count = 0;
    std::string during; // the step of its first occurrence
};

class report {
public:
    // `verbosity`: -1 prints nothing (failures are still kept, see
    // failures()); 0 (-q) failures only; 1 adds measurements and, on a long
    // test, a progress line every few seconds; 2 (-v) every step; 3 (-v -v)
    // every command text and reply. Lines go to `sink`.
    explicit report(int verbosity, std::FILE* sink = stdout);

    // Counts one check; when it failed, prints `message` (the first time it
    // is seen in this test), which says in the user's terms what went wrong.
    // Returns `ok`.
    bool check(bool ok, const std::string& message);
    bool fail(const std::string& message) { return check(false, message); }
    // Counts one check that passed (for hot paths that build no message).
    void pass() { ++checks_; }

    // Prints `text` when the verbosity is at least `level`.
    void note(int level, const std::string& text) const;
    // Names what is being done, so that a failure or a crash can be placed
    // and a long test shows progress. The name also goes to the progress
    // descriptor, when there is one.
    void step(const std::string& what);
    void setProgressDescriptor(int fd) { progressFd_ = fd; }
    // How often a long test prints its step at verbosity 1.
    void setProgressInterval(std::chrono::steady_clock::duration interval) {
        progressInterval_ = interval;
    }
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
    // The distinct failures in the order first seen, at most `keptFailures`;
    // failures with other messages past those are only counted.
    const std::vector<folded_failure>& folded() const { return folded_; }
    long long unlistedFailures() const { return unlisted_; }
    // The distinct failure messages in order (for the validator's own tests).
    std::vector<std::string> messages() const;

    static constexpr size_t keptFailures = 25;

private:
    // A line to the progress descriptor, when there is one.
    void progress(const std::string& line) const;

    int verbosity_;
    std::FILE* sink_;
    long long checks_ = 0;
    long long failures_ = 0;
    long long unlisted_ = 0;
    std::string step_;
    std::vector<folded_failure> folded_;
    int progressFd_ = -1;
    const char* trackedLabel_ = nullptr;
    const long long* tracked_ = nullptr;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastProgress_;
    std::chrono::steady_clock::duration progressInterval_ = std::chrono::seconds(5);
};

// A text on one line of the progress pipe (backslash, line feed and tab
// escaped), and back.
std::string progress_text(const std::string& text);
std::string from_progress_text(const std::string& text);

// The lines that say how often each repeated failure of a test happened, to
// follow its first occurrence: "    (20 times in all: the reply to ...)".
std::vector<std::string> repeatLines(const std::vector<folded_failure>& failures,
                                     long long unlisted);

#endif
