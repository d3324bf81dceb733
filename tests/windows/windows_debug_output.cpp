// Linked into every suite of the Windows build: the texts the component
// writes with OutputDebugStringA are passed on to standard error, where the
// suites read diagnostics on every platform. wine's debug channel, watched by
// the host test, is not involved.
#include <windows.h>

#include <io.h>

namespace {

// OutputDebugStringA raises this exception with the text's length (NUL
// included) and address; continuing execution takes the text.
constexpr DWORD debugPrintException = 0x40010006;

LONG CALLBACK forwardDebugText(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode != debugPrintException || record->NumberParameters < 2) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    const auto length = static_cast<unsigned>(record->ExceptionInformation[0]);
    const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    if (text != nullptr && length > 1) {
        _write(2, text, length - 1);
    }
    return EXCEPTION_CONTINUE_EXECUTION;
}

const bool installed = AddVectoredExceptionHandler(1, forwardDebugText) != nullptr;

} // namespace
