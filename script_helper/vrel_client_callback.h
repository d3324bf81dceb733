// What the factory returns and the host talks to: the virtual destructor and
// notify are the only operations the host ever calls.
#ifndef VREL_CLIENT_CALLBACK_H
#define VREL_CLIENT_CALLBACK_H

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
