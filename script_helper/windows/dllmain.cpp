// The library's entry point on Windows. kernel32's function is declared here
// rather than taken from <windows.h>, which a build for the Microsoft C++ ABI
// does not have.

extern "C" __declspec(dllimport) int __stdcall DisableThreadLibraryCalls(void* module);

namespace {

constexpr unsigned long processAttach = 1; // DLL_PROCESS_ATTACH

} // namespace

// At process attach the library turns off the thread attach and detach calls
// it has no use for; it does nothing else on loading or unloading.
extern "C" int __stdcall DllMain(void* instance, unsigned long reason, void*) {
    if (reason == processAttach) {
        DisableThreadLibraryCalls(instance);
    }
    return 1;
}
