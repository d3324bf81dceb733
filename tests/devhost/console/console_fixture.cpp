#include "console_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#if defined(_WIN32)
#include <process.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

const char* const exampleSettings = VREL_EXAMPLE_SETTINGS;
const char* const componentFolder = VREL_COMPONENT_FOLDER;

scratch_folder::scratch_folder() {
    static int made = 0;
#if defined(_WIN32)
    const int process = _getpid();
#else
    const int process = getpid();
#endif
    const fs::path path = fs::temp_directory_path() / ("vrel-console-" + std::to_string(process) +
                                                       "-" + std::to_string(++made));
    fs::remove_all(path);
    fs::create_directories(path);
    path_ = path.generic_string();
}

scratch_folder::~scratch_folder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

void console_run::run(line_source& lines, interactive_options options) {
    options.runner.libraryFolders = {componentFolder};
    options.logOutput = &printed;
    console_session session(out, log, options);
    status = session.run(lines);
}

bool console_run::logHas(traffic_kind kind, const std::string& text) const {
    for (const traffic_entry& entry : log.kept()) {
        if (entry.kind == kind && entry.text == text) {
            return true;
        }
    }
    return false;
}
