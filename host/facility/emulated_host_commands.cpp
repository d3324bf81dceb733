// The emulated host carries out a command the rule book let through, on the
// facility's parts: panels, routers, info devices and timers.
#include "emulated_host.h"

#include <utility>
#include <vector>

namespace {

std::string joined(const std::vector<std::string>& items, const char* separator) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        text += (i == 0 ? "" : separator) + items[i];
    }
    return text;
}

} // namespace

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
