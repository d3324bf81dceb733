// The factory's form: one component object per call, made with the scalar
// operator new, as the host destroys it through its virtual destructor.
//
//   extern "C" vrel_client_callback* load_vrel_client_script(client_host* host,
//                                                            const char* text) {
//       return vrel_new_component<Lamp>(host, text);
//   }
#ifndef VREL_NEW_COMPONENT_H
#define VREL_NEW_COMPONENT_H

#include "client_host.h"
#include "heap.h"
#include "vrel_client_callback.h"

// A new Component constructed from `host` and `text`; null when there is no
// memory for it.
template <typename Component>
vrel_client_callback* vrel_new_component(client_host* host, const char* text) {
    void* block = vrel_new_block(sizeof(Component));
    if (block == nullptr) {
        return nullptr;
    }
    return new (block) Component(host, text);
}

#endif
