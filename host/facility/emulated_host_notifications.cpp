// What the emulated host delivers to its component: the queue of
// notifications (a status caused by a command waits until the call that sent
// it has returned), presses, parent commands, statuses and the routes and
// faults of the facility that cause them.
#include "emulated_host.h"

#include "host_records.h"
#include "notify_records.h"
#include "vrel_client_callback.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

std::string describe(const route_status& status) {
    return "router " + std::to_string(status.device) + ", destination " +
           std::to_string(status.destination) + " has source " + std::to_string(status.source);
}

} // namespace

// ---------------------------------------------------------------- notifications

void emulated_host::releaseReply(char* reply) {
    log_.add(now_, traffic_kind::in, "release the reply text");
    enterComponent([&] { component_->notify(reply, vrel_notify_release); });
}

void emulated_host::releaseHeldReplies() {
    std::vector<char*> held;
    held.swap(held_);
    for (char* reply : held) {
        if (component_ != nullptr) {
            releaseReply(reply);
        }
    }
}

void emulated_host::releaseReplies() {
    holdReplies_ = false;
    releaseHeldReplies();
    drain();
}

void emulated_host::enqueue(notification n) {
    // The statuses waiting are bounded; what the operator and the clock cause
    // always waits its turn.
    if (n.type == vrel_notify_route_status && queue_.size() >= max_caused_statuses) {
        if (!statusesFlagged_) {
            breach(rule_of(protocol_rule::status_limit),
                   breach_text(protocol_rule::status_limit,
                               std::to_string(queue_.size()) +
                                   " notifications wait already; a route status caused now "
                                   "is dropped, and the rest until they are delivered"));
        }
        return;
    }
    queue_.push_back(std::move(n));
}

void emulated_host::drain() {
    if (checker_.inside()) {
        return;
    }
    while (!queue_.empty() && component_ != nullptr) {
        const notification n = std::move(queue_.front());
        queue_.pop_front();
        deliver(n);
    }
    if (queue_.empty()) {
        statusesFlagged_ = false;
    }
}

void emulated_host::deliver(const notification& n) {
    switch (n.type) {
    case vrel_notify_route_status: {
        route_status_record record = record_of(n.status);
        log_.addStatus(now_, n.status, "route status: " + describe(n.status));
        char* answer = nullptr;
        enterComponent([&] { answer = component_->notify(&record, vrel_notify_route_status); });
        checker_.answer(vrel_notify_route_status, answer, false, "the route status");
        break;
    }
    case vrel_notify_button: {
        button_press press(n.panel, n.control, n.text.c_str());
        log_.add(now_, traffic_kind::in,
                 "button " + n.control + " on panel " + n.panel + ", command '" + n.text + "'");
        char* answer = nullptr;
        enterComponent([&] { answer = component_->notify(press.record(), vrel_notify_button); });
        checker_.answer(vrel_notify_button, answer, false, "the button " + n.control);
        break;
    }
    case vrel_notify_parent_command: {
        std::vector<char> text(n.text.begin(), n.text.end());
        text.push_back('\0');
        log_.add(now_, traffic_kind::in, "parent command '" + n.text + "'");
        char* answer = nullptr;
        enterComponent(
            [&] { answer = component_->notify(text.data(), vrel_notify_parent_command); });
        const bool stillHeld = std::find(held_.begin(), held_.end(), answer) != held_.end();
        const long long length = checker_.answer(vrel_notify_parent_command, answer, stillHeld,
                                                 "the parent command '" + n.text + "'");
        if (length < 0) {
            log_.add(now_, traffic_kind::reply, "(none)");
            break;
        }
        lastReplied_ = true;
        lastReply_.assign(answer, static_cast<size_t>(length));
        log_.add(now_, traffic_kind::reply, lastReply_);
        if (holdReplies_) {
            held_.push_back(answer);
        } else {
            releaseReply(answer);
        }
        break;
    }
    case vrel_notify_timer: {
        log_.add(now_, traffic_kind::in, "timer " + std::to_string(n.timer) + " expired");
        char* answer = nullptr;
        enterComponent(
            [&] { answer = component_->notify(timer_notification(n.timer), vrel_notify_timer); });
        checker_.answer(vrel_notify_timer, answer, false, "timer " + std::to_string(n.timer));
        break;
    }
    default:
        break;
    }
}

