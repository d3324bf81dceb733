#include "console_command.h"

#include "interactive_session.h"
#include "traffic_log.h"

#include <iostream>

#if defined(_WIN32)
#include <io.h>
#define vrel_isatty _isatty
#else
#include <unistd.h>
#define vrel_isatty isatty
#endif

console_command::console_command(CLI::App& app, devhost_options& common) : common_(common) {
    app.add_option("--record", recordFile_,
                   "Interactive use: save the session as a scenario at the end")
        ->type_name("FILE");
}

std::string console_command::problem(bool scenariosGiven) const {
    if (!recordFile_.empty() && scenariosGiven) {
        return "--record is for interactive use, not with scenario files";
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
    traffic_log traffic;
    interactive_options interactive;
    interactive.logOutput = log;
    interactive.runner.libraryFolders = common_.libraryFolders;
    interactive.recordFile = recordFile_;
    interactive.prompt = vrel_isatty(0) != 0;
    return run_interactive(std::cin, std::cout, traffic, interactive);
}
