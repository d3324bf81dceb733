#include "settings_reader.h"

#include "settings_cache.h"

#include <cstdlib>
#include <new>
#include <string>

struct vrel_settings_walk {
    std::shared_ptr<const settings_file> file; // keeps `entry` alive
    pugi::xml_node entry;
};

namespace {

std::string settingsFolder() {
    const char* folder = std::getenv("VREL_CONFIG_DIR");
    return folder != nullptr && *folder != '\0' ? folder : ".";
}

// Puts the walk on the first entry of the section `address` names.
void openSection(vrel_settings_walk& walk, const std::string& address) {
    const size_t dot = address.find('.');
    if (dot == std::string::npos || dot == 0) {
        return;
    }
    std::string path = settingsFolder();
    if (path.back() != '/') {
        path += '/';
    }
    path += address.substr(0, dot) + ".xml";

    walk.file = load_settings_file(path);
    if (!walk.file) {
        return;
    }
    const auto found = walk.file->sections.find(address.substr(dot + 1));
    if (found != walk.file->sections.end()) {
        walk.entry = found->second.child("entry");
    }
}

} // namespace

vrel_settings_walk* vrel_settings_open(const char* address) {
    vrel_settings_walk* walk = new (std::nothrow) vrel_settings_walk;
    if (walk == nullptr || address == nullptr) {
        return walk;
    }
    // Nothing may leave a C function: out of memory, the walk stands on no
    // entry.
    try {
        openSection(*walk, address);
    } catch (...) {
        walk->file.reset();
        walk->entry = pugi::xml_node();
    }
    return walk;
}

int vrel_settings_on_entry(const vrel_settings_walk* walk) {
    return walk != nullptr && !walk->entry.empty() ? 1 : 0;
}

const char* vrel_settings_attribute(const vrel_settings_walk* walk, const char* name) {
    if (walk == nullptr || walk->entry.empty() || name == nullptr) {
        return "";
    }
    return walk->entry.attribute(name).value();
}

int vrel_settings_next(vrel_settings_walk* walk) {
    if (walk == nullptr || walk->entry.empty()) {
        return 0;
    }
    walk->entry = walk->entry.next_sibling("entry");
    return walk->entry.empty() ? 0 : 1;
}

void vrel_settings_close(vrel_settings_walk* walk) {
    delete walk;
}
