// Everything that passes between the host and the component, stamped with the
// virtual time: notifications in, commands out, replies, debug output, what the
// host did about each command, and the problems it flagged. Scenario
// expectations read it; each new entry is published on the facility's feed.
#ifndef VREL_HOST_TRAFFIC_LOG_H
#define VREL_HOST_TRAFFIC_LOG_H

#include "change_feed.h"

#include <cstdint>
#include <string>
#include <vector>

enum class traffic_kind {
    step,     // a scenario line being run
    say,      // narration from a scenario
    in,       // a notification to the component
    out,      // a command text from the component (code 0)
    handback, // a reply handed back by the component (code 5)
    reply,    // the component's reply to a parent command
    debug,    // the component's debug output
    host,     // what the host did
    note,     // something odd that is not a protocol break
    problem,  // a protocol break or a command the host cannot carry out
};

struct traffic_entry {
    int64_t time;
    traffic_kind kind;
    std::string text;
};

class traffic_log {
public:
    // Where new entries are published; null publishes nothing.
    void setFeed(const change_feed* feed) { feed_ = feed; }

    void add(int64_t time, traffic_kind kind, const std::string& text);

    const std::vector<traffic_entry>& entries() const { return entries_; }
    size_t count(traffic_kind kind) const;

    // One entry as printed: "   5000 ms  out     TP 'text=' '1' 'CueInfo'".
    static std::string format(const traffic_entry& entry);
    static const char* label(traffic_kind kind);

private:
    std::vector<traffic_entry> entries_;
    const change_feed* feed_ = nullptr;
};

#endif
