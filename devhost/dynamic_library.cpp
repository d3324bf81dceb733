#include "dynamic_library.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

dynamic_library::~dynamic_library() {
    close();
}

#if defined(_WIN32)

namespace {

std::string lastErrorText() {
    const DWORD code = GetLastError();
    char* message = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&message), 0, nullptr);
    std::string text = length > 0 && message != nullptr ? std::string(message, length)
                                                        : "error " + std::to_string(code);
    LocalFree(message);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

} // namespace

bool dynamic_library::open(const std::string& path, std::string& error) {
    close();
    handle_ = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
    if (handle_ == nullptr) {
        error = lastErrorText();
        return false;
    }
    return true;
}

void* dynamic_library::symbol(const char* name, std::string& error) const {
    FARPROC address = GetProcAddress(static_cast<HMODULE>(handle_), name);
    if (address == nullptr) {
        error = lastErrorText();
        return nullptr;
    }
    return reinterpret_cast<void*>(address);
}

void dynamic_library::close() {
    if (handle_ != nullptr) {
        FreeLibrary(static_cast<HMODULE>(handle_));
        handle_ = nullptr;
    }
}

std::vector<std::string> dynamic_library::fileNames(const std::string& name) {
    return {name + ".dll", "lib" + name + ".dll"};
}

#else

bool dynamic_library::open(const std::string& path, std::string& error) {
    close();
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "unknown reason";
        return false;
    }
    return true;
}

void* dynamic_library::symbol(const char* name, std::string& error) const {
    dlerror();
    void* address = dlsym(handle_, name);
    if (address == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "the symbol is null";
        return nullptr;
    }
    return address;
}

void dynamic_library::close() {
    if (handle_ != nullptr) {
        dlclose(handle_);
        handle_ = nullptr;
    }
}

std::vector<std::string> dynamic_library::fileNames(const std::string& name) {
    return {"lib" + name + ".so", name + ".so"};
}

#endif
