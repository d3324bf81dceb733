// Routers of any device number, as the host keeps them: a crosspoint table per
// device and the destinations the component registered for status.
#ifndef VREL_HOST_ROUTERS_H
#define VREL_HOST_ROUTERS_H

#include "host_records.h"
#include "protocol_rules.h"

#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

class router_bank {
public:
    // A poll answers at most this many destinations; a larger range is cut.
    static constexpr int32_t maxPollRange = max_poll_range;
    // The source reported for a destination nothing was ever routed to.
    static constexpr int32_t nothingRouted = -1;

    // Sets a crosspoint and reports nothing: the initial state, or a change
    // made behind the component's back.
    void set(int32_t device, int32_t destination, int32_t source);

    // Routes as the router would on a route command: sets the crosspoint and
    // returns the status to report when the destination is registered.
    std::vector<route_status> route(int32_t device, int32_t source, int32_t destination);

    // Registers destinations first..last of the device for status reports.
    // Without `add` the range replaces the device's registration; with it the
    // range is added.
    void registerRange(int32_t device, int32_t first, int32_t last, bool add);
    // Forgets every registration (the component that made them is gone).
    void clearRegistrations();

    // The current state of destinations first..last; `cut` is set when the
    // range was longer than maxPollRange and only its start is answered.
    std::vector<route_status> poll(int32_t device, int32_t first, int32_t last, bool& cut) const;

    int32_t crosspoint(int32_t device, int32_t destination) const;

    // Who made a crosspoint last: another panel's route (marked), or the
    // component or the initial state (not marked). A component that routes
    // over another panel's crosspoint takes it from that operator.
    void markOtherPanel(int32_t device, int32_t destination, bool marked);
    bool routedByOtherPanel(int32_t device, int32_t destination) const;
    bool isRegistered(int32_t device, int32_t destination) const;

    // Every device that has a crosspoint or a registration, in order.
    std::vector<int32_t> devices() const;
    // The device's crosspoints that were ever set, by destination.
    std::map<int32_t, int32_t> crosspoints(int32_t device) const;
    std::vector<std::pair<int32_t, int32_t>> registrations(int32_t device) const;

private:
    struct router {
        std::map<int32_t, int32_t> crosspoints;
        std::vector<std::pair<int32_t, int32_t>> registered;
        std::set<int32_t> otherPanel;
    };
    std::map<int32_t, router> routers_;
};

#endif
