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

#include <cstdio>
#include <unistd.h>

debug_capture::debug_capture() {
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        return;
    }
    resource_ = file;
    available_ = true;
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
}

std::string debug_capture::end() {
    if (!capturing_) {
        return std::string();
    }
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
