// Collects the component's debug output during a call into it. On Linux the
// component writes its diagnostics to standard error, which is pointed at a
// temporary file for the length of the call. On Windows it uses the debug
// output, whose texts are caught in the process as they are raised.
#ifndef VREL_HOST_DEBUG_CAPTURE_H
#define VREL_HOST_DEBUG_CAPTURE_H

#include <string>

class debug_capture {
public:
    debug_capture();
    debug_capture(const debug_capture&) = delete;
    debug_capture& operator=(const debug_capture&) = delete;
    ~debug_capture();

    // False when capturing is unavailable; the component's output then goes
    // where it would go anyway.
    bool available() const { return available_; }

    void begin();
    // Ends the capture and returns what was written since begin().
    std::string end();

private:
    bool available_ = false;
    bool capturing_ = false;
    int savedDescriptor_ = -1;
    // The temporary file (Linux) or the exception handler (Windows).
    void* resource_ = nullptr;
};

#endif
