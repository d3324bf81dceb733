// One component library opened with dlopen, and its factory.
#ifndef VREL_VALIDATOR_COMPONENT_LIBRARY_H
#define VREL_VALIDATOR_COMPONENT_LIBRARY_H

#include "client_host.h"
#include "vrel_client_callback.h"

#include <string>

// The one export every component library of the family has.
using component_factory = vrel_client_callback* (*)(client_host* host, const char* text);
constexpr const char* componentFactoryName = "load_vrel_client_script";

class component_library {
public:
    explicit component_library(std::string path) : path_(std::move(path)) {}
    component_library(const component_library&) = delete;
    component_library& operator=(const component_library&) = delete;
    ~component_library() { close(); }

    // Loads the library and finds the factory. On failure `error` names the
    // path or symbol and the step that failed.
    bool open(std::string& error);
    // dlclose; true when it succeeded. `error` says why not.
    bool close(std::string* error = nullptr);
    // True while the library is mapped in the process (even after close,
    // when something keeps it loaded).
    bool isMapped() const;

    component_factory factory() const { return factory_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    void* handle_ = nullptr;
    component_factory factory_ = nullptr;
};

#endif
