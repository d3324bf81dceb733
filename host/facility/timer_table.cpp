#include "timer_table.h"

timer_table::start_result timer_table::start(int32_t id, int32_t interval, int64_t now) {
    if (interval < 1) {
        return start_result::refused;
    }
    const auto found = timers_.find(id);
    const bool running = found != timers_.end();
    if (running) {
        byDue_.erase({found->second.due, id});
    }
    const timer started{interval, now + interval};
    timers_[id] = started;
    byDue_.insert({started.due, id});
    return running ? start_result::restarted : start_result::started;
}

bool timer_table::stop(int32_t id) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) {
        return false;
    }
    byDue_.erase({found->second.due, id});
    timers_.erase(found);
    return true;
}

bool timer_table::nextDue(int64_t& due, int32_t& id) const {
    if (byDue_.empty()) {
        return false;
    }
    due = byDue_.begin()->first;
    id = byDue_.begin()->second;
    return true;
}

void timer_table::expired(int32_t id) {
    const auto found = timers_.find(id);
    if (found != timers_.end()) {
        byDue_.erase({found->second.due, id});
        found->second.due += found->second.interval;
        byDue_.insert({found->second.due, id});
    }
}
