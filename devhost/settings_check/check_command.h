// "vrel-devhost check <settings>": the settings check from the command line,
// against the rules of the components in the library folders.
#ifndef VREL_DEVHOST_CHECK_COMMAND_H
#define VREL_DEVHOST_CHECK_COMMAND_H

#include "devhost_options.h"

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>
#include <vector>

// What the check is asked to do.
struct check_request {
    std::string path;      // a settings folder, or its object_settings.xml
    std::string rulesFile; // --rules: check against this rules file only
    std::string component; // --component: against this component's rules only
    // Where the components' rules files are looked for.
    std::vector<std::string> libraryFolders;
};

// Exit statuses of the check.
enum check_exit {
    check_passed = 0,   // no errors (warnings may have been printed)
    check_failed = 1,   // the settings have errors, or cannot be read
    check_unusable = 2, // no rules, bad rules, or the report could not be written
};

// Finds the rules, checks the settings and prints the findings and a summary
// on `out`; what keeps the check from being made, or its report from being
// written, goes to `err`. Every write to `out` is checked.
check_exit run_settings_check(const check_request& request, std::ostream& out, std::ostream& err);

class check_command {
public:
    check_command(CLI::App& app, const devhost_options& common);

    bool chosen() const { return command_->parsed(); }
    // After devhost_options::settle: the exit status.
    int run() const;

private:
    CLI::App* command_;
    const devhost_options& common_;
    check_request request_;
};

#endif
