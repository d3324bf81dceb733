// A component that crashes or hangs when told to, for the development
// server's tests: "Crash" ends the process with SIGSEGV, "Hang" never
// returns, "Count" counts its presses on its own face.
#include "component_factory.h"
#include "notify_records.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>
#include <unistd.h>

namespace {

class crashing_component final : public vrel_client_callback {
public:
    explicit crashing_component(client_host* host) : host_(host) {
        host_->send("PS '1' '" CRASH_PANEL "'", 0);
    }
    ~crashing_component() override { host_->send("AS", 0); }

    char* notify(void* data, int type) override {
        if (type != 2 || data == nullptr) {
            return nullptr;
        }
        const auto* button = static_cast<const button_record*>(data);
        if (std::strcmp(button->control, "Crash") == 0) {
            std::raise(SIGSEGV);
        } else if (std::strcmp(button->control, "Hang") == 0) {
            for (;;) {
                ::pause();
            }
        } else if (std::strcmp(button->control, "Count") == 0) {
            char text[64];
            std::snprintf(text, sizeof text, "TP 'text=%d' '1' 'Count'", ++count_);
            host_->send(text, 0);
        }
        return nullptr;
    }

private:
    client_host* host_;
    int count_ = 0;
};

} // namespace

extern "C" vrel_client_callback* load_vrel_client_script(client_host* host, const char*) {
    return new (std::nothrow) crashing_component(host);
}
