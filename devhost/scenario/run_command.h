// Running scenario files from the command line: "vrel-devhost a.scenario ...".
#ifndef VREL_DEVHOST_RUN_COMMAND_H
#define VREL_DEVHOST_RUN_COMMAND_H

#include "devhost_options.h"

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

class run_command {
public:
    run_command(CLI::App& app, devhost_options& common);

    bool chosen() const { return !scenarios_.empty(); }
    // Runs every file; the worst exit status.
    int run();

private:
    devhost_options& common_;
    std::vector<std::string> scenarios_;
};

#endif
