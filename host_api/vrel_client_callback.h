// The component object: what the factory returns and the host talks to.
//
// The host calls exactly two operations of it, both on the host's own thread
// and one at a time: `notify` for every notification, and the destructor once
// at the end. Notifications never overlap each other, construction or
// destruction, and never arrive while the component is inside a
// client_host::send of its own: anything a command causes (the route status
// after "RC" or "RP") is delivered after the call that sent it has returned.
#ifndef VREL_CLIENT_CALLBACK_H
#define VREL_CLIENT_CALLBACK_H

#if defined(_WIN32) && !defined(_WIN64) && defined(__GNUC__)
// The facility's host is a 32-bit program built with Microsoft's compiler. Its
// C++ ABI gives a virtual destructor one table entry, the "scalar deleting
// destructor" (thiscall, one flags argument, bit 0: free the object too,
// returning the object), where g++ puts two destructor entries. So here the
// table starts with that entry written out, then notify; g++'s own destructor
// pair follows as entries 2 and 3, used only by callers built with g++.
// Compilers that follow Microsoft's ABI themselves (clang for an msvc target)
// take the plain declaration below, which lays the table out the same way.
class vrel_client_callback {
public:
    vrel_client_callback() = default;
    vrel_client_callback(const vrel_client_callback&) = delete;
    vrel_client_callback& operator=(const vrel_client_callback&) = delete;

    // Entry 0: how the host destroys the component. Runs the whole destructor
    // chain of the real object, then frees it with the scalar delete when bit 0
    // of `flags` is set.
    virtual __attribute__((thiscall)) vrel_client_callback* destroy(unsigned flags) final {
        this->~vrel_client_callback();
        if ((flags & 1u) != 0) {
            ::operator delete(static_cast<void*>(this));
        }
        return this;
    }

    // Entry 1, as below.
    virtual __attribute__((thiscall)) char* notify(void* data, int type) = 0;

    // Entries 2 and 3.
    virtual ~vrel_client_callback() = default;
};

// How a host destroys a component: entry 0 of its table with flags 1, as the
// facility's host does, so that a host built with g++ destroys a component
// built for the Microsoft C++ ABI as well as one built with g++ (whose table
// has entries 2 and 3, which `delete` would call, and the other's has not).
// The entry is read from the table itself: a call of destroy(), which is
// final, would run g++'s own body, not the component's.
inline void vrel_destroy_component(vrel_client_callback* component) {
    if (component == nullptr) {
        return;
    }
// g++ calls the thiscall attribute on a plain function pointer unusual; it is
// applied all the same, and it is the point here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
    using scalar_deleting_destructor =
        vrel_client_callback*(__attribute__((thiscall))*)(vrel_client_callback*, unsigned);
#pragma GCC diagnostic pop
    scalar_deleting_destructor entry0 =
        (*reinterpret_cast<scalar_deleting_destructor* const*>(component))[0];
    entry0(component, 1u);
}
#else
class vrel_client_callback {
public:
    vrel_client_callback() = default;
    vrel_client_callback(const vrel_client_callback&) = delete;
    vrel_client_callback& operator=(const vrel_client_callback&) = delete;

    // First entry of the table. The host destroys the component through it,
    // which also frees the object. The component's last command ("AS") is
    // sent from inside it.
    virtual ~vrel_client_callback() = default;

    // Second entry of the table. `type` is one of vrel_notify_type
    // (notify_records.h), which also says what `data` is for each type and how
    // long it stays valid. Unknown types are ignored. The result is null except
    // for a parent command (type 3) with a non-empty reply: a NUL-terminated
    // text allocated by the component, which the host reads and then hands
    // back with type 5 exactly once; the component frees it then. The host
    // never frees it itself: the two may not share a C runtime.
    virtual char* notify(void* data, int type) = 0;
};

// How a host destroys a component: `delete`, which calls the first entry.
inline void vrel_destroy_component(vrel_client_callback* component) {
    delete component;
}
#endif

#endif
