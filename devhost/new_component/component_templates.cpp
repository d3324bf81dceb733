#include "component_templates.h"

namespace {

const char* const cmakeLists =
    R"~(# @NAME@, a panel component of the vrel family, built against the installed
# kit (docs/components.md of the kit):
#
#   cmake -S . -B build -DCMAKE_PREFIX_PATH=<the kit's prefix>
#   cmake --build build
#   ctest --test-dir build
cmake_minimum_required(VERSION 3.20)
project(@NAME@ VERSION 0.1.0.0 LANGUAGES CXX)

find_package(vrel CONFIG REQUIRED)

vrel_add_component(@NAME@
    DESCRIPTION "@NAME@ panel component"
    SOURCES @NAME@.cpp factory.cpp
    PANELS @NAME@.vrel_ui
    SETTINGS_RULES @NAME@.settings_rules.xml)

# The component's checks, run by ctest: its scenario in the development host,
# the example settings against its rules, and the validator (Linux).
enable_testing()
add_test(NAME @NAME@.scenario
    COMMAND vrel::vrel-devhost --lib-dir $<TARGET_FILE_DIR:@NAME@>
            ${CMAKE_CURRENT_SOURCE_DIR}/@NAME@.scenario)
add_test(NAME @NAME@.settings
    COMMAND vrel::vrel-devhost --lib-dir $<TARGET_FILE_DIR:@NAME@>
            check --component @NAME@ ${CMAKE_CURRENT_SOURCE_DIR}/settings)
if(TARGET vrel::vrel-validate)
    add_test(NAME @NAME@.validate
        COMMAND vrel::vrel-validate --seed 1 $<TARGET_FILE:@NAME@>
                ${CMAKE_CURRENT_SOURCE_DIR}/settings)
endif()
)~";

const char* const header =
    R"~(// @NAME@: a panel component of the vrel family. The operator switches it on
// and off with the button on its panel; each switch is written to an info
// device and shown on the panel until a timer clears the message. The parent
// panel names what is switched with "Label".
#ifndef @GUARD@
#define @GUARD@

#include "vrel_script_helper.h"

class @NAME@ : public vrel_script_helper {
public:
    // Shows panel 1 and reads the info device and slot from the settings
    // section @SECTION@.
    @NAME@(client_host* host, const char* text);

protected:
    // A button of the panel was pressed.
    void onButton(notify_ref* ref) override;
    // A router reported a crosspoint; this component registers with none.
    int onRouteStatus(notify_ref* ref) override;
    // The parent panel sent a command; a result that is not empty is the reply.
    vrel_string onParentCommand(notify_ref* ref) override;
    // A timer started with timerSet has fired.
    void onTimer(int id) override;

private:
    // Writes the state to the panel and the info device, and starts the
    // timer that clears the message.
    void show();

    bool on;
    vrel_string label;
    int infoDevice;
    int infoSlot;
};

#endif
)~";

const char* const source = R"~(#include "@NAME@.h"

namespace {

// The section of object_settings.xml this component reads.
const vrel_string section("@SECTION@");
// The timer that clears the message, and how long the message stays (ms).
const int messageTimer = 1;
const int messageTime = 3000;

} // namespace

@NAME@::@NAME@(client_host* host_, const char* text)
    : vrel_script_helper(host_, text), on(false), label("@NAME@"), infoDevice(-1), infoSlot(-1) {
    panelShow("1", "@NAME@.vrel_ui", "");
    infoDevice = objectSetting(section, "info_number").toInt();
    infoSlot = objectSetting(section, "info_slot").toInt();
}

void @NAME@::show() {
    textPut("text", on ? "On" : "Off", "1", "Switch");
    textPut("text", label + (on ? " is on" : " is off"), "1", "Message");
    infoWrite(infoDevice, on ? "on" : "off", infoSlot, true);
    timerSet(messageTimer, messageTime);
}

void @NAME@::onButton(notify_ref* ref) {
    if (ref->panel() == 1 && ref->control() == "Switch") {
        on = !on;
        show();
    }
}

