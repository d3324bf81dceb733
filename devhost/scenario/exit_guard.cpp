#include "exit_guard.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#if defined(_WIN32)
#include <io.h>
#define vrel_write _write
#define vrel_dup _dup
#else
#include <unistd.h>
#define vrel_write write
#define vrel_dup dup
#endif

namespace {

// What the handler says, kept ready so that it needs no allocation.
char message[1024];
bool guarding = false;
// Standard error as it was when the guard began: while the component runs,
// descriptor 2 may be pointed elsewhere to catch its debug output.
int errorOutput = 2;

void reportUnexpectedExit() {
    if (!guarding) {
        return;
    }
    std::fflush(stdout);
    size_t length = 0;
    while (length < sizeof message && message[length] != '\0') {
        ++length;
    }
    const int written =
        static_cast<int>(vrel_write(errorOutput, message, static_cast<unsigned>(length)));
    (void)written;
    std::_Exit(exit_guard_status);
}

void compose(const std::string& what, const std::string& where) {
    std::snprintf(message, sizeof message,
                  "vrel-devhost: %s: the component ended the process while %s ran; the rest of "
                  "the run did not happen\n",
                  what.c_str(), where.c_str());
}

std::string running;

} // namespace

exit_guard::exit_guard(const std::string& what) {
    static std::once_flag registered;
    std::call_once(registered, [] {
        const int copy = vrel_dup(2);
        errorOutput = copy >= 0 ? copy : 2;
        std::atexit(reportUnexpectedExit);
    });
    running = what;
    compose(running, "the start");
    guarding = true;
}

exit_guard::~exit_guard() {
    guarding = false;
}

void exit_guard::at(const std::string& where) {
    compose(running, where);
}
