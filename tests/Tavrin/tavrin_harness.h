// Drives the cue control the way the panel host does: the library is loaded
// by absolute path, the factory creates the component, and from then on only
// notify and the virtual destructor are used.
#ifndef VREL_TESTS_TAVRIN_HARNESS_H
#define VREL_TESTS_TAVRIN_HARNESS_H

#include "host_records.h"
#include "notify_records.h"
#include "recording_host.h"
#include "settings_folder.h"
#include "vrel_client_callback.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

using settings_entries = std::vector<std::pair<std::string, std::string>>;

// A small facility: cue router 7, info device 9, cue-off source 20. Music
// destinations 3, 4 and 5 have cue sources 11, 12 and 13; destination 6 is
// listed but has no cue source. Music sources 1, 2, 3 and 16 receive cue; 17
// and -1 are listed but lie outside the cue router's tracked destinations.
// Cue sources 1 to 12 have names ("Talkback" is 12); 13 has none.
settings_entries facilitySettings();

// The listen-only messages, as sent to the panel's CueInfo text.
inline const std::string sourceCannotReceive =
    "TP 'text=This music source |can not receive cue |You are getting listen-only' '1' "
    "'CueInfo'";
inline const std::string destinationCannotProduce =
    "TP 'text=This music destination | can not produce cue |You are getting listen-only' '1' "
    "'CueInfo'";

// The address of `name` among the loaded library's exports, or null.
void* exportedSymbol(const char* name);

// The commands every take ends with: the cue button back at "Listen Only".
extern const char* const listenOnlyButton;
extern const char* const addCueText;

// A take's commands: the message timer, `middle`, then the button reset.
inline std::vector<std::string> takeOf(std::vector<std::string> middle) {
    middle.insert(middle.begin(), "ET 1 5000");
    middle.push_back(listenOnlyButton);
    middle.push_back(addCueText);
    return middle;
}
// The diagnostic of a take with cue off.
extern const char* const cueOffDiagnostic;

class TavrinTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Writes the settings file the next component reads at start.
    void writeSettings(const settings_entries& entries);
    // Creates a component on `host` (or on no host) with `path` as its
    // folder; the start-up commands stay recorded for sent().
    void create(const char* path = nullptr, bool withHost = true);
    // Writes facilitySettings(), creates a component and drops the start-up
    // commands.
    void start();
    // Destroys the component, as the host does at the end.
    void destroy();

    // Sends a parent command (type 3). The reply, or nothing for a null
    // pointer; a reply is handed back with type 5 as the host does.
    std::optional<std::string> parent(const char* text);
    // Presses a control (type 2). `command` is the control's own command
    // text, parsed into the record as the host does; null gives a record
    // without a command.
    // Sends a take (type 3, "Take" by default), expects no reply and returns
    // what it wrote to the debug output.
    std::string take(const char* text = "Take");
    void press(const char* panel, const char* control, const char* command = "cue=toggle");
    void pressCue() { press("1", "ActivateCue"); }
    void status(const route_status& reported);
    void statuses(const std::vector<route_status>& reported);
    void timer(int id);
    // Any notification; the component's result.
    char* notify(void* data, int type);

    // Commands sent since the last call.
    std::vector<std::string> sent() { return host.takeCommands(); }

    recording_host host;
    settings_folder settings;
    vrel_client_callback* component = nullptr;
};

// Names a parameterised test after its case's `name` field.
struct case_name {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& tested) const {
        return tested.param.name;
    }
};

// What `action` writes to the debug output while it runs.
//
// The suite names loop values in assertion messages rather than with
// SCOPED_TRACE: on Windows that starts a GoogleTest watcher thread, and wine
// run through qemu-user corrupts a process with two threads once an SEH
// exception is raised in it, which OutputDebugStringA does for every text.
template <typename Action> std::string debugOutputOf(Action action) {
    ::testing::internal::CaptureStderr();
    action();
    return ::testing::internal::GetCapturedStderr();
}

#endif