bool emulated_host::press(const std::string& panelNumber, const std::string& control,
                          std::string& error) {
    const panel* shown = findPanel(panelNumber);
    if (shown == nullptr) {
        error = "panel " + panelNumber + " is not shown";
        return false;
    }
    const panel_control* pressed = shown->find(control);
    if (pressed == nullptr) {
        error = "panel " + panelNumber + " has no control '" + control + "'";
        return false;
    }
    if (!pressed->kind.empty() && pressed->kind != "button") {
        error = "control '" + control + "' is a " + pressed->kind + ", not a button";
        return false;
    }
    const std::string* command = pressed->property("command");
    notification n{vrel_notify_button, {}, 0, panelNumber, control, command ? *command : ""};
    enqueue(std::move(n));
    drain();
    return true;
}

void emulated_host::parentCommand(const std::string& text, bool& replied, std::string& reply) {
    lastReplied_ = false;
    lastReply_.clear();
    enqueue(notification{vrel_notify_parent_command, {}, 0, "", "", text});
    drain();
    replied = lastReplied_;
    reply = lastReply_;
}

void emulated_host::deliverStatus(const route_status& status) {
    enqueue(notification{vrel_notify_route_status, status, 0, "", "", ""});
    drain();
}

void emulated_host::route(int32_t device, int32_t source, int32_t destination, bool silently) {
    routers_.markOtherPanel(device, destination, true);
    if (silently) {
        routers_.set(device, destination, source);
        crosspointChanged(device, destination);
        host("router " + std::to_string(device) + ": source " + std::to_string(source) +
             " routed to destination " + std::to_string(destination) +
             " behind the component's back, no status reported");
        return;
    }
    host("router " + std::to_string(device) + ": another panel routes source " +
         std::to_string(source) + " to destination " + std::to_string(destination));
    const std::vector<route_status> statuses = routers_.route(device, source, destination);
    crosspointChanged(device, destination);
    for (const route_status& status : statuses) {
        reportStatus(status);
    }
    drain();
}

void emulated_host::presetCrosspoint(int32_t device, int32_t destination, int32_t source) {
    routers_.set(device, destination, source);
    crosspointChanged(device, destination);
}

void emulated_host::setFault(int32_t device, status_fault fault, int64_t delay) {
    if (fault == status_fault::none) {
        releaseHeld(device);
    }
    faults_.set(device, fault, delay);
    facility_change change;
    change.what = facility_change::kind::fault;
    change.device = device;
    publish(change);
}

void emulated_host::releaseHeld(int32_t device) {
    const std::vector<route_status> held = faults_.release(device);
    host("router " + std::to_string(device) + ": " + std::to_string(held.size()) +
         " held status report(s) released");
    for (const route_status& status : held) {
        enqueue(notification{vrel_notify_route_status, status, 0, "", "", ""});
    }
    facility_change change;
    change.what = facility_change::kind::fault;
    change.device = device;
    publish(change);
    drain();
}

void emulated_host::reportStatus(const route_status& status) {
    switch (faults_.admit(status, now_)) {
    case status_faults::verdict::deliver:
        enqueue(notification{vrel_notify_route_status, status, 0, "", "", ""});
        return;
    case status_faults::verdict::held:
        note("status held back: " + describe(status));
        return;
    case status_faults::verdict::delayed:
        note("status delayed: " + describe(status));
        return;
    case status_faults::verdict::dropped:
        note("status dropped: " + describe(status));
        return;
    }
}
