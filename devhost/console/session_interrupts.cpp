#include "session_interrupts.h"

#include <csignal>

#if !defined(_WIN32)
#include <signal.h>
#endif

namespace {

volatile std::sig_atomic_t signalsSeen = 0;
bool installed = false;

// After this many signals the program ends without waiting for the session.
constexpr int signalsToForce = 3;

extern "C" void onSignal(int number) {
    signalsSeen = signalsSeen + 1;
    if (signalsSeen >= signalsToForce) {
        std::signal(number, SIG_DFL);
        std::raise(number);
        return;
    }
#if defined(_WIN32)
    // Windows resets the handler each time it runs.
    std::signal(number, onSignal);
#endif
}

#if defined(_WIN32)

const int caught[] = {SIGINT, SIGTERM};
void (*previous[2])(int) = {nullptr, nullptr};

void install(bool) {}

#else

const int caught[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous[3];

// `restart`: interrupted system calls are restarted.
void install(bool restart) {
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = restart ? SA_RESTART : 0;
    for (const int number : caught) {
        sigaction(number, &action, nullptr);
    }
}

#endif

} // namespace

session_interrupts::session_interrupts() {
    signalsSeen = 0;
    installed = true;
#if defined(_WIN32)
    for (size_t i = 0; i < sizeof caught / sizeof caught[0]; ++i) {
        previous[i] = std::signal(caught[i], onSignal);
    }
#else
    for (size_t i = 0; i < sizeof caught / sizeof caught[0]; ++i) {
        sigaction(caught[i], nullptr, &previous[i]);
    }
    install(true);
#endif
}

session_interrupts::~session_interrupts() {
    for (size_t i = 0; i < sizeof caught / sizeof caught[0]; ++i) {
#if defined(_WIN32)
        std::signal(caught[i], previous[i] != SIG_ERR ? previous[i] : SIG_DFL);
#else
        sigaction(caught[i], &previous[i], nullptr);
#endif
    }
    installed = false;
}

bool session_interrupts::requested() {
    return installed && signalsSeen > 0;
}

void session_interrupts::clear() {
    signalsSeen = 0;
}

session_interrupts::reading_scope::reading_scope() {
    if (installed) {
        install(false);
    }
}

session_interrupts::reading_scope::~reading_scope() {
    if (installed) {
        install(true);
    }
}
