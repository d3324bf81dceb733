// The library's only export.
#include "Lamp.h"

#include "component_factory.h"

#include <new>

extern "C" vrel_client_callback* load_vrel_client_script(client_host* host, const char* text) {
    try {
        return new (std::nothrow) Lamp(host, text);
    } catch (...) {
        return nullptr;
    }
}
