// What changes in the emulated facility, told as it happens to whoever
// subscribed: the traffic log's new entries, panels shown and their
// properties, crosspoints, registrations, info slots, timers, faults, the
// virtual clock and the component's life. Front-ends (the scenario runner's
// output, the console, a browser view) read the state model and follow this
// feed; none keeps a copy of the facility.
#ifndef VREL_HOST_CHANGE_FEED_H
#define VREL_HOST_CHANGE_FEED_H

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

struct traffic_entry;

struct facility_change {
    enum class kind {
        traffic,      // entry: a new line of the traffic log
        panel,        // panel: shown (or, with `value` "closed", gone)
        property,     // panel, control, property, value: a property was set
        crosspoint,   // device, destination, source: a crosspoint changed
        registration, // device: the destinations it reports changed
        info,         // device, index, value: an info slot was written
        timer,        // index: the timer id started, stopped or fired
        fault,        // device: its fault or what it holds changed
        clock,        // time: the virtual clock moved
        component,    // value: "created", "destroyed"
    };

    kind what = kind::traffic;
    int64_t time = 0; // virtual ms
    const traffic_entry* entry = nullptr;
    std::string panel;
    std::string control;
    std::string property;
    std::string value;
    int32_t device = 0;
    int32_t destination = 0;
    int32_t source = 0;
    int32_t index = 0;
};

class facility_observer {
public:
    virtual ~facility_observer() = default;
    // Called on the host's thread, after the change is made; the change and
    // any entry it points to are valid only for the call.
    virtual void changed(const facility_change& change) = 0;
};

class change_feed {
public:
    // The observer must stay alive until it unsubscribes.
    void subscribe(facility_observer* observer) { observers_.push_back(observer); }
    void unsubscribe(facility_observer* observer) {
        observers_.erase(std::remove(observers_.begin(), observers_.end(), observer),
                         observers_.end());
    }
    void publish(const facility_change& change) const {
        for (facility_observer* observer : observers_) {
            observer->changed(change);
        }
    }
    bool empty() const { return observers_.empty(); }

private:
    std::vector<facility_observer*> observers_;
};

#endif
