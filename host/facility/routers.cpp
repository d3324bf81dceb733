#include "routers.h"

void router_bank::set(int32_t device, int32_t destination, int32_t source) {
    routers_[device].crosspoints[destination] = source;
}

std::vector<route_status> router_bank::route(int32_t device, int32_t source, int32_t destination) {
    set(device, destination, source);
    if (!isRegistered(device, destination)) {
        return {};
    }
    return {route_status{device, destination, source}};
}

void router_bank::registerRange(int32_t device, int32_t first, int32_t last, bool add) {
    router& r = routers_[device];
    if (!add) {
        r.registered.clear();
    }
    r.registered.emplace_back(first, last);
}

void router_bank::clearRegistrations() {
    for (auto& entry : routers_) {
        entry.second.registered.clear();
    }
}

std::vector<route_status> router_bank::poll(int32_t device, int32_t first, int32_t last,
                                            bool& cut) const {
    std::vector<route_status> statuses;
    cut = false;
    if (first > last) {
        return statuses;
    }
    int64_t end = last;
    if (end - first + 1 > maxPollRange) {
        end = static_cast<int64_t>(first) + maxPollRange - 1;
        cut = true;
    }
    for (int64_t destination = first; destination <= end; ++destination) {
        const auto d = static_cast<int32_t>(destination);
        statuses.push_back(route_status{device, d, crosspoint(device, d)});
    }
    return statuses;
}

int32_t router_bank::crosspoint(int32_t device, int32_t destination) const {
    const auto r = routers_.find(device);
    if (r == routers_.end()) {
        return nothingRouted;
    }
    const auto c = r->second.crosspoints.find(destination);
    return c == r->second.crosspoints.end() ? nothingRouted : c->second;
}

bool router_bank::isRegistered(int32_t device, int32_t destination) const {
    const auto r = routers_.find(device);
    if (r == routers_.end()) {
        return false;
    }
    for (const auto& range : r->second.registered) {
        if (destination >= range.first && destination <= range.second) {
            return true;
        }
    }
    return false;
}

std::vector<int32_t> router_bank::devices() const {
    std::vector<int32_t> numbers;
    for (const auto& entry : routers_) {
        numbers.push_back(entry.first);
    }
    return numbers;
}

std::map<int32_t, int32_t> router_bank::crosspoints(int32_t device) const {
    const auto r = routers_.find(device);
    return r == routers_.end() ? std::map<int32_t, int32_t>() : r->second.crosspoints;
}

std::vector<std::pair<int32_t, int32_t>> router_bank::registrations(int32_t device) const {
    const auto r = routers_.find(device);
    return r == routers_.end() ? std::vector<std::pair<int32_t, int32_t>>() : r->second.registered;
}

void router_bank::markOtherPanel(int32_t device, int32_t destination, bool marked) {
    if (marked) {
        routers_[device].otherPanel.insert(destination);
        return;
    }
    const auto r = routers_.find(device);
    if (r != routers_.end()) {
        r->second.otherPanel.erase(destination);
    }
}

bool router_bank::routedByOtherPanel(int32_t device, int32_t destination) const {
    const auto r = routers_.find(device);
    return r != routers_.end() && r->second.otherPanel.count(destination) != 0;
}
