// The few dlfcn calls the suites use, on Windows: LoadLibraryA and
// GetProcAddress behind the POSIX names, so that the suites that load the
// component by path build unchanged for the Windows target.
#ifndef VREL_TESTS_WINDOWS_DLFCN_H
#define VREL_TESTS_WINDOWS_DLFCN_H

#include <windows.h>

#include <cstdio>

#define RTLD_NOW 0
#define RTLD_LOCAL 0

inline char* vrel_dl_error_text() {
    static char text[64];
    return text;
}

inline void vrel_dl_set_error(const char* step) {
    std::snprintf(vrel_dl_error_text(), 64, "%s failed with error %lu", step,
                  static_cast<unsigned long>(GetLastError()));
}

inline void* dlopen(const char* path, int) {
    HMODULE module = LoadLibraryA(path);
    if (module == nullptr) {
        vrel_dl_set_error("LoadLibraryA");
    }
    return reinterpret_cast<void*>(module);
}

inline void* dlsym(void* handle, const char* name) {
    FARPROC address = GetProcAddress(static_cast<HMODULE>(handle), name);
    if (address == nullptr) {
        vrel_dl_set_error("GetProcAddress");
    }
    return reinterpret_cast<void*>(address);
}

inline int dlclose(void* handle) {
    return FreeLibrary(static_cast<HMODULE>(handle)) ? 0 : -1;
}

inline char* dlerror() {
    return vrel_dl_error_text();
}

#endif
