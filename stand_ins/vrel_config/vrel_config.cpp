#include "vrel_config.h"

#include "settings_cache.h"

#include <cstdlib>
#include <string>

struct vrel_config::state {
    std::shared_ptr<const settings_file> file; // keeps `entry` alive
    pugi::xml_node entry;
};

namespace {

std::string settingsFolder() {
    const char* folder = std::getenv("VREL_CONFIG_DIR");
    return folder != nullptr && *folder != '\0' ? folder : ".";
}

} // namespace

vrel_config::vrel_config(const vrel_string& section) : state_(new state) {
    const std::string address = section.c_str();
    const size_t dot = address.find('.');
    if (dot == std::string::npos || dot == 0) {
        return;
    }
    std::string path = settingsFolder();
    if (path.back() != '/') {
        path += '/';
    }
    path += address.substr(0, dot) + ".xml";

    state_->file = load_settings_file(path);
    if (!state_->file) {
        return;
    }
    const auto found = state_->file->sections.find(address.substr(dot + 1));
    if (found != state_->file->sections.end()) {
        state_->entry = found->second.child("entry");
    }
}

vrel_config::~vrel_config() = default;

bool vrel_config::isChildValid() const {
    return !state_->entry.empty();
}

vrel_string vrel_config::childAttr(const vrel_string& name) const {
    if (!state_->entry) {
        return vrel_string();
    }
    return vrel_string(state_->entry.attribute(name.c_str()).value());
}

bool vrel_config::nextChild() {
    if (state_->entry) {
        state_->entry = state_->entry.next_sibling("entry");
    }
    return !state_->entry.empty();
}
