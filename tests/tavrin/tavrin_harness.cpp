#include "tavrin_harness.h"

#include "command_parser.h"

#include <cstdint>
#include <dlfcn.h>

namespace {

using factory_function = vrel_client_callback* (*)(client_host*, const char*);

// The component library, loaded once for the whole run and unloaded at exit.
class component_library {
public:
    component_library() {
        handle_ = ::dlopen(TAVRIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr) {
            error_ = std::string("dlopen ") + TAVRIN_LIBRARY + ": " + ::dlerror();
            return;
        }
        void* symbol = ::dlsym(handle_, "load_vrel_client_script");
        if (symbol == nullptr) {
            error_ = std::string("dlsym load_vrel_client_script in ") + TAVRIN_LIBRARY + ": " +
                     ::dlerror();
            return;
        }
        factory_ = reinterpret_cast<factory_function>(symbol);
    }
    component_library(const component_library&) = delete;
    component_library& operator=(const component_library&) = delete;
    ~component_library() {
        if (handle_ != nullptr) {
            ::dlclose(handle_);
        }
    }

    factory_function factory() const { return factory_; }
    void* symbol(const char* name) const {
        return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
    }
    const std::string& error() const { return error_; }

private:
    void* handle_ = nullptr;
    factory_function factory_ = nullptr;
    std::string error_;
};

const component_library& library() {
    static const component_library loaded;
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
    delete component;
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
    command_record record;
    parse(record, command);
    button_record button{0, 0, panel, control, command != nullptr ? &record : nullptr};
    notify(&button, vrel_notify_button);
    release(record);
}

void TavrinTest::status(const route_status& reported) {
    route_status_record record{reported.device, 0, reported.index, reported.value};
    notify(&record, vrel_notify_route_status);
}

void TavrinTest::statuses(const std::vector<route_status>& reported) {
    for (const route_status& one : reported) {
        status(one);
    }
}

void TavrinTest::timer(int id) {
    notify(reinterpret_cast<void*>(static_cast<intptr_t>(id)), vrel_notify_timer);
}
