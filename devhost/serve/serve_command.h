// "vrel-devhost serve": the live facility in the browser.
#ifndef VREL_DEVHOST_SERVE_COMMAND_H
#define VREL_DEVHOST_SERVE_COMMAND_H

#include "devhost_options.h"

#include <CLI/CLI.hpp>

#include <string>

class serve_command {
public:
    serve_command(CLI::App& app, devhost_options& common);

    bool chosen() const { return command_->parsed(); }
    // Serves until interrupted; the exit status.
    int run(const char* argv0);

private:
    CLI::App* command_;
    devhost_options& common_;
    int port_ = 8765;
    std::string bind_ = "127.0.0.1";
    std::string settings_;
    std::string library_;
    std::string scenario_;
    double limitSeconds_ = 5;
    bool facilityChild_ = false;
};

#endif
