// A component library as a panel host uses it: opened by path, its one export
// looked up, and closed again once the component object is gone.
#ifndef VREL_DEVHOST_COMPONENT_LIBRARY_H
#define VREL_DEVHOST_COMPONENT_LIBRARY_H

#include "dynamic_library.h"

#include <string>
#include <vector>

class client_host;
class vrel_client_callback;

// The factory every component library exports under this name, with C linkage.
using component_factory = vrel_client_callback* (*)(client_host* host, const char* text);
constexpr const char* component_factory_name = "load_vrel_client_script";

class component_library {
public:
    // Step 1 and 2 of a component's life: load the library, find the factory.
    // On failure `error` names the step, the path and, for the factory, the
    // symbol, followed by the system's reason.
    bool load(const std::string& path, std::string& error);
    component_factory factory() const { return factory_; }
    const std::string& path() const { return path_; }
    // The last step: the component must be destroyed before this.
    void unload();

    // Where a library given by bare name ("Tavrin") is looked for: the file
    // names of this system in each of `folders`, in order. Returns the first
    // that exists, or the empty text; `tried` lists every path looked at.
    static std::string find(const std::string& name, const std::vector<std::string>& folders,
                            std::vector<std::string>& tried);

private:
    dynamic_library library_;
    component_factory factory_ = nullptr;
    std::string path_;
};

#endif
