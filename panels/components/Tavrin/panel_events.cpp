// The operator's cue button, the message timer and the parent panel's commands.
#include "Tavrin.h"

#include <string.h>

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

namespace {

// True when `text` is exactly `word`, read where the text lies.
bool isWord(const char* text, const char* word) {
    return strcmp(text, word) == 0;
}

// A parent command's number: its value's integer value.
int numberOf(const char* value) {
    return vrel_string(value).toInt();
}

// The answer to "_commands": its three lines joined with line feeds.
const char* const commandsReply = "Source=[value]\n"
                                  "Destination=[value]\n"
                                  "Take=[value]";

} // namespace

vrel_string Tavrin::onParentCommand(notify_ref* ref) {
    const char* const command = ref->commandText();
    const char* const value = ref->valueText();

    // Each command word starts with a character of its own (the two with "_"
    // apart), so the first character picks the one row that can match.
    switch (command[0]) {
    case 'r':
        if (isWord(command, "return") && isWord(value, "all")) {
            return vrel_string("CueRouter=%1").arg(cueRouter, '\0', 0, 10);
        }
        break;
    case 'i':
        // An unchanged name matches no row at all.
        if (isWord(command, "instance") && !(instanceName == value)) {
            instanceName = value;
        }
        break;
    case 'C':
        if (isWord(command, "CueRouter")) {
            cueRouter = numberOf(value);
        }
        break;
    case 'S':
        if (isWord(command, "Source")) {
            sourceCueCapable = false;
            source = numberOf(value);
            lookupSource(source);
        }
        break;
    case 'D':
        if (isWord(command, "Destination")) {
            destCueCapable = false;
            destination = numberOf(value);
            lookupDestination(destination);
        }
        break;
    case 'T':
        if (isWord(command, "Take")) {
            take();
        }
        break;
    case '_':
        if (isWord(command, "_events")) {
            return vrel_string("notify=*");
        }
        if (isWord(command, "_commands")) {
            return vrel_string(commandsReply);
        }
        break;
    default:
        break;
    }
    return vrel_string();
}
