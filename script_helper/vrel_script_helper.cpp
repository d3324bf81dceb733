#include "vrel_script_helper.h"

#include "command_parser.h"
#include "heap.h"

#include <stdint.h>
#include <string.h>

vrel_script_helper::vrel_script_helper(client_host* host_, const char* text)
    : host(host_), componentPath(text), alarmHandling(false) {}

vrel_script_helper::~vrel_script_helper() {
    sendCommand("AS");
}

char* vrel_script_helper::sendCommand(const char* text) {
    // No text: there was no memory to build it.
    if (host == nullptr || text == nullptr) {
        return nullptr;
    }
    return host->send(text, vrel_send_execute);
}

char* vrel_script_helper::notify(void* data, int type) {
    // Types past 7, negative ones included, call nothing: answered before
    // anything is set up. (Type 0 is left to the switch.)
    if (static_cast<unsigned>(type) > 7u) {
        return nullptr;
    }
    // The two most frequent, route statuses and timers, are tested first.
    // A status without a record has nothing to report.
    if (type == vrel_notify_route_status) {
        if (data != nullptr) {
            notify_ref ref(data);
            onRouteStatus(&ref);
        }
        return nullptr;
    }
    if (type == vrel_notify_timer) {
        onTimer(static_cast<int>(reinterpret_cast<intptr_t>(data)));
        return nullptr;
    }
    switch (type) {
    case vrel_notify_button:
        if (data != nullptr) {
            onButtonNotification(data);
        }
        return nullptr;
    case vrel_notify_parent_command:
        return onParentCommandNotification(static_cast<const char*>(data));
    case vrel_notify_release:
        vrel_delete_block(data);
        return nullptr;
    case vrel_notify_6: {
        notify_ref ref(data);
        onNotify6(&ref);
        return nullptr;
    }
    case vrel_notify_7: {
        notify_ref ref(data);
        onNotify7(&ref);
        return nullptr;
    }
    default:
        return nullptr;
    }
}

namespace {

// A parsed record whose copy of the text stays on the stack when it is short,
// as every command of a working parent panel is; released however the
// handler returns.
class parsed_command {
public:
    explicit parsed_command(const char* text) { parse(record, text, storage_, sizeof storage_); }
    parsed_command(const parsed_command&) = delete;
    parsed_command& operator=(const parsed_command&) = delete;
    ~parsed_command() { discard(record, storage_); }

    command_record record;

private:
    char storage_[256];
};

} // namespace

char* vrel_script_helper::onParentCommandNotification(const char* text) {
    parsed_command command(text);
    notify_ref ref(&command.record);
    const vrel_string reply = onParentCommand(&ref);
    if (reply.length() <= 0) {
        return nullptr;
    }
    // Freed on type 5 with the scalar delete, so that no memory crosses
    // between the host's runtime and ours. Without memory for it, no reply.
    const size_t size = static_cast<size_t>(reply.length()) + 1;
    char* copy = static_cast<char*>(vrel_new_block(size));
    if (copy != nullptr) {
        memcpy(copy, static_cast<const char*>(reply), size);
    }
    return copy;
}

void vrel_script_helper::onButtonNotification(void* data) {
    notify_ref ref(data);
    if (alarmHandling && alarmPreFilter(ref)) {
        return;
    }
    onButton(&ref);
}

void vrel_script_helper::onNotify7(notify_ref*) {}

void vrel_script_helper::onNotify6(notify_ref*) {}
