// The text of every command the frame sends to the host.
#include "vrel_script_helper.h"

#include "debug_sink.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

const vrel_string quoteSpaceQuote("' '");

// Room for the longest "RR", "RP" and "ET" texts: three 11-character numbers
// and 'ADD' need 44 bytes, so no text is ever shortened.
constexpr size_t numericCommandSize = 64;

// A command text joined on the stack, so that the commands sent on every
// button, timer and take need no heap. A text that does not fit is built
// with vrel_string instead; both give the same bytes.
class stack_text {
public:
    stack_text& operator<<(const char* text) { return add(text, std::strlen(text)); }
    stack_text& operator<<(const vrel_string& text) {
        return add(text.c_str(), static_cast<size_t>(text.length()));
    }
    // A number as plain signed decimal, as vrel_string::arg writes it.
    stack_text& operator<<(int number) {
        char digits[16];
        const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, number);
        return add(digits, static_cast<size_t>(end.ptr - digits));
    }

    // The NUL-terminated text, or null when it did not fit.
    const char* text() {
        if (overflow_) {
            return nullptr;
        }
        buffer_[used_] = '\0';
        return buffer_;
    }

private:
    stack_text& add(const char* text, size_t length) {
        if (overflow_ || length >= sizeof buffer_ - used_) {
            overflow_ = true;
            return *this;
        }
        std::memcpy(buffer_ + used_, text, length);
        used_ += length;
        return *this;
    }

    char buffer_[256];
    size_t used_ = 0;
    bool overflow_ = false;
};

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
    stack_text joined;
    joined << "TP '" << property << "=" << value << "' '" << panel << "' '" << control << "'";
    if (const char* text = joined.text()) {
        sendCommand(text);
        return;
    }
    const vrel_string text =
        "TP '" + property + "=" + value + quoteSpaceQuote + panel + quoteSpaceQuote + control + "'";
    sendCommand(text);
}

void vrel_script_helper::textGet(const vrel_string& property, const vrel_string& panel,
                                 const vrel_string& control, vrel_string& result) {
    const vrel_string text =
        "TG '" + panel + quoteSpaceQuote + control + quoteSpaceQuote + property + "'";
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
    stack_text joined;
    joined << "IW " << device << " '" << text << "' " << index << " " << (flag ? 1 : 0);
    if (const char* command = joined.text()) {
        sendCommand(command);
        return;
    }
    // The formats are filled on their own and only then joined around the
    // text, so a text holding "%" markers goes out unchanged.
    const vrel_string command =
        vrel_string("IW %1 '").arg(device, '\0', 0, 10) + text +
        vrel_string("' %1 %2").arg(index, '\0', 0, 10).arg(flag ? 1 : 0, '\0', 0, 10);
    sendCommand(command);
}

void vrel_script_helper::routeCrosspoint(int device, int source, int destination,
                                         const vrel_string& extra, bool flag) {
    stack_text joined;
    joined << "RC " << device << " " << source << " " << destination << " '," << extra << "' "
           << (flag ? 1 : 0);
    if (const char* text = joined.text()) {
        sendCommand(text);
        return;
    }
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
