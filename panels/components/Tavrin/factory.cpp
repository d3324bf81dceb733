// The library's only export.
#include "Tavrin.h"

#include "vrel_export.h"

#include <new>

// Called by the host once per component instance. `host` may be null (the
// component then sends nothing); `text` is the component's folder, the prefix
// of its panel files (null or empty: none). The returned object is owned by
// the host, which destroys it through its virtual destructor. Null when the
// object cannot be made.
extern "C" VREL_EXPORT_SYMBOL vrel_client_callback* load_vrel_client_script(client_host* host,
                                                                            const char* text) {
    try {
        return new (std::nothrow) Tavrin(host, text);
    } catch (...) {
        // The constructor ran out of memory; it has been unwound and freed.
        return nullptr;
    }
}
