// The component's timers on the host's virtual clock, keyed by id. A timer
// repeats at its interval until it is stopped.
#ifndef VREL_HOST_TIMER_TABLE_H
#define VREL_HOST_TIMER_TABLE_H

#include <cstdint>
#include <map>
#include <set>
#include <utility>

class timer_table {
public:
    struct timer {
        int32_t interval; // ms
        int64_t due;      // virtual time of the next expiry, ms
    };

    enum class start_result { started, restarted, refused };

    // "ET id interval": starts the timer, or restarts it from `now` when it
    // runs already. An interval below 1 is refused.
    start_result start(int32_t id, int32_t interval, int64_t now);

    // "ET id": stops the timer. False when no timer with that id runs.
    bool stop(int32_t id);

    // The timer that expires first, if any (at equal times, the lower id).
    bool nextDue(int64_t& due, int32_t& id) const;

    // Called when timer `id` expires at its due time: schedules the next expiry
    // one interval later.
    void expired(int32_t id);

    bool isRunning(int32_t id) const { return timers_.count(id) != 0; }
    const std::map<int32_t, timer>& running() const { return timers_; }

private:
    std::map<int32_t, timer> timers_;
    // The same timers by due time, then id: the first is the next to expire.
    std::set<std::pair<int64_t, int32_t>> byDue_;
};

#endif
