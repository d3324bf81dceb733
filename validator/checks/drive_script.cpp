#include "drive_script.h"

#include "host_records.h"

#include <cstdint>
#include <string>
#include <vector>

void driveBriefly(component_driver& driver, const component_profile& profile) {
    std::vector<int32_t> devices = profile.devices;
    if (devices.empty()) {
        devices.push_back(1);
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
    // A host may hold replies a while: two at once, released in turn.
    char all[] = "return=all";
    char events[] = "_events";
    driver.notify(all, 3);
    driver.notify(events, 3);
    driver.releaseAll();
    // Each command with a small number, then a press, then each once more
    // (the last command of a family's list is usually the one that acts).
    int value = 3;
    for (const std::string& word : profile.commandWords) {
        driver.command((word + "=" + std::to_string(value++)).c_str());
    }
    if (const component_profile::control* button = profile.firstButton()) {
        button_press press(profile.panel, button->id, button->command.c_str());
        driver.notify(press.record(), 2, ("a press of " + button->id).c_str());
    }
    for (const std::string& word : profile.commandWords) {
        driver.command((word + "=1").c_str());
    }
    driver.notify(timer_notification(1), 4, "timer 1");
    driver.notify(nullptr, 6, "notification type 6");
    driver.notify(nullptr, 7, "notification type 7");
}
