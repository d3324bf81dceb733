// Interactive use: the scenario language read line by line from a stream,
// with help, show and save. A failed expectation is reported and the session
// goes on.
#ifndef VREL_DEVHOST_INTERACTIVE_SESSION_H
#define VREL_DEVHOST_INTERACTIVE_SESSION_H

#include "scenario_runner.h"
#include "traffic_log.h"

#include <istream>
#include <ostream>
#include <string>

struct interactive_options {
    runner_options runner;
    // When not empty, the session is saved there as a scenario when it ends.
    std::string recordFile;
    // Show a prompt before each line (when reading from a terminal).
    bool prompt = false;
    // Where the traffic is printed as it happens; null: nowhere.
    std::ostream* logOutput = nullptr;
};

// Runs the session until `quit` or the end of `in`. Returns the exit status:
// 0, or 1 when an expectation failed or a problem was left unexpected.
int run_interactive(std::istream& in, std::ostream& out, traffic_log& log,
                    const interactive_options& options);

#endif
