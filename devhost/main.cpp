// vrel-devhost: runs a component library without a facility.
#include "interactive_session.h"
#include "scenario_file.h"
#include "settings_check.h"

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

const char* const usage = R"(usage: vrel-devhost [options] [<scenario> ...]
       vrel-devhost check <settings folder>

Runs each scenario file and prints the traffic between the host and the
component. Without a scenario, reads the same statements from standard input
(type help). "check" reports what the component would mis-handle in the
object_settings.xml of a settings folder.

Options:
  --lib-dir <folder>  where a library named without a path (load Tavrin) is
                      looked for; may be given more than once. Default: ../lib
                      beside this program, then the program's own folder.
  --log <file>        write the traffic log to <file> instead of standard output
  --quiet             no traffic log: only failures and the summary
  --record <file>     interactive use: save the session as a scenario at the end
  --help              this text

Exit status: 0 when everything passed, 1 when an expectation failed or the
host flagged a problem no scenario expected (check: when there are errors),
2 for bad usage, a missing file or a malformed scenario line.
)";

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
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "check") {
        if (args.size() != 2) {
            std::cerr << "usage: vrel-devhost check <settings folder>\n";
            return 2;
        }
        return checkSettings(args[1]);
    }

    runner_options options;
    std::string logFile;
    std::string recordFile;
    bool quiet = false;
    std::vector<std::string> scenarios;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            std::cout << usage;
            return 0;
        } else if (arg == "--quiet") {
            quiet = true;
        } else if ((arg == "--lib-dir" || arg == "--log" || arg == "--record") && !hasValue) {
            std::cerr << "vrel-devhost: " << arg << " needs a value\n" << usage;
            return 2;
        } else if (arg == "--lib-dir") {
            options.libraryFolders.push_back(args[++i]);
        } else if (arg == "--log") {
            logFile = args[++i];
        } else if (arg == "--record") {
            recordFile = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "vrel-devhost: unknown option " << arg << "\n" << usage;
            return 2;
        } else {
            scenarios.push_back(arg);
        }
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
