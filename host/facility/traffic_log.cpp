#include "traffic_log.h"

#include <algorithm>
#include <cstdio>

void traffic_log::add(int64_t time, traffic_kind kind, const std::string& text) {
    entries_.push_back(traffic_entry{time, kind, text});
    if (feed_ != nullptr) {
        facility_change change;
        change.what = facility_change::kind::traffic;
        change.time = time;
        change.entry = &entries_.back();
        feed_->publish(change);
    }
}

size_t traffic_log::count(traffic_kind kind) const {
    return static_cast<size_t>(
        std::count_if(entries_.begin(), entries_.end(),
                      [kind](const traffic_entry& e) { return e.kind == kind; }));
}

const char* traffic_log::label(traffic_kind kind) {
    switch (kind) {
    case traffic_kind::step:
        return "step";
    case traffic_kind::say:
        return "say";
    case traffic_kind::in:
        return "in";
    case traffic_kind::out:
        return "out";
    case traffic_kind::handback:
        return "back";
    case traffic_kind::reply:
        return "reply";
    case traffic_kind::debug:
        return "debug";
    case traffic_kind::host:
        return "host";
    case traffic_kind::note:
        return "note";
    case traffic_kind::problem:
        return "PROBLEM";
    }
    return "?";
}

std::string traffic_log::format(const traffic_entry& entry) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%8lld ms  %-7s ", static_cast<long long>(entry.time),
                  label(entry.kind));
    const std::string indent(std::string(stamp).size(), ' ');
    // Texts of several lines continue under the first; a final line end is
    // part of the text, not an extra line.
    std::string text = entry.text;
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    std::string line = stamp;
    for (const char c : text) {
        line += c;
        if (c == '\n') {
            line += indent;
        }
    }
    return line;
}
