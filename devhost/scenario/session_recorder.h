// Turns an interactive session into a scenario: each statement that ran, and
// after each action the traffic it caused, written as expectations. Played
// back, the scenario checks that the component still does what it did.
#ifndef VREL_DEVHOST_SESSION_RECORDER_H
#define VREL_DEVHOST_SESSION_RECORDER_H

#include "scenario_runner.h"
#include "scenario_statement.h"
#include "traffic_log.h"

#include <string>
#include <vector>

class session_recorder {
public:
    // Adds a statement that `runner` has just run successfully.
    void record(const statement& s, const scenario_runner& runner, const traffic_log& log);

    // The recorded session as scenario text; paths are written relative to the
    // folder of `file`, where the scenario will be saved.
    std::string scenarioText(const std::string& file) const;
    bool save(const std::string& file, std::string& error) const;

    size_t statementCount() const { return statements_; }

private:
    struct recorded_line {
        std::string text;     // the statement, or an expectation
        std::string absolute; // for settings and load by path: the path to rewrite
        std::string verb;
        std::string rest; // what follows the path on the line
    };
    std::vector<recorded_line> lines_;
    size_t statements_ = 0;
};

#endif
