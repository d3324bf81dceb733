// The operator's cue button, the message timer and the parent panel's commands.
#include "Tavrin.h"

void Tavrin::onButton(notify_ref* ref) {
    if (!(ref->panel() == 1) || !(ref->control() == "ActivateCue")) {
        return;
    }
    if (cueMode) {
        showListenOnly();
        return;
    }
    cueMode = true;
    textPut("text", "Full Facs", "1", "ActivateCue");
    textPut("text", "Click to remove cue", "1", "CueText");
}

void Tavrin::onTimer(int id) {
    if (id == messageTimer) {
        textPut("text", "", "1", "CueInfo");
    }
    timerKill(id);
}

vrel_string Tavrin::onParentCommand(notify_ref* ref) {
    const vrel_string command = ref->command();
    const vrel_string value = ref->value();
    vrel_stringlist reply;

    if (command == "return") {
        if (value == "all") {
            reply << vrel_string("CueRouter=%1").arg(cueRouter, '\0', 0, 10);
        }
    } else if (command == "instance" && value != instanceName) {
        instanceName = value;
    } else if (command == "CueRouter") {
        cueRouter = value.toInt();
    } else if (command == "Source") {
        sourceCueCapable = false;
        source = value.toInt();
        lookupSource(source);
    } else if (command == "Destination") {
        destCueCapable = false;
        destination = value.toInt();
        lookupDestination(destination);
    } else if (command == "Take") {
        take();
    } else if (command == "_events") {
        reply << "notify=*";
    } else if (command == "_commands") {
        reply << "Source=[value]"
              << "Destination=[value]"
              << "Take=[value]";
    }
    return reply.toString('\n');
}
