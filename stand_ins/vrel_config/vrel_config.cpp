// The class in front of the settings reader. It uses nothing but the reader's
// C functions and the string library, so that it builds for any C++ ABI.
#include "vrel_config.h"

#include "settings_reader.h"

vrel_config::vrel_config(const vrel_string& section) : walk_(vrel_settings_open(section)) {}

vrel_config::~vrel_config() {
    vrel_settings_close(walk_);
}

bool vrel_config::isChildValid() const {
    return vrel_settings_on_entry(walk_) != 0;
}

vrel_string vrel_config::childAttr(const vrel_string& name) const {
    return vrel_string(vrel_settings_attribute(walk_, name));
}

bool vrel_config::nextChild() {
    return vrel_settings_next(walk_) != 0;
}
