// Where diagnostics go: the Windows debug output, or standard error elsewhere.
// Each text is written unchanged in one call; no line end is added.
#ifndef VREL_DEBUG_SINK_H
#define VREL_DEBUG_SINK_H

#if defined(_WIN32)
// kernel32's, declared here so that a build without the Windows headers (the
// Microsoft C++ ABI build has none) needs nothing more.
extern "C" __declspec(dllimport) void __stdcall OutputDebugStringA(const char* text);
inline void vrel_debug_sink(const char* text) {
    if (text != nullptr) {
        OutputDebugStringA(text);
    }
}
#else
#include <cstring>
#include <unistd.h>
inline void vrel_debug_sink(const char* text) {
    if (text == nullptr) {
        return;
    }
    // One unbuffered write per text so that lines from several writers do not
    // interleave inside a text. A failed write has nowhere to be reported.
    const size_t length = std::strlen(text);
    if (length > 0) {
        ssize_t written = ::write(2, text, length);
        (void)written;
    }
}
#endif

#endif
