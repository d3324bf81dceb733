// What every way of running the development host shares: where component
// libraries are looked for and where the traffic log goes.
#ifndef VREL_DEVHOST_DEVHOST_OPTIONS_H
#define VREL_DEVHOST_DEVHOST_OPTIONS_H

#include <CLI/CLI.hpp>

#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

struct devhost_options {
    // Where a library named without a path ("load Tavrin") is looked for.
    std::vector<std::string> libraryFolders;
    std::string logFile;
    bool quiet = false;
    // "auto", "always" or "never": colours in the printed traffic.
    std::string color = "auto";

    // Adds --lib-dir, --log, --quiet and --color.
    void addTo(CLI::App& app);
    // After parsing: the default library folders (../lib beside this program,
    // then its own folder) when none was given.
    void settle(const char* argv0);
    // Where the traffic log goes: standard output, the --log file, or null
    // with --quiet. False with `error` when the log file cannot be written.
    // Marks standard output and the log file as coloured or not (see
    // set_colored): --color=always colours both, auto colours standard output
    // when it is a terminal that takes colours and NO_COLOR is not set.
    bool openLog(std::ostream*& log, std::string& error);

private:
    std::unique_ptr<std::ofstream> logStream_;
};

#endif
