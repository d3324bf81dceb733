#include "console_command.h"

#include "history_file.h"
#include "interactive_session.h"
#include "line_source.h"
#include "session_interrupts.h"
#include "traffic_log.h"

#if defined(VREL_LINE_EDITING)
#include "line_editor.h"
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#define vrel_isatty _isatty
#else
#include <unistd.h>
#define vrel_isatty isatty
#endif

namespace fs = std::filesystem;

namespace {

// Why the recording could not be saved at the end, found before the session
// starts; empty when it can be.
std::string recordingProblem(const std::string& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (fs::is_directory(status)) {
        return "--record: '" + file + "' is a folder";
    }
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        return "--record: '" + file + "' is not a regular file";
    }
    const fs::path folder = fs::absolute(fs::path(file), error).parent_path();
    if (!fs::is_directory(folder, error)) {
        return "--record: no folder '" + folder.generic_string() + "' to save '" + file + "' in";
    }
    return std::string();
}

} // namespace

console_command::console_command(CLI::App& app, devhost_options& common) : common_(common) {
    app.add_option("--record", recordFile_,
                   "Interactive use: save the session as a scenario when it ends")
        ->type_name("FILE");
    app.add_option("--settings", start_.settingsFolder,
                   "Interactive use: start with this settings folder")
        ->type_name("FOLDER");
    app.add_option("--scenario", start_.scenarioFile,
                   "Interactive use: run this scenario first (after --settings), then read "
                   "statements")
        ->type_name("FILE");
    app.add_option("--load", start_.library,
                   "Interactive use: load this library once the --scenario has run")
        ->type_name("LIBRARY");
    app.add_option("--history", historyFile_,
                   "Interactive use: keep the typed statements in FILE (default: "
                   "$XDG_STATE_HOME/vrel-devhost/history, or ~/.vrel_devhost_history)")
        ->type_name("FILE");
}

std::string console_command::problem(bool scenariosGiven) const {
    const bool consoleOptions = !recordFile_.empty() || !historyFile_.empty() ||
                                !start_.settingsFolder.empty() || !start_.scenarioFile.empty() ||
                                !start_.library.empty();
    if (consoleOptions && scenariosGiven) {
        return "--record, --settings, --scenario, --load and --history are for interactive "
               "use, not with scenario files (--scenario FILE runs a file, then reads "
               "statements)";
    }
    return std::string();
}

int console_command::run() {
    std::ostream* log = nullptr;
    std::string error;
    if (!common_.openLog(log, error)) {
        std::cerr << "vrel-devhost: " << error << '\n';
        return 2;
    }
    if (!recordFile_.empty()) {
        const std::string wrong = recordingProblem(recordFile_);
        if (!wrong.empty()) {
            std::cerr << "vrel-devhost: " << wrong << '\n';
            return 2;
        }
    }
    traffic_log traffic;
    interactive_options interactive;
    interactive.logOutput = log;
    interactive.foldStatuses = log == &std::cout;
    interactive.runner.libraryFolders = common_.libraryFolders;
    interactive.recordFile = recordFile_;
    interactive.start = start_;
    console_session session(std::cout, traffic, interactive);
    session_interrupts interrupts;
    const bool terminal = vrel_isatty(0) != 0;
    int status = 0;
#if defined(VREL_LINE_EDITING)
    if (terminal && vrel_isatty(1) != 0) {
        completion_context context;
        context.host = &session.host();
        context.libraryFolders = common_.libraryFolders;
        const std::string history =
            !historyFile_.empty()
                ? historyFile_
                : history_file::defaultPath(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
        line_editor editor(
            "vrel-devhost",
            [context](const std::string& before) { return complete_statement(before, context); },
            history_file(history), std::cerr);
        status = session.run(editor);
    } else
#endif
    {
#if defined(_WIN32)
        // Lines are read as bytes: in text mode the C runtime would end the
        // input at the first Ctrl-Z and swallow carriage returns.
        if (!terminal) {
            _setmode(_fileno(stdin), _O_BINARY);
        }
#endif
        stream_line_source lines(std::cin, terminal, terminal ? &std::cout : nullptr);
        status = session.run(lines);
    }
    std::cout.flush();
    if (!std::cout || (log != nullptr && !log->flush())) {
        std::cerr << "vrel-devhost: "
                  << (log != &std::cout && log != nullptr && !*log
                          ? "cannot write the log file " + common_.logFile
                          : "cannot write to standard "
                            "output")
                  << '\n';
        return 2;
    }
    return status;
}
