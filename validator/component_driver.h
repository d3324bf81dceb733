// Creates one component through a factory, sends it notifications as a host
// would and checks what each call gives back: only a parent command (type 3)
// may return a text, which must be non-empty, NUL-terminated and not one that
// is still held; every such text goes back with type 5 exactly once.
#ifndef VREL_VALIDATOR_COMPONENT_DRIVER_H
#define VREL_VALIDATOR_COMPONENT_DRIVER_H

#include "checking_host.h"
#include "component_factory.h"
#include "report.h"

#include <string>
#include <vector>

class component_driver {
public:
    // `host` may be null: the component is then created without a host.
    component_driver(vrel_component_factory factory, checking_host* host, report& out,
                     std::string componentPath);
    component_driver(const component_driver&) = delete;
    component_driver& operator=(const component_driver&) = delete;
    // Releases what is held and destroys the component if still alive.
    ~component_driver();

    // Calls the factory; false (and a failure) when it returns null.
    bool create(const char* path);
    bool create() { return create(componentPath_.c_str()); }
    bool alive() const { return component_ != nullptr; }

    // One notification; `what` describes it for messages (null: described
    // from the type and data when a message needs it). A reply of a parent
    // command is checked, added to the transcript and held; it is returned
    // (still held) or null.
    char* notify(void* data, int type, const char* what = nullptr);
    // A parent command whose reply, if any, is released at once.
    void command(const char* text);
    // Sends type 5 for the held reply at `position`.
    void release(size_t position);
    void releaseAll();
    size_t held() const { return held_.size(); }

    // Releases what is held, destroys the component and checks its last words.
    void destroy();

private:
    vrel_component_factory factory_;
    checking_host* host_;
    report& out_;
    std::string componentPath_;
    vrel_client_callback* component_ = nullptr;
    std::vector<char*> held_;
};

// A notification described for a message.
std::string describeNotification(int type, const void* data);

#endif
