// A source for the calls of vrel_add_component that must be refused; the one
// correct call builds it into a component.
#include "component_factory.h"

extern "C" vrel_client_callback* load_vrel_client_script(client_host*, const char*) {
    return nullptr;
}
