#include "traffic_log.h"

#include <cstdio>

void traffic_log::add(int64_t time, traffic_kind kind, const std::string& text) {
    const size_t number = size();
    kept_.push_back(traffic_entry{time, kind, text});
    ++counts_[static_cast<size_t>(kind)];
    if (kind == traffic_kind::step) {
        step_ = text.substr(0, text.find("  "));
    } else if (kind == traffic_kind::problem || kind == traffic_kind::note) {
        if (flagged_.size() < flaggedKept) {
            flagged_.push_back(flagged_entry{number, kept_.back(), step_});
        } else {
            ++flaggedDropped_;
        }
    }
    if (feed_ != nullptr) {
        facility_change change;
        change.what = facility_change::kind::traffic;
        change.time = time;
        change.entry = &kept_.back();
        feed_->publish(change);
    }
}

void traffic_log::forgetBefore(size_t number) {
    const size_t recent = size() > recentKept ? size() - recentKept : 0;
    const size_t until = number < recent ? number : recent;
    while (first_ < until && !kept_.empty()) {
        kept_.pop_front();
        ++first_;
    }
}

const char* traffic_log::name(traffic_kind kind) {
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
        return "problem";
    }
    return "?";
}

const char* traffic_log::label(traffic_kind kind) {
    // Problems stand out in a printed log.
    return kind == traffic_kind::problem ? "PROBLEM" : name(kind);
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
