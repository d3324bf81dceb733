// A component library as a panel host uses it: opened by path, its factory
// looked up by name, and closed again once every component it made is gone.
// dlopen on Linux, LoadLibrary on Windows.
#ifndef VREL_HOST_COMPONENT_LIBRARY_H
#define VREL_HOST_COMPONENT_LIBRARY_H

#include "component_factory.h"

#include <string>
#include <vector>

class component_library {
public:
    component_library() = default;
    component_library(const component_library&) = delete;
    component_library& operator=(const component_library&) = delete;
    // Unloads the library if it is loaded.
    ~component_library();

    // Loads the library and finds the factory. Only a regular file is opened:
    // anything else (a FIFO, a folder, a device, a missing path) is refused at
    // once, without blocking. On failure `error` names the step ("load
    // library", "find factory"), the path and, for the factory, the symbol,
    // followed by the reason; nothing stays loaded.
    bool load(const std::string& path, std::string& error);
    // Closes the library; every component it made must be destroyed first.
    // False, with the system's reason in `error` when given, when the system
    // refused.
    bool unload(std::string* error = nullptr);

    bool loaded() const { return handle_ != nullptr; }
    // The address of another exported symbol of the loaded library, or null.
    void* symbol(const char* name) const;
    vrel_component_factory factory() const { return factory_; }
    const std::string& path() const { return path_; }

    // True while the library at `path` is mapped into this process (after
    // unload, when something keeps it loaded).
    static bool isMapped(const std::string& path);

    // Whether a library given as text is a path ("../lib/libTavrin.so",
    // "Tavrin.dll": a folder separator, or a library's extension) rather than
    // a name to look for in the library folders ("Tavrin").
    static bool namesPath(const std::string& library);

    // The file names a library called `name` has on this system, in the order
    // to try them: "libTavrin.so", "Tavrin.so" on Linux; "Tavrin.dll",
    // "libTavrin.dll" on Windows.
    static std::vector<std::string> fileNames(const std::string& name);
    // The names a library file can be given by, most likely first: the file
    // name without its extension and, when it begins with "lib", without
    // that too ("build/libTavrin.so" gives "Tavrin", then "libTavrin").
    static std::vector<std::string> namesOf(const std::string& path);
    // Where a library given by bare name ("Tavrin") is looked for: those file
    // names in each of `folders`, in order. Returns the first that exists, or
    // the empty text; `tried` lists every path looked at.
    static std::string find(const std::string& name, const std::vector<std::string>& folders,
                            std::vector<std::string>& tried);

private:
    void* handle_ = nullptr;
    vrel_component_factory factory_ = nullptr;
    std::string path_;
};

#endif
