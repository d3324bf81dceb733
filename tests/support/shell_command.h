// Runs a command line through the shell and keeps what it printed on its
// standard output and how it ended, for tests of the programs as a user runs
// them.
#ifndef VREL_TEST_SHELL_COMMAND_H
#define VREL_TEST_SHELL_COMMAND_H

#include <string>

struct command_result {
    int status = -1; // the exit status; -1 when the command did not exit
    std::string output;
};

command_result run_shell_command(const std::string& command);

#endif
