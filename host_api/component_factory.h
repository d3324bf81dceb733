// The one export of a component library: the factory.
//
// A component library exports exactly one symbol, `load_vrel_client_script`,
// with C linkage and undecorated (on 32-bit Windows through the library's
// .def file). A host finds it by that name (dlsym, GetProcAddress) and calls it
// once per component object it wants; one library may make many objects.
//
//   host  The host's interface object (client_host.h). The component keeps
//         the pointer for its whole life; the host keeps the object alive
//         until the component is destroyed. Null is legal: the component then
//         sends nothing at all and still works.
//   text  The component's folder: the prefix of the panel files it shows
//         ("PS '1' '<text>/p1.vrel_ui'"). NUL-terminated; the component copies
//         it before the factory returns, so it need only live for the call.
//         Null or empty: panel files are named without a folder.
//
// The result is owned by the host, which destroys it through the object's
// destructor (vrel_client_callback.h). Null when the object cannot be made;
// the host then has nothing to destroy. The factory is called on the host's
// thread, never while another call into the same object is running; the
// object's constructor already sends commands through `host`.
#ifndef VREL_COMPONENT_FACTORY_H
#define VREL_COMPONENT_FACTORY_H

#include "client_host.h"
#include "vrel_client_callback.h"

// The exported name, for hosts that look it up.
#define VREL_COMPONENT_FACTORY_NAME "load_vrel_client_script"

// The factory's type, for hosts that look it up.
typedef vrel_client_callback* (*vrel_component_factory)(client_host* host, const char* text);

// The declaration every component library defines once, and that tools which
// link a component's code directly (fuzzers, benchmarks) call. A component
// library is compiled with VREL_COMPONENT_BUILDING, which exports it. (The
// closed libraries' headers bring export markers of their own; this one
// neither uses nor touches them.)
#if defined(VREL_COMPONENT_BUILDING) && defined(_WIN32)
#define VREL_COMPONENT_API __declspec(dllexport)
#elif defined(VREL_COMPONENT_BUILDING)
#define VREL_COMPONENT_API __attribute__((visibility("default")))
#else
#define VREL_COMPONENT_API
#endif
extern "C" VREL_COMPONENT_API vrel_client_callback* load_vrel_client_script(client_host* host,
                                                                            const char* text);

#endif
