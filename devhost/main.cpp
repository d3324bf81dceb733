// vrel-devhost: runs a component library without a facility.
#include "interactive_session.h"
#include "scenario_file.h"
#include "settings_check.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#define vrel_isatty _isatty
#else
#include <unistd.h>
#define vrel_isatty isatty
#endif

namespace fs = std::filesystem;

namespace {

const char* const description =
    R"(Runs a component library without a facility: each scenario file is run and
the traffic between the host and the component printed. Without a scenario,
the same statements are read from standard input (type help). "check" reports
what the component would mis-handle in the object_settings.xml of a settings
folder.)";

const char* const footer =
    R"(Exit status: 0 when everything passed, 1 when an expectation failed or the
host flagged a problem no scenario expected (check: when there are errors),
2 for bad usage, a missing file or a malformed scenario line.)";

// The folder of this program, for the default library folders.
fs::path programFolder(const char* argv0) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        return self.parent_path();
    }
    const fs::path given = fs::absolute(fs::path(argv0), error);
    return error ? fs::current_path(error) : given.parent_path();
}

int checkSettings(const std::string& folder) {
    const settings_report report = check_settings_folder(folder);
    for (const std::string& line : report.lines()) {
        std::cout << line << '\n';
    }
    std::cout << report.file << ": " << report.errors() << " error(s), " << report.warnings()
              << " warning(s)\n";
    return report.errors() == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app(description, "vrel-devhost");
    app.footer(footer);
    runner_options options;
    std::string logFile;
    std::string recordFile;
    bool quiet = false;
    std::vector<std::string> scenarios;
    app.add_option("--lib-dir", options.libraryFolders,
                   "Where a library named by name alone is looked for (repeatable; default: "
                   "../lib beside this program, then its own folder)")
        ->type_name("FOLDER")
        ->allow_extra_args(false);
    app.add_option("--log", logFile, "Write the traffic log to FILE instead of standard output")
        ->type_name("FILE");
    app.add_flag("--quiet", quiet, "No traffic log: only failures and the summary");
    app.add_option("--record", recordFile,
                   "Interactive use: save the session as a scenario at the end")
        ->type_name("FILE");
    app.add_option("scenario", scenarios, "Scenario files to run, in order")->type_name("FILE");

    std::string checkFolder;
    CLI::App* check = app.add_subcommand(
        "check", "Report what the component would mis-handle in a settings folder");
    check->add_option("folder", checkFolder, "The folder holding object_settings.xml")
        ->required()
        ->type_name("FOLDER");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::ParseError& e) {
        std::cerr << "vrel-devhost: " << e.what() << "\n(vrel-devhost --help shows the options)\n";
        return 2;
    }
    if (check->parsed()) {
        return checkSettings(checkFolder);
    }

    if (options.libraryFolders.empty()) {
        const fs::path folder = programFolder(argc > 0 ? argv[0] : "");
        options.libraryFolders.push_back((folder.parent_path() / "lib").generic_string());
        options.libraryFolders.push_back(folder.generic_string());
    }
    if (!recordFile.empty() && !scenarios.empty()) {
        std::cerr << "vrel-devhost: --record is for interactive use, not with scenario files\n";
        return 2;
    }

    std::ofstream logStream;
    std::ostream* logOutput = &std::cout;
    if (quiet) {
        logOutput = nullptr;
    } else if (!logFile.empty()) {
        logStream.open(logFile, std::ios::binary);
        if (!logStream) {
            std::cerr << "vrel-devhost: cannot write the log file " << logFile << '\n';
            return 2;
        }
        logOutput = &logStream;
    }

    if (scenarios.empty()) {
        traffic_log log;
        interactive_options interactive;
        interactive.logOutput = logOutput;
        interactive.runner = options;
        interactive.recordFile = recordFile;
        interactive.prompt = vrel_isatty(0) != 0;
        return run_interactive(std::cin, std::cout, log, interactive);
    }

    int status = scenario_passed;
    for (const std::string& scenario : scenarios) {
        const scenario_exit result =
            run_scenario_file(scenario, options, logOutput, std::cout, std::cerr);
        if (result > status) {
            status = result;
        }
    }
    return status;
}
