// The library's only export.
#include "Tavrin.h"

#include "component_factory.h"
#include "new_component.h"

// One Tavrin per call; the contract is in component_factory.h.
extern "C" vrel_client_callback* load_vrel_client_script(client_host* host, const char* text) {
    return vrel_new_component<Tavrin>(host, text);
}
