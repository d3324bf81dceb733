#include "serve_command.h"

#include "component_library.h"
#include "facility_child.h"
#include "serve_app.h"

#include <csignal>
#include <filesystem>
#include <iostream>
#include <pthread.h>

namespace fs = std::filesystem;

namespace {

std::string absolute(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::error_code ignored;
    return fs::absolute(fs::path(path), ignored).lexically_normal().generic_string();
}

// A library given by path is made absolute; one given by name stays a name,
// looked for in the library folders (and written so in a saved session).
std::string libraryArgument(const std::string& library) {
    return component_library::namesPath(library) ? absolute(library) : library;
}

} // namespace

serve_command::serve_command(CLI::App& app, devhost_options& common)
    : command_(app.add_subcommand(
          "serve", "Serve a page that shows the live emulated facility in a browser")),
      common_(common) {
    command_->add_option("--port", port_, "Port to listen on; 0 picks a free one")
        ->capture_default_str()
        ->check(CLI::Range(0, 65535));
    command_
        ->add_option("--bind", bind_,
                     "Address to listen on (the page can change the facility: keep it local)")
        ->capture_default_str();
    command_->add_option("--settings", settings_, "Folder holding object_settings.xml")
        ->type_name("FOLDER")
        ->check(CLI::ExistingDirectory);
    command_
        ->add_option("--load", library_,
                     "Component library to load at the start (a name or a path)")
        ->type_name("LIB");
    command_
        ->add_option("--timeout", limitSeconds_,
                     "Seconds a component may take over one action before it counts as hung")
        ->capture_default_str()
        ->check(CLI::Range(0.1, 3600.0));
    command_->add_option("scenario", scenario_, "A scenario to run at the start")
        ->type_name("SCENARIO")
        ->check(CLI::ExistingFile);
    // How the server starts its facility process; not for people.
    command_->add_flag("--facility-child", facilityChild_)->group("");
    command_->footer("Open the URL it prints. Ctrl-C ends the server and the facility.");
    // --lib-dir and the other shared options may follow "serve".
    command_->fallthrough();
}

int serve_command::run(const char* argv0) {
    if (facilityChild_) {
        return run_facility_child();
    }
    // Ctrl-C and kill are taken by this thread alone, after the server's
    // threads are started with them blocked.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGINT);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    serve_options options;
    options.bind = bind_;
    options.port = port_;
    options.settings = absolute(settings_);
    options.library = library_.empty() ? std::string() : libraryArgument(library_);
    options.scenario = absolute(scenario_);
    options.libraryFolders = common_.libraryFolders;
    std::error_code ignored;
    options.program = fs::read_symlink("/proc/self/exe", ignored).string();
    if (options.program.empty()) {
        options.program = absolute(argv0);
    }
    options.limit = std::chrono::milliseconds(static_cast<int64_t>(limitSeconds_ * 1000));
    options.sessionFolder = fs::current_path(ignored).generic_string();

    serve_app app(options);
    std::string error;
    if (!app.start(error)) {
        std::cerr << "vrel-devhost serve: " << error << '\n';
        return 2;
    }
    std::cout << "vrel-devhost serve: the facility is at " << app.url() << "\n";
    if (bind_ == "0.0.0.0" || bind_ == "::" || bind_ == "[::]") {
        std::cout << "(from another machine: this machine's address in place of 127.0.0.1; "
                     "give it only to those who may drive the facility)\n";
    }
    std::cout << "(Ctrl-C ends it)" << std::endl;
    int received = 0;
    sigwait(&ending, &received);
    std::cout << "vrel-devhost serve: ending" << std::endl;
    app.stop();
    return 0;
}
