#include "facility_view.h"

#include "shown_text.h"

namespace {

const char* change_name(facility_change::kind what) {
    switch (what) {
    case facility_change::kind::traffic:
        return "traffic";
    case facility_change::kind::panel:
        return "panel";
    case facility_change::kind::property:
        return "property";
    case facility_change::kind::crosspoint:
        return "crosspoint";
    case facility_change::kind::registration:
        return "registration";
    case facility_change::kind::info:
        return "info";
    case facility_change::kind::timer:
        return "timer";
    case facility_change::kind::fault:
        return "fault";
    case facility_change::kind::clock:
        return "clock";
    case facility_change::kind::component:
        return "component";
    }
    return "unknown";
}

const char* fault_name(status_fault fault) {
    switch (fault) {
    case status_fault::none:
        return "none";
    case status_fault::hold:
        return "hold";
    case status_fault::delay:
        return "delay";
    case status_fault::drop:
        return "drop";
    }
    return "none";
}

json panels_of(const emulated_host& host) {
    json panels = json::array();
    for (const auto& shown : host.panels()) {
        json controls = json::array();
        for (const panel_control& control : shown.second.controls()) {
            json properties = json::array();
            for (const auto& property : control.properties) {
                properties.push_back({property.first, property.second});
            }
            controls.push_back(
                {{"id", control.id}, {"kind", control.kind}, {"properties", properties}});
        }
        panels.push_back(
            {{"number", shown.first}, {"file", shown.second.file()}, {"controls", controls}});
    }
    return panels;
}

json routers_of(const emulated_host& host,
                const std::map<int32_t, crosspoint_change>& lastChanges) {
    json routers = json::array();
    for (const int32_t device : host.routers().devices()) {
        json crosspoints = json::array();
        for (const auto& crosspoint : host.routers().crosspoints(device)) {
            crosspoints.push_back({crosspoint.first, crosspoint.second});
        }
        json registered = json::array();
        for (const auto& range : host.routers().registrations(device)) {
            registered.push_back({range.first, range.second});
        }
        json router = {{"device", device},
                       {"crosspoints", crosspoints},
                       {"registered", registered},
                       {"fault", fault_name(host.faults().faultOf(device))}};
        const auto last = lastChanges.find(device);
        if (last != lastChanges.end()) {
            router["last"] = {{"destination", last->second.destination},
                              {"source", last->second.source},
                              {"t", last->second.time}};
        }
        routers.push_back(router);
    }
    return routers;
}

json info_of(const emulated_host& host) {
    json devices = json::array();
    for (const auto& device : host.info().all()) {
        json slots = json::array();
        for (const auto& slot : device.second) {
            slots.push_back({slot.first, slot.second});
        }
        devices.push_back({{"device", device.first}, {"slots", slots}});
    }
    return devices;
}

json timers_of(const emulated_host& host) {
    json timers = json::array();
    for (const auto& timer : host.timers().running()) {
        timers.push_back(
            {{"id", timer.first}, {"interval", timer.second.interval}, {"due", timer.second.due}});
    }
    return timers;
}

} // namespace

json facility_state(const emulated_host& host,
                    const std::map<int32_t, crosspoint_change>& lastChanges) {
    return {{"type", "state"},
            {"now", host.now()},
            {"alive", host.alive()},
            {"componentPath", host.componentPath()},
            {"capturesDebug", host.capturesDebug()},
            {"panels", panels_of(host)},
            {"routers", routers_of(host, lastChanges)},
            {"info", info_of(host)},
            {"timers", timers_of(host)},
            {"faults", host.faults().describe()}};
}

json traffic_kinds_json() {
    json kinds = json::array();
    for (size_t i = 0; i < traffic_kind_count(); ++i) {
        const traffic_kind_entry& kind = traffic_kinds()[i];
        kinds.push_back({{"name", kind.name},
                         {"label", kind.label},
                         {"colour", kind.colour},
                         {"background", kind.background}});
    }
    return kinds;
}

json facility_event(const facility_change& change) {
    if (change.what == facility_change::kind::traffic) {
        return {{"type", "log"},
                {"t", change.entry->time},
                {"k", traffic_kind_of(change.entry->kind).name},
                {"x", escape_controls(change.entry->text, "\n")}};
    }
    json event = {{"type", "change"}, {"what", change_name(change.what)}, {"t", change.time}};
    switch (change.what) {
    case facility_change::kind::panel:
        event["panel"] = change.panel;
        event["value"] = change.value;
        break;
    case facility_change::kind::property:
        event["panel"] = change.panel;
        event["control"] = change.control;
        event["property"] = change.property;
        event["value"] = change.value;
        break;
    case facility_change::kind::crosspoint:
        event["device"] = change.device;
        event["destination"] = change.destination;
        event["source"] = change.source;
        break;
    case facility_change::kind::registration:
    case facility_change::kind::fault:
        event["device"] = change.device;
        break;
    case facility_change::kind::info:
        event["device"] = change.device;
        event["index"] = change.index;
        event["value"] = change.value;
        break;
    case facility_change::kind::timer:
        event["id"] = change.index;
        break;
    case facility_change::kind::component:
        event["value"] = change.value;
        break;
    case facility_change::kind::clock:
    case facility_change::kind::traffic:
        break;
    }
    return event;
}
