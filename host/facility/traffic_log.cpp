#include "traffic_log.h"

#include "shown_text.h"

#include <cstdio>

void traffic_log::addStatus(int64_t time, const route_status& status, const std::string& text) {
    traffic_entry entry{time, traffic_kind::in, text};
    entry.hasStatus = true;
    entry.status = status;
    add(std::move(entry));
}

void traffic_log::add(int64_t time, traffic_kind kind, const std::string& text) {
    add(traffic_entry{time, kind, text});
}

void traffic_log::add(traffic_entry entry) {
    const int64_t time = entry.time;
    const traffic_kind kind = entry.kind;
    const size_t number = size();
    kept_.push_back(std::move(entry));
    ++counts_[static_cast<size_t>(kind)];
    if (kind == traffic_kind::step) {
        step_ = kept_.back().text.substr(0, kept_.back().text.find("  "));
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

std::string traffic_log::format(const traffic_entry& entry) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%8lld ms  %-7s ", static_cast<long long>(entry.time),
                  traffic_kind_of(entry.kind).label);
    const std::string indent(std::string(stamp).size(), ' ');
    // Texts of several lines continue under the first; a final line end is
    // part of the text, not an extra line.
    std::string text = escape_controls(entry.text, "\n");
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
