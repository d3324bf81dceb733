// The emulated facility as the page sees it: the host's state model read into
// JSON, and each change of its feed as one event. Nothing here keeps a copy of
// the facility; every value is read from emulated_host when asked.
#ifndef VREL_DEVHOST_FACILITY_VIEW_H
#define VREL_DEVHOST_FACILITY_VIEW_H

#include "emulated_host.h"
#include "serve_json.h"

#include <cstdint>
#include <map>

// The last crosspoint change of a router, for the matrix to highlight.
struct crosspoint_change {
    int32_t destination = 0;
    int32_t source = 0;
    int64_t time = 0;
};

// The whole state: panels with their controls and properties, routers with
// crosspoints, registrations, fault and last change, info slots, timers,
// faults in words, the clock and whether a component is alive.
json facility_state(const emulated_host& host,
                    const std::map<int32_t, crosspoint_change>& lastChanges);

// One change of the feed: {"type":"change","what":...} with the fields that
// kind carries. For a traffic change, {"type":"log","t":ms,"k":kind,"x":text}.
json facility_event(const facility_change& change);

// The kinds of traffic line, for the page's first event: [{"name":"out",
// "label":"out","colour":"#1d4ed8","background":""}, ...] in the host's order.
json traffic_kinds_json();

#endif
