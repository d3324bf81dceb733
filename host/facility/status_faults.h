// Faults injected between a router and the component: route status reports of
// a device can be held back (until released), delayed on the virtual clock, or
// dropped.
#ifndef VREL_HOST_STATUS_FAULTS_H
#define VREL_HOST_STATUS_FAULTS_H

#include "routers.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

enum class status_fault { none, hold, delay, drop };

class status_faults {
public:
    enum class verdict { deliver, held, delayed, dropped };

    // Sets the fault of a device. `delay` (in ms) is used by status_fault::delay.
    // Statuses already held or delayed stay where they are.
    void set(int32_t device, status_fault fault, int64_t delay);
    status_fault faultOf(int32_t device) const;

    // Decides about one status reported at `now`.
    verdict admit(const route_status& status, int64_t now);

    // Ends holding for the device and returns what was held, oldest first.
    std::vector<route_status> release(int32_t device);

    // The earliest delayed status, if any: its due time.
    bool nextDue(int64_t& due) const;
    // Takes the earliest delayed status (call after nextDue said there is one).
    route_status takeNext();

    // For "show": every active fault and what is waiting, in words.
    std::vector<std::string> describe() const;

private:
    struct setting {
        status_fault fault = status_fault::none;
        int64_t delay = 0;
    };
    struct delayed_status {
        int64_t due;
        uint64_t order;
        route_status status;
    };
    std::map<int32_t, setting> settings_;
    std::map<int32_t, std::vector<route_status>> held_;
    std::deque<delayed_status> delayed_; // kept sorted by due time, then order
    uint64_t nextOrder_ = 0;
};

#endif
