#include "devhost_options.h"

#include <filesystem>
#include <iostream>

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
}

void devhost_options::settle(const char* argv0) {
    if (libraryFolders.empty()) {
        const fs::path folder = programFolder(argv0);
        libraryFolders.push_back((folder.parent_path() / "lib").generic_string());
        libraryFolders.push_back(folder.generic_string());
    }
}

bool devhost_options::openLog(std::ostream*& log, std::string& error) {
    log = &std::cout;
    if (quiet) {
        log = nullptr;
    } else if (!logFile.empty()) {
        logStream_ = std::make_unique<std::ofstream>(logFile, std::ios::binary);
        if (!*logStream_) {
            error = "cannot write the log file " + logFile;
            return false;
        }
        log = logStream_.get();
    }
    return true;
}
