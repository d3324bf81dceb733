// The library's entry point on Windows.
#include <windows.h>

// At process attach the library turns off the thread attach and detach calls
// it has no use for; it does nothing else on loading or unloading.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
