// The text of every command the frame sends to the host.
#include "vrel_script_helper.h"

#include "command_text.h"
#include "debug_sink.h"

#include <string.h>

namespace {

// Equal byte for byte, whatever the string library's own comparison makes of
// case.
bool sameBytes(const vrel_string& a, const char* b) {
    const char* text = static_cast<const char*>(a);
    return strcmp(text, b) == 0;
}

} // namespace

bool vrel_script_helper::panelShow(const vrel_string& panel, const vrel_string& file,
                                   const vrel_string& extra) {
    command_text text;
    text << "PS '" << panel << "' '";
    if (componentPath.length() > 0) {
        text << componentPath << "/";
    }
    text << file << "'";
    if (extra.length() > 0) {
        text << " '" << extra << "'";
    }
    if (host == nullptr) {
        return true;
    }
    return sendCommand(text.c_str()) != nullptr;
}

void vrel_script_helper::textPut(const vrel_string& property, const vrel_string& value,
                                 const vrel_string& panel, const vrel_string& control) {
    command_text text;
    text << "TP '" << property << "=" << value << "' '" << panel << "' '" << control << "'";
    sendCommand(text.c_str());
}

void vrel_script_helper::textGet(const vrel_string& property, const vrel_string& panel,
                                 const vrel_string& control, vrel_string& result) {
    command_text text;
    text << "TG '" << panel << "' '" << control << "' '" << property << "'";
    char* reply = sendCommand(text.c_str());
    if (reply == nullptr) {
        result = "";
        return;
    }
    const vrel_string replyText(reply);
    host->send(reply, vrel_send_release);

    if (sameBytes(property, "all")) {
        result = replyText;
        return;
    }
    vrel_string name;
    vrel_string value;
    replyText.split('=', name, value);
    if (sameBytes(name, static_cast<const char*>(property))) {
        result = value;
        return;
    }
    debugFormat("textGet: value returned \"%1\" was not the value requested \"%2\" (value "
                "returned was \"%3\" from control \"%4\", on panel \"%5\")",
                name, property, replyText, control, panel, "", "", "", "");
    result = "";
}

vrel_stringlist vrel_script_helper::controlIndex(const vrel_string& panel,
                                                 const vrel_string& pattern) {
    // Texts are joined rather than filled into "XI '%1' '%2'", so that a panel
    // or pattern holding a "%" marker goes out unchanged.
    command_text text;
    text << "XI '" << panel << "' '" << pattern << "'";
    char* reply = sendCommand(text.c_str());
    if (reply == nullptr) {
        return vrel_stringlist();
    }
    const vrel_string replyText(reply);
    vrel_stringlist ids(replyText, ',');
    host->send(reply, vrel_send_release);
    return ids;
}

void vrel_script_helper::infoWrite(int device, const vrel_string& text, int index, bool flag) {
    if (text.length() > 256) {
        vrel_debug_sink("The IW string is too long (max 256 chars)\n");
    }
    // The text is joined as it stands, so a text holding "%" markers goes out
    // unchanged.
    command_text command;
    command << "IW " << device << " '" << text << "' " << index << " " << flag;
    sendCommand(command.c_str());
}

void vrel_script_helper::routeCrosspoint(int device, int source, int destination,
                                         const vrel_string& extra, bool flag) {
    command_text text;
    text << "RC " << device << " " << source << " " << destination << " '," << extra << "' "
         << flag;
    sendCommand(text.c_str());
}

void vrel_script_helper::routeRegister(int device, int first, int last, bool add) {
    command_text text;
    text << "RR " << device << " " << first << " " << last;
    if (add) {
        text << " 'ADD'";
    }
    sendCommand(text.c_str());
}

void vrel_script_helper::routePoll(int device, int first, int last) {
    command_text text;
    text << "RP " << device << " " << first << " " << last;
    sendCommand(text.c_str());
}

void vrel_script_helper::timerSet(int id, int interval) {
    command_text text;
    text << "ET " << id;
    if (interval != 0) {
        text << " " << interval;
    }
    sendCommand(text.c_str());
}

void vrel_script_helper::timerKill(int id) {
    command_text text;
    text << "ET " << id;
    sendCommand(text.c_str());
}
