// The text of every command the frame sends to the host.
#include "vrel_script_helper.h"

#include "debug_sink.h"

#include <cstdio>

namespace {

const vrel_string quoteSpaceQuote("' '");

// Room for the longest "RR", "RP" and "ET" texts: three 11-character numbers
// and 'ADD' need 44 bytes, so no text is ever shortened.
constexpr size_t numericCommandSize = 64;

} // namespace

bool vrel_script_helper::panelShow(const vrel_string& panel, const vrel_string& file,
                                   const vrel_string& extra) {
    const vrel_string path = componentPath.length() > 0 ? componentPath + "/" + file : file;
    vrel_string text = "PS '" + panel + quoteSpaceQuote + path + "'";
    if (extra.length() > 0) {
        text += " '" + extra + "'";
    }
    if (host == nullptr) {
        return true;
    }
    return sendCommand(text) != nullptr;
}

void vrel_script_helper::textPut(const vrel_string& property, const vrel_string& value,
                                 const vrel_string& panel, const vrel_string& control) {
    const vrel_string text = "TP '" + property + "=" + value + quoteSpaceQuote + panel +
                             quoteSpaceQuote + control + "'";
    sendCommand(text);
}

void vrel_script_helper::textGet(const vrel_string& property, const vrel_string& panel,
                                 const vrel_string& control, vrel_string& result) {
    const vrel_string text = "TG '" + panel + quoteSpaceQuote + control + quoteSpaceQuote +
                             property + "'";
    char* reply = sendCommand(text);
    if (reply == nullptr) {
        result = "";
        return;
    }
    const vrel_string replyText(reply);
    host->send(reply, vrel_send_release);

    if (property == "all") {
        result = replyText;
        return;
    }
    vrel_string name;
    vrel_string value;
    replyText.split('=', name, value);
    if (name == property) {
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
    const vrel_string text = "XI '" + panel + quoteSpaceQuote + pattern + "'";
    char* reply = sendCommand(text);
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
    // The formats are filled on their own and only then joined around the
    // text, so a text holding "%" markers goes out unchanged.
    const vrel_string command = vrel_string("IW %1 '").arg(device, '\0', 0, 10) + text +
                                vrel_string("' %1 %2").arg(index, '\0', 0, 10).arg(flag ? 1 : 0,
                                                                                   '\0', 0, 10);
    sendCommand(command);
}

void vrel_script_helper::routeCrosspoint(int device, int source, int destination,
                                         const vrel_string& extra, bool flag) {
    // As in infoWrite, the extra text is joined, not filled, so that it goes
    // out unchanged.
    const vrel_string text = vrel_string("RC %1 %2 %3 ',")
                                 .arg(device, '\0', 0, 10)
                                 .arg(source, '\0', 0, 10)
                                 .arg(destination, '\0', 0, 10) +
                             extra + vrel_string("' %1").arg(flag ? 1 : 0, '\0', 0, 10);
    sendCommand(text);
}

void vrel_script_helper::routeRegister(int device, int first, int last, bool add) {
    char text[numericCommandSize];
    std::snprintf(text, sizeof text, add ? "RR %d %d %d 'ADD'" : "RR %d %d %d", device, first,
                  last);
    sendCommand(text);
}

void vrel_script_helper::routePoll(int device, int first, int last) {
    char text[numericCommandSize];
    std::snprintf(text, sizeof text, "RP %d %d %d", device, first, last);
    sendCommand(text);
}

void vrel_script_helper::timerSet(int id, int interval) {
    char text[numericCommandSize];
    if (interval != 0) {
        std::snprintf(text, sizeof text, "ET %d %d", id, interval);
    } else {
        std::snprintf(text, sizeof text, "ET %d", id);
    }
    sendCommand(text);
}

void vrel_script_helper::timerKill(int id) {
    char text[numericCommandSize];
    std::snprintf(text, sizeof text, "ET %d", id);
    sendCommand(text);
}
