// vrel-devhost: runs a component library without a facility.
#include "check_command.h"
#include "console_command.h"
#include "devhost_options.h"
#include "new_command.h"
#include "run_command.h"
#include "standard_streams.h"
#if defined(VREL_DEVHOST_SERVE)
#include "serve_command.h"
#endif

#include <CLI/CLI.hpp>

#include <iostream>

namespace {

const char* const description =
    R"(Runs a component library without a facility: each scenario file is run and
the traffic between the host and the component printed. Without a scenario,
the same statements are read from standard input (type help). "check" reports
what the component would mis-handle in the object_settings.xml of a settings
folder. "serve" shows the live facility in a browser. "new" starts a component.)";

const char* const footer =
    R"(Exit status: 0 when everything passed; 1 when an expectation failed, the
host flagged a problem no scenario expected or the component ended the process
(check: when the settings have errors); 2 for bad usage, a scenario that
cannot be run (missing, not a file, malformed lines, no statements), output
that cannot be written, or no settings rules that apply.)";

} // namespace

int main(int argc, char** argv) {
    if (!hold_standard_streams()) {
        std::cerr << "vrel-devhost: standard output is closed; what the run shows would be lost\n";
        return 2;
    }
    CLI::App app(description, "vrel-devhost");
    app.footer(footer);
    // Paths such as /work/settings are arguments, not Windows-style options;
    // set before the subcommands, which inherit it.
    app.allow_windows_style_options(false);
    devhost_options common;
    common.addTo(app);
    run_command scenarios(app, common);
    console_command console(app, common);
    check_command check(app, common);
    new_command start(app);
#if defined(VREL_DEVHOST_SERVE)
    serve_command serve(app, common);
#endif

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::ParseError& e) {
        std::cerr << "vrel-devhost: " << e.what() << "\n(vrel-devhost --help shows the options)\n";
        return 2;
    }
    if (start.chosen()) {
        return start.run(argc > 0 ? argv[0] : "");
    }
    common.settle(argc > 0 ? argv[0] : "");
    if (check.chosen()) {
        return check.run();
    }
#if defined(VREL_DEVHOST_SERVE)
    if (serve.chosen()) {
        return serve.run(argc > 0 ? argv[0] : "");
    }
#endif
    const std::string wrong = console.problem(scenarios.chosen());
    if (!wrong.empty()) {
        std::cerr << "vrel-devhost: " << wrong << '\n';
        return 2;
    }
    return scenarios.chosen() ? scenarios.run() : console.run();
}
