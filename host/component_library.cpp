#include "component_library.h"

#include "text_file.h"

#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

#if defined(_WIN32)

std::string systemReason() {
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

void* openLibrary(const std::string& path) {
    return reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
}

void* findSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

bool closeLibrary(void* handle) {
    return FreeLibrary(static_cast<HMODULE>(handle)) != 0;
}

#else

std::string systemReason() {
    const char* text = ::dlerror();
    return text != nullptr ? text : "no reason given";
}

void* openLibrary(const std::string& path) {
    ::dlerror();
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* findSymbol(void* handle, const char* name) {
    ::dlerror();
    return ::dlsym(handle, name);
}

bool closeLibrary(void* handle) {
    return ::dlclose(handle) == 0;
}

#endif

} // namespace

component_library::~component_library() {
    unload();
}

bool component_library::load(const std::string& path, std::string& error) {
    unload();
    // Decided on the path before the system opens it: opening a FIFO would
    // wait for a writer, for ever if none comes.
    const std::string problem = regular_file_problem(path);
    if (!problem.empty()) {
        error = "load library: " + problem;
        return false;
    }
    void* handle = openLibrary(path);
    if (handle == nullptr) {
        error = "load library: cannot load '" + path + "': " + systemReason();
        return false;
    }
    void* address = findSymbol(handle, VREL_COMPONENT_FACTORY_NAME);
    if (address == nullptr) {
        error = "find factory: '" + path + "' does not export " VREL_COMPONENT_FACTORY_NAME ": " +
                systemReason();
        closeLibrary(handle);
        return false;
    }
    handle_ = handle;
    // The system gives a function's address as a data pointer; the round
    // trip is what dlsym and GetProcAddress promise.
    factory_ = reinterpret_cast<vrel_component_factory>(address);
    path_ = path;
    return true;
}

void* component_library::symbol(const char* name) const {
    return handle_ != nullptr ? findSymbol(handle_, name) : nullptr;
}

bool component_library::unload(std::string* error) {
    factory_ = nullptr;
    if (handle_ == nullptr) {
        return true;
    }
    void* handle = handle_;
    handle_ = nullptr;
    if (!closeLibrary(handle)) {
        if (error != nullptr) {
            *error = "unload library: '" + path_ + "': " + systemReason();
        }
        return false;
    }
    return true;
}

bool component_library::isMapped(const std::string& path) {
#if defined(_WIN32)
    HMODULE module = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, path.c_str(),
                              &module) != 0;
#else
    void* probe = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (probe == nullptr) {
        return false;
    }
    ::dlclose(probe);
    return true;
#endif
}

bool component_library::namesPath(const std::string& library) {
    if (library.find('/') != std::string::npos || library.find('\\') != std::string::npos) {
        return true;
    }
    const std::string extension = std::filesystem::path(library).extension().string();
    return extension == ".so" || extension == ".dll" || extension == ".dylib";
}

std::vector<std::string> component_library::fileNames(const std::string& name) {
#if defined(_WIN32)
    return {name + ".dll", "lib" + name + ".dll"};
#else
    return {"lib" + name + ".so", name + ".so"};
#endif
}

std::vector<std::string> component_library::namesOf(const std::string& path) {
    const std::string name = std::filesystem::path(path).stem().string();
    std::vector<std::string> names;
    if (name.size() > 3 && name.compare(0, 3, "lib") == 0) {
        names.push_back(name.substr(3));
    }
    if (!name.empty()) {
        names.push_back(name);
    }
    return names;
}

std::string component_library::find(const std::string& name,
                                    const std::vector<std::string>& folders,
                                    std::vector<std::string>& tried) {
    for (const std::string& folder : folders) {
        for (const std::string& file : fileNames(name)) {
            const std::filesystem::path candidate = std::filesystem::path(folder) / file;
            tried.push_back(candidate.generic_string());
            std::error_code ignored;
            if (std::filesystem::is_regular_file(candidate, ignored)) {
                return candidate.generic_string();
            }
        }
    }
    return std::string();
}
