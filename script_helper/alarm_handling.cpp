#include "vrel_script_helper.h"

namespace {

constexpr int acknowledgeLevel = 4;
constexpr int noLevel = -1;

int levelOf(const vrel_string& state) {
    if (state == "ack") {
        return acknowledgeLevel;
    }
    if (state.length() == 1) {
        return state.toInt();
    }
    return noLevel;
}

} // namespace

bool vrel_script_helper::alarmPreFilter(notify_ref& ref) {
    const vrel_string control = ref.control();
    if (control == "ActionAll" && ref.buttonCommand() == "alarm") {
        alarmAction(ref.buttonValue());
        return true;
    }
    if (control == "AckAll") {
        alarmAction(vrel_string(acknowledgeLevel, '\0', 0, 10));
        return true;
    }
    return false;
}

void vrel_script_helper::alarmAction(const vrel_string& state) {
    const int level = levelOf(state);
    const vrel_string panel("1");
    const vrel_stringlist controls = controlIndex(panel, "alm_");
    for (const vrel_string& id : controls) {
        textPut("alarm", state, panel, id);
        if (level == acknowledgeLevel) {
            vrel_string current;
            textGet("value", panel, id, current);
            const int value = current.toInt();
            if (value == 1 || value < 0 || value > 5) {
                textPut("value", vrel_string(acknowledgeLevel, '\0', 0, 10), panel, id);
            }
        } else if (level != noLevel) {
            textPut("value", vrel_string(level, '\0', 0, 10), panel, id);
        }
    }
}
