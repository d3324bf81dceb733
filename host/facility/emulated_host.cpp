#include "emulated_host.h"

#include "host_records.h"
#include "notify_records.h"
#include "vrel_client_callback.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace {

std::string describe(const route_status& status) {
    return "router " + std::to_string(status.device) + ", destination " +
           std::to_string(status.destination) + " has source " + std::to_string(status.source);
}

std::string joined(const std::vector<std::string>& items, const char* separator) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        text += (i == 0 ? "" : separator) + items[i];
    }
    return text;
}

} // namespace

emulated_host::emulated_host(traffic_log& log) : log_(log) {
    log_.setFeed(&feed_);
}

emulated_host::~emulated_host() {
    destroy();
    log_.setFeed(nullptr);
}

void emulated_host::publish(facility_change change) {
    change.time = now_;
    feed_.publish(change);
}

void emulated_host::crosspointChanged(int32_t device, int32_t destination) {
    facility_change change;
    change.what = facility_change::kind::crosspoint;
    change.device = device;
    change.destination = destination;
    change.source = routers_.crosspoint(device, destination);
    publish(change);
}

void emulated_host::reserved() {
    checker_.reservedCalled();
}

// ---------------------------------------------------------------- life

bool emulated_host::create(vrel_component_factory factory, const std::string& componentPath,
                           std::string& error) {
    if (component_ != nullptr) {
        error = "create: a component is loaded already";
        return false;
    }
    componentPath_ = componentPath;
    checker_.restart();
    log_.add(now_, traffic_kind::in,
             "create the component, component path '" + componentPath + "'");
    vrel_client_callback* made = nullptr;
    enterComponent([&] { made = factory(this, componentPath_.c_str()); });
    if (made == nullptr) {
        error = "create: the factory returned null";
        problem(error);
        queue_.clear();
        return false;
    }
    component_ = made;
    facility_change created;
    created.what = facility_change::kind::component;
    created.value = "created";
    publish(created);
    drain();
    return true;
}

void emulated_host::destroy() {
    if (component_ == nullptr) {
        return;
    }
    log_.add(now_, traffic_kind::in, "destroy the component");
    checker_.beginDestruction();
    vrel_client_callback* dying = component_;
    enterComponent([&] { delete dying; });
    component_ = nullptr;
    checker_.endOfLife();
    if (!queue_.empty()) {
        note(std::to_string(queue_.size()) +
             " notification(s) not delivered: the component is gone");
        queue_.clear();
    }
    // Timers, panels and status registrations end with the component; the
    // routers keep their crosspoints.
    for (const auto& timer : timers_.running()) {
        host("timer " + std::to_string(timer.first) + " stopped with the component");
    }
    const std::map<int32_t, timer_table::timer> stopped = timers_.running();
    timers_ = timer_table();
    for (const auto& timer : stopped) {
        timerChanged(timer.first);
    }
    std::vector<std::string> closed;
    for (const auto& shown : panels_) {
        closed.push_back(shown.first);
    }
    panels_.clear();
    for (const std::string& number : closed) {
        facility_change change;
        change.what = facility_change::kind::panel;
        change.panel = number;
        change.value = "closed";
        publish(change);
    }
    const std::vector<int32_t> devices = routers_.devices();
    routers_.clearRegistrations();
    facility_change destroyed;
    destroyed.what = facility_change::kind::component;
    destroyed.value = "destroyed";
    publish(destroyed);
    for (int32_t device : devices) {
        facility_change change;
        change.what = facility_change::kind::registration;
        change.device = device;
        publish(change);
    }
}

template <typename Call> void emulated_host::enterComponent(Call&& call) {
    checker_.enterCall();
    debug_.begin();
    try {
        call();
    } catch (...) {
        problem("an exception escaped from the component into the host");
    }
    flushDebug();
    checker_.leaveCall("the call");
}

void emulated_host::breach(const rule_entry& rule, const std::string& message) {
    log_.add(now_,
             rule.severity == rule_severity::problem ? traffic_kind::problem : traffic_kind::note,
             message);
}

void emulated_host::flushDebug() {
    const std::string text = debug_.end();
    if (!text.empty()) {
        log_.add(now_, traffic_kind::debug, text);
    }
}

// ---------------------------------------------------------------- notifications

