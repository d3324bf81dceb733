#include "drive_script.h"

#include "host_records.h"

#include <cstdint>
#include <vector>

void driveBriefly(component_driver& driver, const checking_host* host) {
    std::vector<int32_t> devices = {7};
    if (host != nullptr && !host->devices().empty()) {
        devices = host->devices();
    }
    for (int32_t device : devices) {
        for (int32_t index = 1; index <= 16; ++index) {
            route_status_record status{device, 0, index, index == 3 ? 2 : -1};
            driver.notify(&status, 1, "a route status");
        }
    }
    driver.command("instance=validator");
    driver.command("return=all");
    driver.command("_events");
    driver.command("_commands");
    driver.command("Source=3");
    driver.command("Destination=4");
    button_notification press;
    driver.notify(press.build(), 2, "a press of ActivateCue on panel 1");
    driver.command("Take=1");
    driver.notify(reinterpret_cast<void*>(intptr_t{1}), 4, "timer 1");
    driver.notify(nullptr, 6, "notification type 6");
    driver.notify(nullptr, 7, "notification type 7");
}
