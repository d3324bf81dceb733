#include "state_report.h"

#include <algorithm>

#include "command_reader.h"
#include "shown_text.h"

namespace {

void reportPanels(const emulated_host& host, const std::string& only,
                  std::vector<std::string>& lines) {
    if (host.panels().empty()) {
        lines.push_back("no panel is shown");
    }
    for (const auto& entry : host.panels()) {
        if (!only.empty() && entry.first != only) {
            continue;
        }
        lines.push_back("panel " + entry.first + " (" + entry.second.file() + ")");
        for (const panel_control& control : entry.second.controls()) {
            lines.push_back("  " + escape_controls(control.id) +
                            (control.kind.empty() ? "" : " [" + control.kind + "]"));
            for (const auto& property : control.properties) {
                lines.push_back("    " + escape_controls(property.first) + " = '" +
                                escape_controls(property.second) + "'");
            }
        }
    }
}

void reportRouter(const emulated_host& host, int32_t device, std::vector<std::string>& lines) {
    std::string registered;
    for (const auto& range : host.routers().registrations(device)) {
        registered += (registered.empty() ? "" : ", ") + std::to_string(range.first) + "-" +
                      std::to_string(range.second);
    }
    lines.push_back("router " + std::to_string(device) + " (status reported for " +
                    (registered.empty() ? std::string("no destination") : registered) + ")");
    for (const auto& crosspoint : host.routers().crosspoints(device)) {
        lines.push_back("  destination " + std::to_string(crosspoint.first) + " <- source " +
                        std::to_string(crosspoint.second));
    }
}

void reportRouters(const emulated_host& host, std::vector<std::string>& lines) {
    if (host.routers().devices().empty()) {
        lines.push_back("no router has been used");
    }
    for (const int32_t device : host.routers().devices()) {
        reportRouter(host, device, lines);
    }
}

void reportInfo(const emulated_host& host, const std::string& only,
                std::vector<std::string>& lines) {
    if (host.info().all().empty()) {
        lines.push_back("no info slot has been written");
    }
    for (const auto& device : host.info().all()) {
        if (!only.empty() && std::to_string(device.first) != only) {
            continue;
        }
        lines.push_back("info device " + std::to_string(device.first));
        for (const auto& slot : device.second) {
            lines.push_back("  " + std::to_string(slot.first) + ": '" +
                            escape_controls(slot.second) + "'");
        }
    }
}

void reportTimers(const emulated_host& host, std::vector<std::string>& lines) {
    lines.push_back("virtual time " + std::to_string(host.now()) + " ms");
    if (host.timers().running().empty()) {
        lines.push_back("no timer is running");
    }
    for (const auto& timer : host.timers().running()) {
        lines.push_back("timer " + std::to_string(timer.first) + ": every " +
                        std::to_string(timer.second.interval) + " ms, next at " +
                        std::to_string(timer.second.due) + " ms");
    }
}

void reportFaults(const emulated_host& host, std::vector<std::string>& lines) {
    const std::vector<std::string> faults = host.faults().describe();
    if (faults.empty()) {
        lines.push_back("no fault is injected");
    }
    lines.insert(lines.end(), faults.begin(), faults.end());
}

bool reportTraffic(emulated_host& host, const std::string& count, std::vector<std::string>& lines,
                   std::string& error) {
    int32_t last = 20;
    if (!count.empty() && (!read_plain_number(count, last) || last < 1)) {
        error = "show traffic takes a count of entries, not '" + count + "'";
        return false;
    }
    const traffic_log& log = host.log();
    const size_t wanted =
        log.size() > static_cast<size_t>(last) ? log.size() - static_cast<size_t>(last) : 0;
    for (size_t i = std::max(wanted, log.firstKept()); i < log.size(); ++i) {
        lines.push_back(traffic_log::format(log[i]));
    }
    return true;
}

} // namespace

bool report_state(emulated_host& host, const std::vector<std::string>& words,
                  std::vector<std::string>& lines, std::string& error) {
    const std::string what = words.empty() ? "all" : words[0];
    const std::string which = words.size() > 1 ? words[1] : "";
    if (what == "all") {
        reportPanels(host, "", lines);
        reportRouters(host, lines);
        reportInfo(host, "", lines);
        reportTimers(host, lines);
        reportFaults(host, lines);
    } else if (what == "panel") {
        reportPanels(host, which, lines);
    } else if (what == "routers") {
        reportRouters(host, lines);
    } else if (what == "router") {
        int32_t device = 0;
        if (!read_plain_number(which, device)) {
            error = "show router needs a device number";
            return false;
        }
        reportRouter(host, device, lines);
    } else if (what == "info") {
        reportInfo(host, which, lines);
    } else if (what == "timers") {
        reportTimers(host, lines);
    } else if (what == "faults") {
        reportFaults(host, lines);
    } else if (what == "traffic") {
        return reportTraffic(host, which, lines, error);
    } else {
        error = "cannot show '" + what +
                "' (panel, routers, router <n>, info, timers, faults, traffic or all)";
        return false;
    }
    return true;
}
