// A minimal script component for the frame's tests: it records every handler
// call as one line of text and answers parent commands with a scripted reply.
#ifndef VREL_TESTS_RECORDING_COMPONENT_H
#define VREL_TESTS_RECORDING_COMPONENT_H

#include "vrel_script_helper.h"

#include <cstdint>
#include <string>
#include <vector>

class recording_component : public vrel_script_helper {
public:
    explicit recording_component(client_host* toHost, const char* path = "")
        : vrel_script_helper(toHost, path) {}

    // The one way a component switches the alarm pre-filter on: the field.
    void switchAlarmHandlingOn() { alarmHandling = true; }

    std::vector<std::string> calls;
    // What onParentCommand returns.
    vrel_string parentReply;
    // The record seen by the last onParentCommand, copied while it was valid.
    command_record lastRecord{};
    bool recordSeen = false;

protected:
    void onButton(notify_ref* ref) override {
        calls.push_back("button " + text(ref->panel()) + " " + text(ref->control()) + " " +
                        text(ref->buttonCommand()) + "=" + text(ref->buttonValue()));
    }
    int onRouteStatus(notify_ref* ref) override {
        const route_status_record* status = ref->routeStatus();
        calls.push_back("route " + std::to_string(status->device) + " " +
                        std::to_string(status->index) + " " + std::to_string(status->value));
        return 1;
    }
    vrel_string onParentCommand(notify_ref* ref) override {
        lastRecord = *static_cast<const command_record*>(ref->record());
        recordSeen = true;
        calls.push_back("parent " + text(ref->command()) + "=" + text(ref->value()));
        return parentReply;
    }
    void onTimer(int id) override { calls.push_back("timer " + std::to_string(id)); }
    void onNotify6(notify_ref* ref) override { calls.push_back("notify6 " + address(ref)); }
    void onNotify7(notify_ref* ref) override { calls.push_back("notify7 " + address(ref)); }

private:
    static std::string text(const vrel_string& s) { return s.c_str(); }
    static std::string address(notify_ref* ref) {
        return std::to_string(reinterpret_cast<uintptr_t>(ref->record()));
    }
};

#endif
