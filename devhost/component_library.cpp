#include "component_library.h"

#include <filesystem>

bool component_library::load(const std::string& path, std::string& error) {
    unload();
    std::string reason;
    if (!library_.open(path, reason)) {
        error = "load library: cannot load '" + path + "': " + reason;
        return false;
    }
    void* address = library_.symbol(component_factory_name, reason);
    if (address == nullptr) {
        error = "find factory: '" + path + "' does not export " + component_factory_name + ": " +
                reason;
        library_.close();
        return false;
    }
    factory_ = reinterpret_cast<component_factory>(address);
    path_ = path;
    return true;
}

void component_library::unload() {
    factory_ = nullptr;
    path_.clear();
    library_.close();
}

std::string component_library::find(const std::string& name,
                                    const std::vector<std::string>& folders,
                                    std::vector<std::string>& tried) {
    for (const std::string& folder : folders) {
        for (const std::string& file : dynamic_library::fileNames(name)) {
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
