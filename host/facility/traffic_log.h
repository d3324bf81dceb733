// Everything that passes between the host and the component, stamped with the
// virtual time: notifications in, commands out, replies, debug output, what the
// host did about each command, and the problems it flagged. Scenario
// expectations read it; each new entry is published on the facility's feed.
//
// Entries are numbered from 0 in the order they came. The log keeps only the
// recent ones in memory (its reader says what it no longer needs), so a long
// run stays small; the problems and notes are kept apart, with the step that
// raised them, because expectations and the final verdict read all of them.
#ifndef VREL_HOST_TRAFFIC_LOG_H
#define VREL_HOST_TRAFFIC_LOG_H

#include "change_feed.h"
#include "host_records.h"
#include "traffic_kinds.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

struct traffic_entry {
    int64_t time;
    traffic_kind kind;
    std::string text;
    // A route status delivered to the component, as data beside its text.
    bool hasStatus = false;
    route_status status{};
};

// A problem or a note of the host, and the step (a scenario line, "file:line")
// that was running when it was raised.
struct flagged_entry {
    size_t number;
    traffic_entry entry;
    std::string step;
};

class traffic_log {
public:
    // Where new entries are published; null publishes nothing.
    void setFeed(const change_feed* feed) { feed_ = feed; }

    void add(int64_t time, traffic_kind kind, const std::string& text);
    // A route status delivered to the component ("in"), with its text.
    void addStatus(int64_t time, const route_status& status, const std::string& text);

    // The number the next entry gets: how many were ever added.
    size_t size() const { return first_ + kept_.size(); }
    // The number of the oldest entry still kept.
    size_t firstKept() const { return first_; }
    // Entry `number`, which must be kept: firstKept() <= number < size().
    const traffic_entry& operator[](size_t number) const { return kept_[number - first_]; }
    const std::deque<traffic_entry>& kept() const { return kept_; }
    // Entries before `number` are no longer read; the last `recentKept` stay
    // for a look back.
    void forgetBefore(size_t number);

    // Every problem and note, oldest first, up to `flaggedKept` of them.
    const std::deque<flagged_entry>& flagged() const { return flagged_; }
    size_t flaggedDropped() const { return flaggedDropped_; }

    size_t count(traffic_kind kind) const { return counts_[static_cast<size_t>(kind)]; }

    // One entry as printed: "   5000 ms  out     TP 'text=' '1' 'CueInfo'".
    static std::string format(const traffic_entry& entry);

    static constexpr size_t recentKept = 1000;
    static constexpr size_t flaggedKept = 100000;

private:
    void add(traffic_entry entry);

    std::deque<traffic_entry> kept_;
    size_t first_ = 0;
    std::deque<flagged_entry> flagged_;
    size_t flaggedDropped_ = 0;
    std::string step_;
    size_t counts_[static_cast<size_t>(traffic_kind::output) + 1] = {};
    const change_feed* feed_ = nullptr;
};

#endif
