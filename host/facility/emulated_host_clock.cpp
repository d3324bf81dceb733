// The emulated host's virtual clock: moving it on delivers timer expiries and
// delayed statuses in time order.
#include "emulated_host.h"

#include "notify_records.h"

bool emulated_host::advance(int64_t ms) {
    if (ms < 0 || ms > clockEnd - now_) {
        return false;
    }
    const int64_t target = now_ + ms;
    for (int events = 0;; ++events) {
        int64_t timerDue = 0;
        int32_t timerId = 0;
        int64_t statusDue = 0;
        const bool timer = timers_.nextDue(timerDue, timerId) && timerDue <= target;
        const bool status = faults_.nextDue(statusDue) && statusDue <= target;
        if (!timer && !status) {
            break;
        }
        if (events == maxEventsPerAdvance) {
            problem("the clock was moved on to " + std::to_string(target) + " ms after " +
                    std::to_string(maxEventsPerAdvance) +
                    " timer expiries and statuses; the rest were skipped");
            break;
        }
        // At equal times a delayed status comes before a timer.
        if (status && (!timer || statusDue <= timerDue)) {
            moveClock(statusDue);
            const route_status due = faults_.takeNext();
            enqueue(notification{vrel_notify_route_status, due, 0, "", "", ""});
            facility_change change;
            change.what = facility_change::kind::fault;
            change.device = due.device;
            publish(change);
        } else {
            moveClock(timerDue);
            timers_.expired(timerId);
            timerChanged(timerId);
            enqueue(notification{vrel_notify_timer, {}, timerId, "", "", ""});
        }
        drain();
    }
    moveClock(target);
    return true;
}

void emulated_host::moveClock(int64_t to) {
    if (to == now_) {
        return;
    }
    now_ = to;
    facility_change change;
    change.what = facility_change::kind::clock;
    publish(change);
}

void emulated_host::timerChanged(int32_t id) {
    facility_change change;
    change.what = facility_change::kind::timer;
    change.index = id;
    publish(change);
}
