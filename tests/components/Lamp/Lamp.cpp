#include "Lamp.h"

Lamp::Lamp(client_host* host_, const char* text)
    : vrel_script_helper(host_, text), on(false), colour("white"), infoDevice(-1), infoSlot(-1) {
    const vrel_string section("LAMP");
    panelShow("1", "lamp1.vrel_ui", "");
    infoDevice = objectSetting(section, "lamp_info_number").toInt();
    infoSlot = objectSetting(section, "lamp_slot").toInt();
}

void Lamp::show() {
    textPut("text", on ? "On" : "Off", "1", "State");
    infoWrite(infoDevice, on ? colour : vrel_string("off"), infoSlot, true);
}

void Lamp::onButton(notify_ref* ref) {
    if (ref->panel() == 1 && ref->control() == "Switch") {
        on = !on;
        show();
    }
}

int Lamp::onRouteStatus(notify_ref*) {
    return 0;
}

vrel_string Lamp::onParentCommand(notify_ref* ref) {
    const vrel_string command = ref->command();
    if (command == "Colour") {
        colour = ref->value();
        if (on) {
            show();
        }
    } else if (command == "return" && ref->value() == "all") {
        return "Colour=" + colour;
    } else if (command == "_events") {
        return "notify=*";
    } else if (command == "_commands") {
        return "Colour=[value]";
    }
    return vrel_string();
}

void Lamp::onTimer(int id) {
    timerKill(id);
}
