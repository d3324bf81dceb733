#include "bench_component.h"

#include <cstdlib>
#include <cstring>

namespace {

char panelShown[] = "ok";
const char empty[] = "";

} // namespace

char* counting_host::send(const char* text, int code) {
    if (code != vrel_send_execute) {
        return nullptr;
    }
    ++commands;
    bytes += static_cast<long long>(std::strlen(text));
    return text[0] == 'P' && text[1] == 'S' ? panelShown : nullptr;
}

void useExampleSettings() {
    ::setenv("VREL_CONFIG_DIR", VREL_EXAMPLE_SETTINGS, 1);
}

bench_component::bench_component() {
    useExampleSettings();
    component_ = load_vrel_client_script(&host, "");
    buttonCommand_.command = "cue";
    for (const char*& part : buttonCommand_.parts) {
        part = empty;
    }
    buttonCommand_.value = "toggle";
    buttonCommand_.hasValue = true;
    button_.panel = "1";
    button_.control = "ActivateCue";
    button_.command = &buttonCommand_;
}

bench_component::~bench_component() {
    delete component_;
}

void bench_component::command(const char* text) {
    char* reply = component_->notify(const_cast<char*>(text), 3);
    if (reply != nullptr) {
        component_->notify(reply, 5);
    }
}

void bench_component::press() {
    component_->notify(&button_, 2);
}
