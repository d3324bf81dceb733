// A component library that breaks the rules on purpose, for the validator's
// own tests. The environment variable VREL_FAULT picks the fault; without it
// the component keeps every rule.
#include "component_factory.h"
#include "vrel_config.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <string>

namespace {

bool fault(const char* name) {
    const char* chosen = std::getenv("VREL_FAULT");
    return chosen != nullptr && std::strcmp(chosen, name) == 0;
}

// Returned for every parent command by the "same-reply-twice" fault.
char kept[] = "kept";

char* copyOf(const char* text) {
    char* copy = static_cast<char*>(::operator new(std::strlen(text) + 1));
    std::strcpy(copy, text);
    return copy;
}

// The value of the first entry `key` the reader stands on or after; false
// when there is none.
bool settingOf(vrel_config& settings, const char* key, std::string& value) {
    for (bool more = settings.isChildValid(); more; more = settings.nextChild()) {
        if (settings.childAttr("id") == key) {
            value = settings.childAttr("value").c_str();
            return true;
        }
    }
    return false;
}

// A little kept for every load of the library, never freed.
struct load_leak {
    load_leak() {
        if (fault("leak-per-load")) {
            leaked = new char[24]();
        }
    }
    char* volatile leaked = nullptr;
} perLoad;

class faulty_component final : public vrel_client_callback {
public:
    faulty_component(client_host* host, const char* path)
        : host_(host),
          panelShow_(std::string("PS '1' '") + (path != nullptr ? path : ".") + "/p1.vrel_ui'") {
        // The cue control's panel file, which lies beside this library.
        send(panelShow_.c_str());
        send("RR 7 1 16");
        if (fault("trusts-settings")) {
            // The device of section FAULTY, put into the text as written.
            vrel_config settings("object_settings.FAULTY");
            std::string device;
            if (settingOf(settings, "device", device)) {
                send(("RR " + device + " 1 16").c_str());
            }
        }
        if (fault("leak-per-component")) {
            leaked_ = new char[24]();
        }
        if (fault("chatty")) {
            // Numbered lines, then the same line again and again, as a
            // component's diagnostics are.
            for (int line = 1; line <= 300; ++line) {
                std::fprintf(stderr, "faulty component: diagnostic line %d of the start-up\n",
                             line);
            }
            for (int line = 1; line <= 50; ++line) {
                std::fputs("faulty component: nothing to do\n", stderr);
            }
        }
        if (fault("kept-per-load")) {
            // Memory the process keeps after the library is gone: an
            // environment entry per load, never removed.
            // (snprintf, not std::to_string: a unique symbol from the
            // standard library would keep the library loaded.)
            static const std::string bulk(1024, 'k');
            const char* previous = std::getenv("VREL_FAULT_LOADS");
            const int loads = (previous != nullptr ? std::atoi(previous) : 0) + 1;
            char name[64];
            std::snprintf(name, sizeof name, "%d", loads);
            ::setenv("VREL_FAULT_LOADS", name, 1);
            std::snprintf(name, sizeof name, "VREL_FAULT_KEPT_%d", loads);
            ::setenv(name, bulk.c_str(), 1);
        }
    }
    ~faulty_component() override {
        if (!fault("no-last-words")) {
            send("AS");
        }
    }

    char* notify(void* data, int type) override {
        if (type == 5) {
            if (data != kept) {
                ::operator delete(data);
            }
            return nullptr;
        }
        if (type == 4) {
            if (fault("reply-to-timer")) {
                // Static: a host may not hand it back, so it is never freed.
                static char timer[] = "timer";
                return timer;
            }
            if (fault("bad-text")) {
                send("TP 'text' '1' 'CueInfo'");
            }
            if (fault("early-end")) {
                send("AS");
            }
            if (fault("nondeterministic")) {
                timespec now{};
                ::clock_gettime(CLOCK_MONOTONIC, &now);
                char text[32];
                std::snprintf(text, sizeof text, "ET %ld", now.tv_nsec % 1000 + 2);
                send(text);
            }
            return nullptr;
        }
        if (type != 3) {
            return nullptr;
        }
        if (fault("unreturned-query")) {
            send("TG '1' 'CueInfo' 'text'");
        }
        if (fault("returns-other-reply")) {
            char* reply = send(panelShow_.c_str());
            if (reply != nullptr) {
                host_->send(reply, 5);
            }
        }
        if (fault("empty-reply")) {
            return copyOf("");
        }
        if (fault("same-reply-twice")) {
            return kept;
        }
        return nullptr;
    }

private:
    char* send(const char* text) { return host_ != nullptr ? host_->send(text, 0) : nullptr; }

    client_host* host_;
    std::string panelShow_;
    // The "leak-per-component" fault's block, never freed.
    char* volatile leaked_ = nullptr;
};

} // namespace

extern "C" vrel_client_callback* load_vrel_client_script(client_host* host, const char* path) {
    return new (std::nothrow) faulty_component(host, path);
}
