// The library's only export.
#include "Lamp.h"

#include "component_factory.h"
#include "new_component.h"

extern "C" vrel_client_callback* load_vrel_client_script(client_host* host, const char* text) {
    return vrel_new_component<Lamp>(host, text);
}
