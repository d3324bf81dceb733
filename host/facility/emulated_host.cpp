#include "emulated_host.h"

#include "notify_records.h"
#include "vrel_client_callback.h"

#include <utility>
#include <vector>

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
    // A host gives back what it holds before the component goes; a status a
    // release causes is not delivered.
    releaseHeldReplies();
    log_.add(now_, traffic_kind::in, "destroy the component");
    checker_.beginDestruction();
    vrel_client_callback* dying = component_;
    enterComponent([&] { vrel_destroy_component(dying); });
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

void emulated_host::enterComponent(const std::function<void()>& call) {
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
    if (rule.rule == protocol_rule::status_limit) {
        statusesFlagged_ = true;
    }
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