void emulated_host::enqueue(notification n) {
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
        const long long length = checker_.answer(vrel_notify_parent_command, answer, false,
                                                 "the parent command '" + n.text + "'");
        if (length < 0) {
            log_.add(now_, traffic_kind::reply, "(none)");
            break;
        }
        lastReplied_ = true;
        lastReply_.assign(answer, static_cast<size_t>(length));
        log_.add(now_, traffic_kind::reply, lastReply_);
        log_.add(now_, traffic_kind::in, "release the reply text");
        enterComponent([&] { component_->notify(answer, vrel_notify_release); });
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

void emulated_host::advance(int64_t ms) {
    const int64_t target = now_ + ms;
    for (int events = 0;; ++events) {
        int64_t timerDue = 0;
        int32_t timerId = 0;
        int64_t statusDue = 0;
        const bool timer = timers_.nextDue(timerDue, timerId) && timerDue <= target;
        const bool status = faults_.nextDue(statusDue) && statusDue <= target;
        if (!timer && !status) {
            break;
        }
        if (events == maxEventsPerAdvance) {
            problem("the clock was moved on to " + std::to_string(target) + " ms after " +
                    std::to_string(maxEventsPerAdvance) +
                    " timer expiries and statuses; the rest were skipped");
            break;
        }
        // At equal times a delayed status comes before a timer.
        if (status && (!timer || statusDue <= timerDue)) {
            moveClock(statusDue);
            const route_status due = faults_.takeNext();
            enqueue(notification{vrel_notify_route_status, due, 0, "", "", ""});
            facility_change change;
            change.what = facility_change::kind::fault;
            change.device = due.device;
            publish(change);
        } else {
            moveClock(timerDue);
            timers_.expired(timerId);
            timerChanged(timerId);
            enqueue(notification{vrel_notify_timer, {}, timerId, "", "", ""});
        }
        drain();
    }
    moveClock(target);
}

void emulated_host::moveClock(int64_t to) {
    if (to == now_) {
        return;
    }
    now_ = to;
    facility_change change;
    change.what = facility_change::kind::clock;
    publish(change);
}

void emulated_host::timerChanged(int32_t id) {
    facility_change change;
    change.what = facility_change::kind::timer;
    change.index = id;
    publish(change);
}

const panel* emulated_host::findPanel(const std::string& number) const {
    const auto found = panels_.find(number);
    return found == panels_.end() ? nullptr : &found->second;
}

// ---------------------------------------------------------------- commands

char* emulated_host::send(const char* text, int code) {
    // Debug output written so far comes before this command in the log.
    flushDebug();
    if (code == vrel_send_release) {
        const std::string command = checker_.replyCommand(text);
        log_.add(now_, traffic_kind::handback,
                 command.empty() ? std::string("an unknown pointer") : "the reply to " + command);
    } else if (code == vrel_send_execute && text != nullptr) {
        log_.add(now_, traffic_kind::out, text);
    }
    const protocol_checker::sent sent = checker_.send(text, code);
    char* result = sent.ok ? execute(sent.command, sent.text) : nullptr;
    if (checker_.inside()) {
        debug_.begin();
    }
    return result;
}

char* emulated_host::execute(const host_command& command, const std::string& text) {
    switch (command.word) {
    case command_word::PS:
        return showPanel(command, text);
    case command_word::TP:
        putText(command);
        return nullptr;
    case command_word::TG:
        return getText(command, text);
    case command_word::XI:
        return listControls(command, text);
    case command_word::IW: {
        info_.write(command.numbers[0], command.numbers[1], command.texts[0]);
        facility_change change;
        change.what = facility_change::kind::info;
        change.device = command.numbers[0];
        change.index = command.numbers[1];
        change.value = command.texts[0];
        publish(change);
        return nullptr;
    }
    case command_word::RC:
        routeCommand(command);
        return nullptr;
    case command_word::RR:
        routers_.registerRange(command.numbers[0], command.numbers[1], command.numbers[2],
                               command.add);
        {
            facility_change change;
            change.what = facility_change::kind::registration;
            change.device = command.numbers[0];
            publish(change);
        }
        host("router " + std::to_string(command.numbers[0]) + " reports destinations " +
             std::to_string(command.numbers[1]) + " to " + std::to_string(command.numbers[2]) +
             (command.add ? " as well" : ""));
        return nullptr;
    case command_word::RP:
        pollCommand(command);
        return nullptr;
    case command_word::ET:
        timerCommand(command);
        return nullptr;
    case command_word::AS:
        return nullptr;
    }
    return nullptr;
}

char* emulated_host::showPanel(const host_command& command, const std::string& text) {
    const std::string& number = command.texts[0];
    const std::string& path = command.texts[1];
    panel shown;
    std::vector<std::string> oddities;
    if (!checker_.loadPanel(command, shown, oddities)) {
        return nullptr;
    }
    for (const std::string& p : oddities) {
        note(p);
    }
    if (!shown.declaredNumber().empty() && shown.declaredNumber() != number) {
        note("panel file '" + path + "' is panel " + shown.declaredNumber() + ", shown as panel " +
             number);
    }
    std::vector<std::string> ids;
    for (const panel_control& control : shown.controls()) {
        ids.push_back(control.id);
    }
    host("panel " + number + " shows '" + path + "': " + joined(ids, ", "));
    panels_[number] = std::move(shown);
    facility_change change;
    change.what = facility_change::kind::panel;
    change.panel = number;
    publish(change);
    return checker_.issueReply(text, "ok");
}

void emulated_host::putText(const host_command& command) {
    const std::string& assignment = command.texts[0];
    const size_t equals = assignment.find('=');
    const auto shown = panels_.find(command.texts[1]);
    panel_control* control =
        shown == panels_.end() ? nullptr : shown->second.find(command.texts[2]);
    if (control != nullptr) {
        facility_change change;
        change.what = facility_change::kind::property;
        change.panel = command.texts[1];
        change.control = command.texts[2];
        change.property = assignment.substr(0, equals);
        change.value = assignment.substr(equals + 1);
        control->setProperty(change.property, change.value);
        publish(change);
    }
}

char* emulated_host::getText(const host_command& command, const std::string& text) {
    const panel* shown = findPanel(command.texts[0]);
    const panel_control* control = shown == nullptr ? nullptr : shown->find(command.texts[1]);
    if (control == nullptr) {
        return nullptr;
    }
    const std::string& property = command.texts[2];
    std::string answer;
    if (property == "all") {
        std::vector<std::string> pairs;
        for (const auto& entry : control->properties) {
            pairs.push_back(entry.first + "=" + entry.second);
        }
        answer = joined(pairs, ",");
    } else {
        const std::string* value = control->property(property);
        answer = property + "=" + (value != nullptr ? *value : "");
    }
    host("answer: " + answer);
    return checker_.issueReply(text, answer);
}

char* emulated_host::listControls(const host_command& command, const std::string& text) {
    const panel* shown = findPanel(command.texts[0]);
    if (shown == nullptr) {
        return nullptr;
    }
    const std::string answer = joined(shown->matching(command.texts[1]), ",");
    host("answer: " + answer);
    return checker_.issueReply(text, answer);
}

void emulated_host::routeCommand(const host_command& command) {
    const int32_t device = command.numbers[0];
    const int32_t source = command.numbers[1];
    const int32_t destination = command.numbers[2];
    if (destination < 0 || source < 0) {
        return;
    }
    const int32_t before = routers_.crosspoint(device, destination);
    if (routers_.routedByOtherPanel(device, destination) && before != source) {
        note("RC on router " + std::to_string(device) + " replaces source " +
             std::to_string(before) + " at destination " + std::to_string(destination) +
             ", which another panel routed");
    }
    routers_.markOtherPanel(device, destination, false);
    const std::vector<route_status> statuses = routers_.route(device, source, destination);
    crosspointChanged(device, destination);
    for (const route_status& status : statuses) {
        reportStatus(status);
    }
}

void emulated_host::pollCommand(const host_command& command) {
    bool cut = false;
    const std::vector<route_status> statuses =
        routers_.poll(command.numbers[0], command.numbers[1], command.numbers[2], cut);
    for (const route_status& status : statuses) {
        reportStatus(status);
    }
}

void emulated_host::timerCommand(const host_command& command) {
    const int32_t id = command.numbers[0];
    if (command.numbers.size() == 1) {
        if (timers_.stop(id)) {
            host("timer " + std::to_string(id) + " stopped");
            timerChanged(id);
        }
        return;
    }
    const int32_t interval = command.numbers[1];
    const timer_table::start_result started = timers_.start(id, interval, now_);
    if (started != timer_table::start_result::refused) {
        timerChanged(id);
    }
    switch (started) {
    case timer_table::start_result::refused:
        return;
    case timer_table::start_result::started:
        host("timer " + std::to_string(id) + " started, expires at " +
             std::to_string(now_ + interval) + " ms");
        return;
    case timer_table::start_result::restarted:
        host("timer " + std::to_string(id) + " restarted, expires at " +
             std::to_string(now_ + interval) + " ms");
        return;
    }
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
