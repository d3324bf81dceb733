#include "new_command.h"

#include <filesystem>
#include <iostream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char* const footer =
    R"(Writes NAME.h, NAME.cpp and factory.cpp (the class and its factory), the
panel file NAME.vrel_ui, the settings rules NAME.settings_rules.xml, an example
settings folder, the scenario NAME.scenario and a CMakeLists.txt that builds
it against the installed kit (find_package(vrel)) and runs the scenario, the
settings check and the validator under ctest. FOLDER (default: NAME) must be
empty or not exist yet. Exit status: 0 made; 2 a name that is not a C++
identifier, a folder that is not empty, or a file that cannot be written.)";

} // namespace

new_command::new_command(CLI::App& app)
    : command_(app.add_subcommand("new", "Start a component in a folder of its own")) {
    command_
        ->add_option("name", request_.name,
                     "The component's name: its class, library "
                     "and files (a C++ identifier)")
        ->required()
        ->type_name("NAME");
    command_->add_option("folder", request_.folder, "Where its files go (default: ./NAME)")
        ->type_name("FOLDER");
    command_->footer(footer);
}

int new_command::run(const char* argv0) const {
    new_component_request request = request_;
    request.kitPrefix = installed_kit_prefix(argv0);
    std::string error;
    if (!make_new_component(request, std::cout, error)) {
        std::cerr << "vrel-devhost new: " << error << '\n';
        return 2;
    }
    return 0;
}

std::string installed_kit_prefix(const char* argv0) {
    std::error_code code;
    fs::path program = fs::read_symlink("/proc/self/exe", code);
    if (code) {
        program = fs::absolute(fs::path(argv0 != nullptr ? argv0 : ""), code);
    }
    if (code) {
        return std::string();
    }
    const fs::path prefix = program.parent_path().parent_path();
    if (!fs::is_regular_file(prefix / "lib/cmake/vrel/vrelConfig.cmake", code)) {
        return std::string();
    }
    return prefix.lexically_normal().generic_string();
}
