// The host side of a component, emulated: the panel, the routers, the info
// devices, the timers on a virtual clock, the parent panel and the buttons.
//
// Calls into the component never nest: a notification that a command causes
// (the route status after "RC" or "RP") waits in a queue and is delivered once
// the call that sent the command has returned, in the order caused, as a real
// host's event loop would. Every notification in, every command out, the
// component's debug output and every problem found is written to the traffic
// log, stamped with the virtual time in ms.
#ifndef VREL_HOST_EMULATED_HOST_H
#define VREL_HOST_EMULATED_HOST_H

#include "change_feed.h"
#include "client_host.h"
#include "command_reader.h"
#include "component_library.h"
#include "debug_capture.h"
#include "info_devices.h"
#include "panel.h"
#include "protocol_checker.h"
#include "routers.h"
#include "status_faults.h"
#include "timer_table.h"
#include "traffic_log.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

class emulated_host final : public client_host, private breach_listener, private host_state {
public:
    explicit emulated_host(traffic_log& log);
    emulated_host(const emulated_host&) = delete;
    emulated_host& operator=(const emulated_host&) = delete;
    // Destroys the component if it is still alive.
    ~emulated_host();

    // The component's side of the boundary.
    void reserved() override;
    char* send(const char* text, int code) override;

    // Creates the component with the factory and the component path (the
    // folder of its panel files). False with `error` when the factory returns
    // null or one was created already.
    bool create(vrel_component_factory factory, const std::string& componentPath,
                std::string& error);
    // Destroys the component; notifications still waiting are dropped.
    void destroy();
    bool alive() const { return component_ != nullptr; }
    const std::string& componentPath() const { return componentPath_; }

    // The operator presses a control of a shown panel. False with `error` when
    // the panel is not shown or lacks the control.
    bool press(const std::string& panelNumber, const std::string& control, std::string& error);
    // The parent panel sends a command text; `replied` and `reply` give the
    // component's answer, which is then released with type 5, at once or,
    // while replies are held, by releaseReplies().
    void parentCommand(const std::string& text, bool& replied, std::string& reply);
    // From now on the parent panel's replies are held, as a host may keep
    // them a while; each new one must differ from those held.
    void holdReplies() { holdReplies_ = true; }
    // Releases every reply held, oldest first, and releases each at once
    // again from now on. Destroying the component releases those held too.
    void releaseReplies();
    size_t heldReplies() const { return held_.size(); }
    // Delivers a route status as given, whatever the router holds.
    void deliverStatus(const route_status& status);
    // Routes on a router as another panel would. `silently`: behind the
    // component's back, with no status report.
    void route(int32_t device, int32_t source, int32_t destination, bool silently);
    // A crosspoint of the initial state (no report).
    void presetCrosspoint(int32_t device, int32_t destination, int32_t source);
    void setFault(int32_t device, status_fault fault, int64_t delay);
    // Ends holding back the device's status and delivers what was held.
    void releaseHeld(int32_t device);
    // Moves the virtual clock on, delivering timer expiries and delayed
    // statuses in time order. False, with nothing done, when `ms` is negative
    // or would take the clock past clockEnd.
    bool advance(int64_t ms);

    int64_t now() const { return now_; }
    const panel* findPanel(const std::string& number) const;
    const std::map<std::string, panel>& panels() const { return panels_; }
    const router_bank& routers() const { return routers_; }
    const info_devices& info() const { return info_; }
    const timer_table& timers() const { return timers_; }
    const status_faults& faults() const { return faults_; }
    traffic_log& log() { return log_; }
    bool capturesDebug() const { return debug_.available(); }

    // Every change of the state above, as it happens.
    change_feed& feed() { return feed_; }

    // One advance delivers at most this many timer expiries and statuses.
    static constexpr int maxEventsPerAdvance = 100000;
    // The virtual clock runs from 0 to this time in ms (about 146 million
    // years), so that a due time a timer or a delay adds to it stays within
    // 64 bits.
    static constexpr int64_t clockEnd = INT64_MAX / 2;

private:
    struct notification {
        int type;
        route_status status;
        int32_t timer;
        std::string panel;
        std::string control;
        std::string text; // parent command text, or the button's command text
    };

    void releaseReply(char* reply);
    void releaseHeldReplies();
    void enqueue(notification n);
    void drain();
    void deliver(const notification& n);
    void enterComponent(const std::function<void()>& call);
    void flushDebug();

    char* execute(const host_command& command, const std::string& text);
    char* showPanel(const host_command& command, const std::string& text);
    void putText(const host_command& command);
    char* getText(const host_command& command, const std::string& text);
    char* listControls(const host_command& command, const std::string& text);
    void routeCommand(const host_command& command);
    void pollCommand(const host_command& command);
    void timerCommand(const host_command& command);
    void reportStatus(const route_status& status);

    // The rule book's breaches go to the log as problems and notes.
    void breach(const rule_entry& rule, const std::string& message) override;
    const panel* shownPanel(const std::string& number) const override { return findPanel(number); }
    bool timerRunning(int32_t id) const override { return timers_.isRunning(id); }

    void publish(facility_change change);
    void crosspointChanged(int32_t device, int32_t destination);
    void timerChanged(int32_t id);
    void moveClock(int64_t to);

    void host(const std::string& text) { log_.add(now_, traffic_kind::host, text); }
    void note(const std::string& text) { log_.add(now_, traffic_kind::note, text); }
    void problem(const std::string& text) { log_.add(now_, traffic_kind::problem, text); }

    traffic_log& log_;
    change_feed feed_;
    vrel_client_callback* component_ = nullptr;
    std::string componentPath_;
    std::deque<notification> queue_;
    // A status-limit breach was reported since the queue was last empty.
    bool statusesFlagged_ = false;
    bool lastReplied_ = false;
    std::string lastReply_;
    bool holdReplies_ = false;
    std::vector<char*> held_; // replies not yet released, oldest first
    int64_t now_ = 0;
    std::map<std::string, panel> panels_;
    router_bank routers_;
    info_devices info_;
    timer_table timers_;
    status_faults faults_;
    debug_capture debug_;
    protocol_checker checker_{*this, this, checked_life{}};
};

#endif
