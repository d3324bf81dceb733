#include "component_library.h"

#include <dlfcn.h>

namespace {

std::string lastError() {
    const char* text = ::dlerror();
    return text != nullptr ? text : "no reason given";
}

} // namespace

bool component_library::open(std::string& error) {
    close();
    ::dlerror();
    handle_ = ::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        error = "loading the library " + path_ + " failed: " + lastError();
        return false;
    }
    void* symbol = ::dlsym(handle_, componentFactoryName);
    if (symbol == nullptr) {
        error =
            "the library " + path_ + " has no export " + componentFactoryName + ": " + lastError();
        close();
        return false;
    }
    // POSIX guarantees that a function's address survives the trip through
    // void*; the conversion itself is conditionally supported in C++.
    factory_ = reinterpret_cast<component_factory>(symbol);
    return true;
}

bool component_library::close(std::string* error) {
    factory_ = nullptr;
    if (handle_ == nullptr) {
        return true;
    }
    const int result = ::dlclose(handle_);
    handle_ = nullptr;
    if (result != 0) {
        if (error != nullptr) {
            *error = "unloading the library " + path_ + " failed: " + lastError();
        }
        return false;
    }
    return true;
}

bool component_library::isMapped() const {
    void* probe = ::dlopen(path_.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (probe == nullptr) {
        return false;
    }
    ::dlclose(probe);
    return true;
}
