#include "timer_table.h"

timer_table::start_result timer_table::start(int32_t id, int32_t interval, int64_t now) {
    if (interval < 1) {
        return start_result::refused;
    }
    const bool running = isRunning(id);
    timers_[id] = timer{interval, now + interval};
    return running ? start_result::restarted : start_result::started;
}

bool timer_table::stop(int32_t id) {
    return timers_.erase(id) != 0;
}

bool timer_table::nextDue(int64_t& due, int32_t& id) const {
    bool found = false;
    for (const auto& entry : timers_) {
        if (!found || entry.second.due < due) {
            due = entry.second.due;
            id = entry.first;
            found = true;
        }
    }
    return found;
}

void timer_table::expired(int32_t id) {
    const auto found = timers_.find(id);
    if (found != timers_.end()) {
        found->second.due += found->second.interval;
    }
}
