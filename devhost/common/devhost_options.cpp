#include "devhost_options.h"

#include "output_file.h"

#include "traffic_printer.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// The folder of this program.
fs::path programFolder(const char* argv0) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        return self.parent_path();
    }
    const fs::path given = fs::absolute(fs::path(argv0), error);
    return error ? fs::current_path(error) : given.parent_path();
}

// Whether standard output is a terminal that shows colours. On Windows the
// console is asked to read the escape sequences.
bool outputTakesColor() {
    const char* noColor = std::getenv("NO_COLOR");
    if (noColor != nullptr && *noColor != '\0') {
        return false;
    }
#if defined(_WIN32)
    if (_isatty(_fileno(stdout)) == 0) {
        return false;
    }
    const HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    const DWORD virtualTerminal = 0x0004; // ENABLE_VIRTUAL_TERMINAL_PROCESSING
    return GetConsoleMode(console, &mode) != 0 &&
           SetConsoleMode(console, mode | virtualTerminal) != 0;
#else
    const char* term = std::getenv("TERM");
    return isatty(STDOUT_FILENO) != 0 && term != nullptr && std::string(term) != "dumb";
#endif
}

} // namespace

void devhost_options::addTo(CLI::App& app) {
    app.add_option("--lib-dir", libraryFolders,
                   "Where a library named by name alone is looked for (repeatable; default: "
                   "../lib beside this program, then its own folder)")
        ->type_name("FOLDER")
        ->allow_extra_args(false);
    app.add_option("--log", logFile, "Write the traffic log to FILE instead of standard output")
        ->type_name("FILE");
    app.add_flag("--quiet", quiet, "No traffic log: only failures and the summary");
    app.add_option("--color", color,
                   "Colour the traffic (in, out, notes, problems): auto (when standard output "
                   "is a terminal), always or never")
        ->type_name("WHEN")
        ->check(CLI::IsMember({"auto", "always", "never"}));
}

void devhost_options::settle(const char* argv0) {
    if (libraryFolders.empty()) {
        const fs::path folder = programFolder(argv0);
        libraryFolders.push_back((folder.parent_path() / "lib").generic_string());
        libraryFolders.push_back(folder.generic_string());
    }
}

bool devhost_options::openLog(std::ostream*& log, std::string& error) {
    set_colored(std::cout, color == "always" || (color == "auto" && outputTakesColor()));
    log = &std::cout;
    if (quiet) {
        log = nullptr;
    } else if (!logFile.empty()) {
        output_file_probe probe;
        const std::string problem = probe.check(logFile);
        if (!problem.empty()) {
            error = "cannot write the log file " + problem;
            return false;
        }
        logStream_ = std::make_unique<std::ofstream>(logFile, std::ios::binary);
        if (!*logStream_) {
            error = "cannot write the log file " + logFile;
            return false;
        }
        set_colored(*logStream_, color == "always");
        log = logStream_.get();
    }
    return true;
}
