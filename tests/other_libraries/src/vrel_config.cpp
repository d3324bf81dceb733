#include "vrel_config.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <string>

struct vrel_config::state {
    pugi::xml_document document;
    pugi::xml_node entry;
};

vrel_config::vrel_config(const vrel_string& section) : state_(new state) {
    const std::string address = static_cast<const char*>(section);
    const size_t dot = address.find('.');
    if (dot == std::string::npos) {
        return;
    }
    const char* folder = std::getenv("VREL_CONFIG_DIR");
    std::string path = folder != nullptr && *folder != '\0' ? folder : ".";
    path += "/" + address.substr(0, dot) + ".xml";
    if (!state_->document.load_file(path.c_str())) {
        return;
    }
    const std::string id = address.substr(dot + 1);
    for (pugi::xml_node candidate : state_->document.child("settings").children("section")) {
        if (id == candidate.attribute("id").value()) {
            state_->entry = candidate.child("entry");
            return;
        }
    }
}

vrel_config::~vrel_config() {
    delete state_;
}

bool vrel_config::isChildValid() const {
    return !state_->entry.empty();
}

vrel_string vrel_config::childAttr(const vrel_string& name) const {
    const pugi::xml_attribute attribute = state_->entry.attribute(static_cast<const char*>(name));
    return vrel_string(attribute ? attribute.value() : state_->entry.text().get());
}

bool vrel_config::nextChild() {
    state_->entry = state_->entry.next_sibling("entry");
    return !state_->entry.empty();
}