int @NAME@::onRouteStatus(notify_ref*) {
    return 0;
}

vrel_string @NAME@::onParentCommand(notify_ref* ref) {
    const vrel_string command = ref->command();
    if (command == "Label") {
        label = ref->value();
    } else if (command == "return" && ref->value() == "all") {
        // Every property, one "name=value" a line.
        return "Label=" + label;
    } else if (command == "_commands") {
        // Every command the parent panel may send, one a line.
        return "Label=[value]";
    } else if (command == "_events") {
        return "notify=*";
    }
    return vrel_string();
}

void @NAME@::onTimer(int id) {
    if (id == messageTimer) {
        textPut("text", "", "1", "Message");
        timerKill(messageTimer);
    }
}
)~";

const char* const factory =
    R"~(// The library's only export: the host calls it for each @NAME@ it wants.
#include "@NAME@.h"

#include "component_factory.h"

#include <new>

extern "C" vrel_client_callback* load_vrel_client_script(client_host* host, const char* text) {
    // Nothing may escape into the host: null tells it the component could
    // not be made.
    try {
        return new (std::nothrow) @NAME@(host, text);
    } catch (...) {
        return nullptr;
    }
}
)~";

const char* const panel = R"~(<?xml version="1.0" encoding="UTF-8"?>
<!-- Panel 1 of @NAME@: the switch and the message. The host reads this file;
     "command" is what a press of the button sends. -->
<panel number="1" title="@NAME@">
  <control id="Switch" kind="button">
    <property name="text" value="Off"/>
    <property name="command" value="switch=toggle"/>
  </control>
  <control id="Message" kind="text">
    <property name="text" value=""/>
  </control>
</panel>
)~";

const char* const rules = R"~(<?xml version="1.0" encoding="UTF-8"?>
<!-- What the settings check (vrel-devhost check) knows of @NAME@'s settings. -->
<settings-rules component="@NAME@" section="@SECTION@">
  <number key="info_number" min="1"
          because="device numbers start at 1, so the state reaches no info device"/>
  <number key="info_slot" min="0" because="a negative slot names no slot of the info device"/>
</settings-rules>
)~";

const char* const settings = R"~(<?xml version="1.0" encoding="UTF-8"?>
<!-- @NAME@'s settings in an example facility: the info device and the slot
     it writes its state to. -->
<settings>
  <section id="@SECTION@">
    <entry id="info_number" value="5"/>
    <entry id="info_slot" value="1"/>
  </section>
</settings>
)~";

const char* const scenario =
    R"~(# @NAME@ with the example settings: switched on, its message cleared by the
# timer, labelled by the parent panel, switched off.
settings settings
load @NAME@
expect sent PS '1' '${component}/@NAME@.vrel_ui'
expect property Switch text Off

press Switch
expect sent TP 'text=On' '1' 'Switch'
expect sent TP 'text=@NAME@ is on' '1' 'Message'
expect sent IW 5 'on' 1 1
expect sent ET 1 3000
expect info 5 1 on

advance 3s
expect sent TP 'text=' '1' 'Message'
expect sent ET 1
expect timer 1 stopped

parent Label=Studio 2
expect no reply
parent return=all
expect reply Label=Studio 2
parent _commands
expect reply Label=[value]
parent _events
expect reply notify=*

press Switch
expect sent TP 'text=Off' '1' 'Switch'
expect sent TP 'text=Studio 2 is off' '1' 'Message'
expect sent IW 5 'off' 1 1
expect sent ET 1 3000
unload
expect sent AS
)~";

} // namespace

const component_template component_templates[] = {
    {"CMakeLists.txt", cmakeLists},
    {"@NAME@.h", header},
    {"@NAME@.cpp", source},
    {"factory.cpp", factory},
    {"@NAME@.vrel_ui", panel},
    {"@NAME@.settings_rules.xml", rules},
    {"settings/object_settings.xml", settings},
    {"@NAME@.scenario", scenario},
};

const size_t component_template_count = sizeof component_templates / sizeof component_templates[0];
