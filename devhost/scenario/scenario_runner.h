// Runs scenario statements against an emulated host and a loaded component
// library, and checks the expectations.
//
// Every action (press, parent, status, route, advance, fault, load, unload)
// opens a new window of traffic. "expect sent" walks the commands of the
// current window in order; "expect debug" reads the window's debug output.
// Problems the host flags must be expected with "expect flagged"; any left
// over fail the run when it finishes.
#ifndef VREL_DEVHOST_SCENARIO_RUNNER_H
#define VREL_DEVHOST_SCENARIO_RUNNER_H

#include "component_library.h"
#include "emulated_host.h"
#include "scenario_statement.h"
#include "traffic_log.h"

#include <ostream>
#include <set>
#include <string>
#include <vector>

struct runner_options {
    // Where a library named without a path ("Tavrin") is looked for.
    std::vector<std::string> libraryFolders;
    // Where relative paths in statements start: the scenario file's folder,
    // or the current folder in interactive use.
    std::string baseFolder = ".";
    // Where "show" prints; null prints nothing.
    std::ostream* showOutput = nullptr;
};

class scenario_runner {
public:
    scenario_runner(traffic_log& log, runner_options options);
    scenario_runner(const scenario_runner&) = delete;
    scenario_runner& operator=(const scenario_runner&) = delete;
    ~scenario_runner();

    // Runs one statement. False when it failed; failure() says where and why.
    // help, save and quit are the caller's business and do nothing here.
    bool run(const statement& s);

    // Destroys the component and unloads its library, then fails when the host
    // flagged problems that no "expect flagged" took.
    bool finish();

    const std::string& failure() const { return failure_; }
    emulated_host& host() { return host_; }
    const emulated_host& host() const { return host_; }

    // Start of the current window in the traffic log.
    size_t windowStart() const { return windowStart_; }
    // The reply of the last parent command.
    bool lastReplied() const { return lastReplied_; }
    const std::string& lastReply() const { return lastReply_; }

    // The most crosspoints "router" lines may set in one run.
    static constexpr int64_t maxCrosspointsPreset = 1000000;
    // The most log entries a window keeps: of a longer one (an action, then a
    // great many statements that cause nothing), the oldest are forgotten.
    static constexpr size_t windowKept = 100000;

    int stepsRun() const { return steps_; }
    // The numbers of the flagged log entries that "expect flagged" took.
    const std::set<size_t>& expectedFlags() const { return expectedFlags_; }
    int expectationsMet() const { return expectationsMet_; }

    // A text with ${component} replaced by the component path.
    std::string expand(const std::string& text) const;
    // A path of a statement, made absolute against the base folder.
    std::string resolve(const std::string& path) const;

private:
    bool act(const statement& s);
    bool check(const statement& s);
    // One expectation each, as check() dispatches them.
    bool checkSent(const statement& s);
    bool checkNothingSent(const statement& s);
    bool checkProperty(const statement& s);
    bool checkCrosspoint(const statement& s);
    bool checkInfo(const statement& s);
    bool checkReply(const statement& s);
    bool checkDebug(const statement& s);
    bool checkTimer(const statement& s);
    bool checkFlagged(const statement& s);
    bool load(const statement& s);
    bool unload();
    bool fail(const statement& s, const std::string& message);
    bool mismatch(const statement& s, const std::string& expected, const std::string& seen);
    bool met();
    // Forgets the oldest entries of a window longer than windowKept.
    void boundWindow();
    // The commands of the current window, marked as matched or compared, for
    // a failed "expect sent".
    std::string windowCommands() const;

    traffic_log& log_;
    runner_options options_;
    // Declared before the host, so that the component is destroyed before
    // its library is unloaded.
    component_library library_;
    emulated_host host_;

    size_t windowStart_ = 0;
    size_t sentCursor_ = 0;
    bool windowCut_ = false; // the window's oldest entries were forgotten
    bool settingsGiven_ = false;
    bool parentSent_ = false;
    bool lastReplied_ = false;
    std::string lastReply_;
    std::set<size_t> expectedFlags_;
    int64_t crosspointsPreset_ = 0;
    int steps_ = 0;
    int expectationsMet_ = 0;
    std::string failure_;
};

#endif
