#include "status_faults.h"

#include <algorithm>

void status_faults::set(int32_t device, status_fault fault, int64_t delay) {
    if (fault == status_fault::none) {
        settings_.erase(device);
        return;
    }
    settings_[device] = setting{fault, delay};
}

status_fault status_faults::faultOf(int32_t device) const {
    const auto found = settings_.find(device);
    return found == settings_.end() ? status_fault::none : found->second.fault;
}

status_faults::verdict status_faults::admit(const route_status& status, int64_t now) {
    const auto found = settings_.find(status.device);
    if (found == settings_.end()) {
        return verdict::deliver;
    }
    switch (found->second.fault) {
    case status_fault::hold:
        held_[status.device].push_back(status);
        return verdict::held;
    case status_fault::drop:
        return verdict::dropped;
    case status_fault::delay: {
        const delayed_status entry{now + found->second.delay, nextOrder_++, status};
        const auto at = std::upper_bound(
            delayed_.begin(), delayed_.end(), entry,
            [](const delayed_status& a, const delayed_status& b) { return a.due < b.due; });
        delayed_.insert(at, entry);
        return verdict::delayed;
    }
    case status_fault::none:
        break;
    }
    return verdict::deliver;
}

std::vector<route_status> status_faults::release(int32_t device) {
    std::vector<route_status> statuses;
    const auto found = held_.find(device);
    if (found != held_.end()) {
        statuses = std::move(found->second);
        held_.erase(found);
    }
    auto s = settings_.find(device);
    if (s != settings_.end() && s->second.fault == status_fault::hold) {
        settings_.erase(s);
    }
    return statuses;
}

bool status_faults::nextDue(int64_t& due) const {
    if (delayed_.empty()) {
        return false;
    }
    due = delayed_.front().due;
    return true;
}

route_status status_faults::takeNext() {
    const route_status status = delayed_.front().status;
    delayed_.pop_front();
    return status;
}

std::vector<std::string> status_faults::describe() const {
    std::vector<std::string> lines;
    for (const auto& entry : settings_) {
        const std::string device = "router " + std::to_string(entry.first) + ": ";
        switch (entry.second.fault) {
        case status_fault::hold: {
            const auto held = held_.find(entry.first);
            const size_t count = held == held_.end() ? 0 : held->second.size();
            lines.push_back(device + "status held back (" + std::to_string(count) + " waiting)");
            break;
        }
        case status_fault::delay:
            lines.push_back(device + "status delayed by " + std::to_string(entry.second.delay) +
                            " ms");
            break;
        case status_fault::drop:
            lines.push_back(device + "status dropped");
            break;
        case status_fault::none:
            break;
        }
    }
    for (const delayed_status& entry : delayed_) {
        lines.push_back("due at " + std::to_string(entry.due) + " ms: router " +
                        std::to_string(entry.status.device) + " destination " +
                        std::to_string(entry.status.destination) + " source " +
                        std::to_string(entry.status.source));
    }
    return lines;
}
