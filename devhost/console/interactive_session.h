// Interactive use: the scenario language read line by line, with help, show
// and save. A failed statement or a malformed line is reported and the
// session goes on; the session may start from a settings folder, a scenario
// and a library given as options. It ends with quit, at the end of the input
// or on Ctrl-C, always the same way: the component is destroyed, the summary
// printed and the recording saved.
#ifndef VREL_DEVHOST_INTERACTIVE_SESSION_H
#define VREL_DEVHOST_INTERACTIVE_SESSION_H

#include "line_source.h"
#include "scenario_runner.h"
#include "session_recorder.h"
#include "traffic_log.h"
#include "traffic_printer.h"

#include <ostream>
#include <string>

// What runs before the first line is read, in this order.
struct console_start {
    std::string settingsFolder; // as "settings <folder>"
    std::string scenarioFile;   // its statements (up to the first failure)
    std::string library;        // as "load <library>"
};

struct interactive_options {
    runner_options runner;
    // When not empty, the session is saved there as a scenario when it ends.
    std::string recordFile;
    // Where the traffic is printed as it happens; null: nowhere.
    std::ostream* logOutput = nullptr;
    // Fold bursts of route statuses in the printed traffic (for a screen;
    // a --log file keeps every line).
    bool foldStatuses = false;
    console_start start;
};

class console_session {
public:
    // Messages, "show" and the summary go to `out`, coloured when `out` is
    // marked so (set_colored).
    console_session(std::ostream& out, traffic_log& log, const interactive_options& options);
    console_session(const console_session&) = delete;
    console_session& operator=(const console_session&) = delete;

    // Runs the start, then the lines until quit, the end or an interrupt.
    // Returns the exit status: 2 when a line was malformed or the start
    // scenario could not be read, otherwise 1 when a statement failed or a
    // problem was left unexpected, otherwise 0.
    int run(line_source& lines);

    // The facility as it is now (for completion).
    const emulated_host& host() const { return runner_.host(); }

private:
    bool start();
    // Runs "settings" or "load" made from a command line option.
    bool runOption(const std::string& option, const std::string& line);
    void runLine(line_source& lines, const std::string& text);
    // `option`: the command line option the statement was made from.
    bool runStatement(const statement& s, bool typed, const std::string& option = std::string());
    void malformed(const std::string& message);
    void problem(const std::string& message);
    void end(bool interrupted);
    int status() const;

    std::ostream& out_;
    traffic_log& log_;
    interactive_options options_;
    scenario_runner runner_;
    traffic_printer printer_;
    session_recorder recorder_;
    int lineNumber_ = 0;
    int malformed_ = 0;
    int failed_ = 0;
    bool quit_ = false;
    bool unusable_ = false;
};

#endif
