// The console: "vrel-devhost" without scenario files reads statements from
// standard input, with line editing, history and completion at a terminal.
#ifndef VREL_DEVHOST_CONSOLE_COMMAND_H
#define VREL_DEVHOST_CONSOLE_COMMAND_H

#include "devhost_options.h"
#include "interactive_session.h"

#include <CLI/CLI.hpp>

#include <string>

class console_command {
public:
    console_command(CLI::App& app, devhost_options& common);

    // Bad combinations of options, in words; empty when all is well.
    std::string problem(bool scenariosGiven) const;
    int run();

private:
    devhost_options& common_;
    std::string recordFile_;
    std::string historyFile_;
    console_start start_;
};

#endif
