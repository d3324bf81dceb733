#include "run_command.h"

#include "scenario_file.h"

#include <iostream>

run_command::run_command(CLI::App& app, devhost_options& common) : common_(common) {
    app.add_option("scenario", scenarios_, "Scenario files to run, in order")->type_name("FILE");
}

int run_command::run() {
    std::ostream* log = nullptr;
    std::string error;
    if (!common_.openLog(log, error)) {
        std::cerr << "vrel-devhost: " << error << '\n';
        return scenario_unusable;
    }
    runner_options options;
    options.libraryFolders = common_.libraryFolders;
    int status = scenario_passed;
    for (const std::string& scenario : scenarios_) {
        const scenario_exit result =
            run_scenario_file(scenario, options, log, std::cout, std::cerr);
        if (result > status) {
            status = result;
        }
    }
    return status;
}
