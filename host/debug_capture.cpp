#include "debug_capture.h"

#if defined(_WIN32)

#include <windows.h>

namespace {

// The debug output raises this exception with the text's length and address;
// a handler that continues execution takes the text instead of a debugger.
constexpr DWORD debugPrintException = 0x40010006;

std::string* capturedText = nullptr;

LONG CALLBACK catchDebugText(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (capturedText == nullptr || record->ExceptionCode != debugPrintException ||
        record->NumberParameters < 2) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
    const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    if (text != nullptr && length > 0) {
        // The length counts the terminating NUL.
        capturedText->append(text, length - 1);
    }
    return EXCEPTION_CONTINUE_EXECUTION;
}

} // namespace

debug_capture::debug_capture() {
    resource_ = AddVectoredExceptionHandler(1, catchDebugText);
    available_ = resource_ != nullptr;
}

debug_capture::~debug_capture() {
    if (resource_ != nullptr) {
        RemoveVectoredExceptionHandler(resource_);
    }
}

void debug_capture::begin() {
    if (available_ && !capturing_) {
        capturedText = new std::string;
        capturing_ = true;
    }
}

std::string debug_capture::end() {
    if (!capturing_) {
        return std::string();
    }
    capturing_ = false;
    std::string text = std::move(*capturedText);
    delete capturedText;
    capturedText = nullptr;
    return text;
}

#else

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

// The capture in progress, for the crash handler: the real standard error and
// the file that stands in for it. Only one call into a component runs at a
// time, so one pair serves every host of the process.
volatile std::sig_atomic_t crashCapturing = 0;
volatile int crashSavedDescriptor = -1;
volatile int crashCaptureDescriptor = -1;

// When the component crashes (or a sanitizer aborts) during a call, what it
// wrote during that call, the sanitizer's report included, is still in the
// capture file: put it on the real standard error before the process ends.
// Only async-signal-safe calls.
extern "C" void showCaptureOnCrash(int signalNumber) {
    if (crashCapturing != 0) {
        crashCapturing = 0;
        ::dup2(crashSavedDescriptor, 2);
        static const char header[] =
            "\nvrel-devhost: the process stops during a call into the component; what the "
            "component wrote during that call:\n";
        ssize_t ignored = ::write(2, header, sizeof header - 1);
        if (::lseek(crashCaptureDescriptor, 0, SEEK_SET) == 0) {
            char buffer[4096];
            ssize_t got = 0;
            while ((got = ::read(crashCaptureDescriptor, buffer, sizeof buffer)) > 0) {
                ignored = ::write(2, buffer, static_cast<size_t>(got));
            }
        }
        (void)ignored;
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// Installs the handler for the signals nobody else handles (a sanitizer keeps
// its own).
void installCrashHandler() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    for (const int signalNumber : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
        struct sigaction current {};
        if (::sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_DFL &&
            (current.sa_flags & SA_SIGINFO) == 0) {
            struct sigaction action {};
            action.sa_handler = showCaptureOnCrash;
            sigemptyset(&action.sa_mask);
            ::sigaction(signalNumber, &action, nullptr);
        }
    }
}

} // namespace

debug_capture::debug_capture() {
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        return;
    }
    resource_ = file;
    available_ = true;
    installCrashHandler();
}

debug_capture::~debug_capture() {
    end();
    if (resource_ != nullptr) {
        std::fclose(static_cast<std::FILE*>(resource_));
    }
}

void debug_capture::begin() {
    if (!available_ || capturing_) {
        return;
    }
    std::fflush(stderr);
    savedDescriptor_ = ::dup(2);
    const int target = ::fileno(static_cast<std::FILE*>(resource_));
    if (savedDescriptor_ < 0 || ::ftruncate(target, 0) != 0 || ::lseek(target, 0, SEEK_SET) < 0 ||
        ::dup2(target, 2) < 0) {
        if (savedDescriptor_ >= 0) {
            ::close(savedDescriptor_);
            savedDescriptor_ = -1;
        }
        return;
    }
    capturing_ = true;
    crashSavedDescriptor = savedDescriptor_;
    crashCaptureDescriptor = target;
    crashCapturing = 1;
}

std::string debug_capture::end() {
    if (!capturing_) {
        return std::string();
    }
    crashCapturing = 0;
    std::fflush(stderr);
    ::dup2(savedDescriptor_, 2);
    ::close(savedDescriptor_);
    savedDescriptor_ = -1;
    capturing_ = false;

    const int source = ::fileno(static_cast<std::FILE*>(resource_));
    std::string text;
    if (::lseek(source, 0, SEEK_SET) < 0) {
        return text;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(source, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        text.append(buffer, static_cast<size_t>(got));
    }
    return text;
}

#endif
