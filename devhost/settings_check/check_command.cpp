#include "check_command.h"

#include "settings_check.h"

#include <iostream>

check_command::check_command(CLI::App& app)
    : command_(app.add_subcommand(
          "check", "Report what the component would mis-handle in a settings folder")) {
    command_->add_option("folder", folder_, "The folder holding object_settings.xml")
        ->required()
        ->type_name("FOLDER");
}

int check_command::run() const {
    const settings_report report = check_settings_folder(folder_);
    for (const std::string& line : report.lines()) {
        std::cout << line << '\n';
    }
    std::cout << report.file << ": " << report.errors() << " error(s), " << report.warnings()
              << " warning(s)\n";
    return report.errors() == 0 ? 0 : 1;
}
