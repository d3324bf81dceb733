// A shared library opened by path: dlopen on Linux, LoadLibrary on Windows.
#ifndef VREL_DEVHOST_DYNAMIC_LIBRARY_H
#define VREL_DEVHOST_DYNAMIC_LIBRARY_H

#include <string>
#include <vector>

class dynamic_library {
public:
    dynamic_library() = default;
    dynamic_library(const dynamic_library&) = delete;
    dynamic_library& operator=(const dynamic_library&) = delete;
    // Unloads the library if it is open.
    ~dynamic_library();

    // Opens the library; on failure `error` holds the system's reason.
    bool open(const std::string& path, std::string& error);
    // The address of an exported symbol, or null with `error` set.
    void* symbol(const char* name, std::string& error) const;
    void close();
    bool isOpen() const { return handle_ != nullptr; }

    // The file names a library called `name` has on this system, in the order
    // to try them: "libTavrin.so", "Tavrin.so" on Linux.
    static std::vector<std::string> fileNames(const std::string& name);

private:
    void* handle_ = nullptr;
};

#endif
