#include "make_new_component.h"

#include "component_files.h"
#include "component_name.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The folder for the files: made when it does not exist, refused when it is
// anything but an empty folder.
bool prepareFolder(const fs::path& folder, std::string& error) {
    std::error_code code;
    const fs::file_status status = fs::symlink_status(folder, code);
    if (status.type() == fs::file_type::not_found) {
        fs::create_directories(folder, code);
        if (code) {
            error = "cannot make the folder '" + folder.string() + "': " + code.message();
            return false;
        }
        return true;
    }
    if (code) {
        error = "cannot look at '" + folder.string() + "': " + code.message();
        return false;
    }
    if (!fs::is_directory(fs::status(folder, code))) {
        error = "'" + folder.string() + "' is not a folder";
        return false;
    }
    const bool empty = fs::is_empty(folder, code);
    if (code) {
        error = "cannot read the folder '" + folder.string() + "': " + code.message();
        return false;
    }
    if (!empty) {
        error = "the folder '" + folder.string() +
                "' is not empty: a new component starts in an empty folder";
        return false;
    }
    return true;
}

bool writeFile(const fs::path& path, const std::string& text, std::string& error) {
    std::error_code code;
    fs::create_directories(path.parent_path(), code);
    std::ofstream file(path, std::ios::binary);
    if (file) {
        file << text;
        file.close();
    }
    if (code || !file) {
        error = "cannot write '" + path.string() + "'" + (code ? ": " + code.message() : "");
        return false;
    }
    return true;
}

// A path as a shell word: quoted when it holds anything but the usual
// characters of a path.
std::string shellWord(const std::string& text) {
    const std::string plain =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_./-+,:@%=";
    if (!text.empty() && text.find_first_not_of(plain) == std::string::npos) {
        return text;
    }
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace

bool make_new_component(const new_component_request& request, std::ostream& out,
                        std::string& error) {
    error = component_name_problem(request.name);
    if (!error.empty()) {
        return false;
    }
    const fs::path folder =
        request.folder.empty() ? fs::path(request.name) : fs::path(request.folder);
    if (!prepareFolder(folder, error)) {
        return false;
    }
    const std::vector<component_file> files = component_files(request.name);
    for (const component_file& file : files) {
        if (!writeFile(folder / fs::path(file.path), file.text, error)) {
            return false;
        }
    }

    const std::string source = shellWord(folder.generic_string());
    const std::string build = shellWord((folder / "build").generic_string());
    out << "made component " << request.name << " in " << folder.generic_string() << ":\n";
    for (const component_file& file : files) {
        out << "  " << file.path << '\n';
    }
    const bool kit = !request.kitPrefix.empty();
    out << "Build it against the kit, then run its scenario, settings check and validator:\n"
        << "  cmake -S " << source << " -B " << build << " -DCMAKE_PREFIX_PATH="
        << (kit ? shellWord(request.kitPrefix) : "<the kit's install prefix>") << '\n'
        << "  cmake --build " << build << '\n'
        << "  ctest --test-dir " << build << " --output-on-failure\n"
        << "Writing a component: "
        << (kit ? (fs::path(request.kitPrefix) / "share/doc/vrel/docs/components.md")
                      .generic_string()
                : std::string("docs/components.md"))
        << '\n';
    if (!out) {
        error = "the files are written, but the report could not be";
        return false;
    }
    return true;
}
