#include "tavrin_harness.h"

#include "component_library.h"
#include "host_records.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The library built with the suite, or the one VREL_TAVRIN_LIBRARY names (the
// Windows run tests the DLL built for the Microsoft C++ ABI with this suite of
// the mingw-w64 build).
std::string libraryPath() {
    const char* chosen = std::getenv("VREL_TAVRIN_LIBRARY");
    return chosen != nullptr && *chosen != '\0' ? chosen : TAVRIN_LIBRARY;
}

// The component library, loaded once for the whole run and unloaded at exit.
class loaded_library {
public:
    loaded_library() { library_.load(libraryPath(), error_); }

    vrel_component_factory factory() const { return library_.factory(); }
    void* symbol(const char* name) const { return library_.symbol(name); }
    const std::string& error() const { return error_; }

private:
    component_library library_;
    std::string error_;
};

const loaded_library& library() {
    static const loaded_library loaded;
    return loaded;
}

} // namespace

void* exportedSymbol(const char* name) {
    return library().symbol(name);
}

const char* const listenOnlyButton = "TP 'text=Listen Only' '1' 'ActivateCue'";
const char* const addCueText = "TP 'text=Click to add cue' '1' 'CueText'";
const char* const cueOffDiagnostic = "not even thinking cue is selected \n";

settings_entries facilitySettings() {
    return {
        {"cue_router_number", "7"},
        {"cue_info_number", "9"},
        {"cue_OFF_source", "20"},
        {"cuesources", "11,12,13"},
        {"musicdestinations", "3,4,5,6"},
        {"cuedestinations", "1,2,3,16,17,-1"},
        {"sourcenames", "Studio 1,Studio 2,Studio 3,Studio 4,Booth A,Booth B,Newsroom,"
                        "Continuity,Production 1,Production 2,Outside broadcast,Talkback"},
    };
}

void TavrinTest::TearDown() {
    destroy();
    const std::vector<std::string> faults = host.protocolFaults();
    EXPECT_TRUE(faults.empty()) << "reply protocol broken: " << ::testing::PrintToString(faults);
}

void TavrinTest::writeSettings(const settings_entries& entries) {
    settings.writeSection("ZELK_ROUTER", entries);
}

void TavrinTest::create(const char* path, bool withHost) {
    ASSERT_EQ(component, nullptr) << "one component per test";
    ASSERT_NE(library().factory(), nullptr) << library().error();
    component = library().factory()(withHost ? &host : nullptr, path);
    ASSERT_NE(component, nullptr) << "the factory made no component";
}

void TavrinTest::start() {
    writeSettings(facilitySettings());
    create();
    sent();
}

void TavrinTest::destroy() {
    vrel_destroy_component(component);
    component = nullptr;
}

char* TavrinTest::notify(void* data, int type) {
    if (component == nullptr) {
        ADD_FAILURE() << "no component to notify";
        return nullptr;
    }
    return component->notify(data, type);
}

std::optional<std::string> TavrinTest::parent(const char* text) {
    // The host's text is its own; the component must not write to it.
    std::string copy = text != nullptr ? text : "";
    char* reply = notify(text != nullptr ? copy.data() : nullptr, vrel_notify_parent_command);
    if (text != nullptr) {
        EXPECT_EQ(copy, text) << "the command text was changed";
    }
    if (reply == nullptr) {
        return std::nullopt;
    }
    std::string result = reply;
    notify(reply, vrel_notify_release);
    return result;
}

std::string TavrinTest::take(const char* text) {
    return debugOutputOf([&] { EXPECT_EQ(parent(text), std::nullopt) << text; });
}

void TavrinTest::press(const char* panel, const char* control, const char* command) {
    button_press pressed(panel != nullptr ? panel : "", control != nullptr ? control : "", command);
    notify(pressed.record(), vrel_notify_button);
}

void TavrinTest::status(const route_status& reported) {
    route_status_record record = record_of(reported);
    notify(&record, vrel_notify_route_status);
}

void TavrinTest::statuses(const std::vector<route_status>& reported) {
    for (const route_status& one : reported) {
        status(one);
    }
}

void TavrinTest::timer(int id) {
    notify(timer_notification(id), vrel_notify_timer);
}
