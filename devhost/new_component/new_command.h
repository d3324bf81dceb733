// "vrel-devhost new NAME [FOLDER]" on the command line.
#ifndef VREL_DEVHOST_NEW_COMMAND_H
#define VREL_DEVHOST_NEW_COMMAND_H

#include "make_new_component.h"

#include <CLI/CLI.hpp>

class new_command {
public:
    explicit new_command(CLI::App& app);

    bool chosen() const { return command_->parsed(); }
    // The exit status: 0 when the component was made, 2 when it was not
    // (the reason on standard error).
    int run(const char* argv0) const;

private:
    CLI::App* command_;
    new_component_request request_;
};

// The prefix of the installed kit this program runs from (the folder above
// its bin/ that holds lib/cmake/vrel), or the empty text.
std::string installed_kit_prefix(const char* argv0);

#endif
