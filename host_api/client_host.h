// The host's side of the boundary: the one object through which a component
// sends every command text.
#ifndef VREL_CLIENT_HOST_H
#define VREL_CLIENT_HOST_H

// Codes passed as the second argument of client_host::send.
enum vrel_send_code {
    // Execute the command text. The result is the host's reply text or null.
    vrel_send_execute = 0,
    // Release a reply: `text` is a pointer that an earlier send with code 0
    // returned. Only the replies of the two queries ("TG", "XI") are ever
    // handed back, each exactly once, and before the call into the component
    // that asked returns; no other reply ever comes back. The result is
    // ignored.
    vrel_send_release = 5,
};

// Provided and owned by the host; the component only holds a pointer to it,
// given to the factory, for the component's whole life. A null pointer is
// legal: the component then sends nothing.
class client_host {
public:
    // First entry of the table: the host's own. The component never calls it.
    // It is a plain virtual function, not a destructor, so that `send` is the
    // second entry of the table under every C++ ABI (a virtual destructor
    // takes two entries under the Itanium ABI that g++ and clang use).
    virtual void reserved() = 0;

    // Second entry of the table, called only from inside a call of the host
    // into the component (the factory, notify or the destructor), on the
    // host's thread. `text` is a NUL-terminated command text (forms: see
    // docs/commands.md) that stays valid only for the call. For code 0 the
    // result is the host's reply (NUL-terminated, owned by the host) or null;
    // a query's reply stays valid until the component hands it back with code
    // 5, any other reply until the next send.
    virtual char* send(const char* text, int code) = 0;

protected:
    // The component never destroys the host.
    ~client_host() = default;
};

#endif
