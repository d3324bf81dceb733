#include "vrel_script_helper.h"

#include "vrel_config.h"

vrel_string vrel_script_helper::objectSetting(const vrel_string& section, const vrel_string& key) {
    vrel_config config(vrel_string("object_settings.%1").arg(section));
    const vrel_string idName("id");
    while (config.isChildValid()) {
        if (config.childAttr(idName) == key) {
            return config.childAttr("value");
        }
        config.nextChild();
    }
    return vrel_string();
}
