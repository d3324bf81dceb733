// What the factory returns and the host talks to: the virtual destructor and
// notify are the only operations the host ever calls.
#ifndef VREL_CLIENT_CALLBACK_H
#define VREL_CLIENT_CALLBACK_H

#if defined(_WIN32) && !defined(_WIN64) && defined(__GNUC__)
// The facility's host is a 32-bit program built with Microsoft's compiler. Its
// C++ ABI gives a virtual destructor one table entry, the "scalar deleting
// destructor" (thiscall, one flags argument, bit 0: free the object too,
// returning the object), where g++ puts two destructor entries. So here the
// table starts with that entry written out, then notify; g++'s own destructor
// pair follows as entries 2 and 3, used only by callers built with g++.
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
#else
class vrel_client_callback {
public:
    vrel_client_callback() = default;
    vrel_client_callback(const vrel_client_callback&) = delete;
    vrel_client_callback& operator=(const vrel_client_callback&) = delete;

    // First entry of the table. The host destroys the component through it,
    // which also frees the object.
    virtual ~vrel_client_callback() = default;

    // Second entry of the table. Called by the host for every notification,
    // one at a time, on the host's thread. `data` is a record pointer, a text
    // or a timer id depending on `type`. The result is null except for a
    // parent command (type 3) with a non-empty reply: a text allocated by the
    // component that the host hands back with type 5 once it has used it.
    virtual char* notify(void* data, int type) = 0;
};
#endif

#endif
