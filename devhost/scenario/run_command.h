// Running scenario files from the command line: "vrel-devhost a.scenario ...".
#ifndef VREL_DEVHOST_RUN_COMMAND_H
#define VREL_DEVHOST_RUN_COMMAND_H

#include "devhost_options.h"
#include "scenario_file.h"

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

class run_command {
public:
    run_command(CLI::App& app, devhost_options& common);

    bool chosen() const { return !scenarios_.empty(); }
    // Runs every file, then says how many passed and writes the JUnit report
    // when asked; the worst exit status.
    int run();

private:
    devhost_options& common_;
    std::vector<std::string> scenarios_;
    std::string junitFile_;
};

// A JUnit XML report of scenario runs, one test case per file. False with
// `error` when the file cannot be written.
bool write_junit_report(const std::string& file, const std::vector<std::string>& scenarios,
                        const std::vector<scenario_result>& results, std::string& error);

#endif
