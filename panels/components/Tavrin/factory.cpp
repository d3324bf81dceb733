// The library's only export.
#include "Tavrin.h"

#include "component_factory.h"

#include <new>

// One Tavrin per call; the contract is in component_factory.h.
extern "C" vrel_client_callback* load_vrel_client_script(client_host* host, const char* text) {
    try {
        return new (std::nothrow) Tavrin(host, text);
    } catch (...) {
        // The constructor ran out of memory; it has been unwound and freed.
        return nullptr;
    }
}
