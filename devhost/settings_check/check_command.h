// "vrel-devhost check <folder>": the settings check from the command line.
#ifndef VREL_DEVHOST_CHECK_COMMAND_H
#define VREL_DEVHOST_CHECK_COMMAND_H

#include <CLI/CLI.hpp>

#include <string>

class check_command {
public:
    explicit check_command(CLI::App& app);

    bool chosen() const { return command_->parsed(); }
    // Prints the findings and a summary; the exit status.
    int run() const;

private:
    CLI::App* command_;
    std::string folder_;
};

#endif
