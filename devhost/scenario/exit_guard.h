// A component that ends the process in the middle of a run (exit(0) in a
// notification) would otherwise end the host with the component's status and
// no summary, the rest of the scenario unrun, and a CI job green. While a
// guard lives, such an exit is reported with the step that was running and
// turned into a failure.
#ifndef VREL_DEVHOST_EXIT_GUARD_H
#define VREL_DEVHOST_EXIT_GUARD_H

#include <string>

class exit_guard {
public:
    explicit exit_guard(const std::string& what);
    exit_guard(const exit_guard&) = delete;
    exit_guard& operator=(const exit_guard&) = delete;
    ~exit_guard();

    // What is running now, for the message ("file:line").
    void at(const std::string& where);
};

// The exit status of a run the component ended.
constexpr int exit_guard_status = 1;

#endif
