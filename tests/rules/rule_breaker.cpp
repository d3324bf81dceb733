// A component library that breaks one rule of the rule book on purpose: the
// environment variable VREL_BREAK_RULE names it. Without it the component
// keeps every rule, and so is the twin of each breaker. It talks to the host
// through the boundary alone, so that nothing of the frame keeps it in line.
//
// Its life: it shows its panel, starts timer 1, answers parent commands with
// a text, and sends AS when it is destroyed. Each breach replaces the one
// step that keeps the rule, or adds one command that breaks it.
#include "component_factory.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

bool breaking(const char* rule) {
    const char* chosen = std::getenv("VREL_BREAK_RULE");
    return chosen != nullptr && std::strcmp(chosen, rule) == 0;
}

// A pointer no host ever gave out.
char stranger[] = "stranger";
// A text kept for the life of the library, returned where a breach needs it;
// its release is harmless.
char kept[] = "kept";

// The host of the last component made. Both programs keep that host alive
// until they have unloaded the library.
client_host* lastHost = nullptr;

// Runs as the library is unloaded: every component is gone, and no host is
// calling in.
struct unload_sender {
    ~unload_sender() {
        if (lastHost != nullptr && breaking("inside-a-call")) {
            lastHost->send("RR 7 1 16", 0);
        }
    }
};
unload_sender unloadSender;

char* copyOf(const char* text) {
    char* copy = static_cast<char*>(::operator new(std::strlen(text) + 1));
    std::strcpy(copy, text);
    return copy;
}

class rule_breaker final : public vrel_client_callback {
public:
    rule_breaker(client_host* host, const char* path)
        : host_(host), folder_(path != nullptr && *path != '\0' ? path : ".") {
        if (host_ == nullptr) {
            return;
        }
        lastHost = host_;
        const std::string file =
            breaking("panel-file") ? "missing.vrel_ui" : "rule_breaker.vrel_ui";
        const std::string panelShow = "PS '1' '" + folder_ + "/" + file + "'";
        char* shown = send(panelShow.c_str());
        send("ET 1 1000");
        if (breaking("first-entry")) {
            host_->reserved();
        }
        if (breaking("send-code")) {
            host_->send("RR 7 1 16", 3);
        }
        if (breaking("command-text")) {
            host_->send(nullptr, 0);
        }
        const char* const brokenTexts[][2] = {
            {"command-word", "ZZ 1"},
            {"command-form", "RR 7 1"},
            {"plain-number", "RR 07 1 16"},
            {"flag-value", "IW 3 'x' 2 2"},
            {"as-when-destroyed", "AS"},
            {"panel-shown", "TP 'text=x' '2' 'Lamp'"},
            {"control-on-panel", "TP 'text=x' '1' 'Nope'"},
            {"timer-interval", "ET 2 -2000"},
            {"timer-running", "ET 9"},
            {"negative-index", "IW 3 'x' -1 1"},
            {"poll-limit", "RP 7 1 2000"},
            {"register-range", "RR 7 16 1"},
        };
        for (const auto& broken : brokenTexts) {
            if (breaking(broken[0])) {
                send(broken[1]);
            }
        }
        // Polls of 1024 destinations until one call has caused more route
        // statuses than a host keeps waiting.
        if (breaking("status-limit")) {
            for (int i = 0; i < 98; ++i) {
                send("RP 7 1 1024");
            }
        }
        // The query every component may make; its reply comes back once. (A
        // panel that could not be shown has no control to ask about.)
        char* answer = breaking("panel-file") ? nullptr : send("TG '1' 'Lamp' 'text'");
        if (answer != nullptr && !breaking("query-reply-back")) {
            host_->send(answer, 5);
            if (breaking("reply-back-once")) {
                host_->send(answer, 5);
            }
        }
        if (breaking("only-query-replies") && shown != nullptr) {
            host_->send(shown, 5);
        }
        if (breaking("known-reply")) {
            host_->send(stranger, 5);
        }
    }

    ~rule_breaker() override {
        if (!breaking("as-on-destroy")) {
            send("AS");
        }
        if (breaking("as-last")) {
            send("RR 7 1 16");
        }
    }

    char* notify(void* data, int type) override {
        if (type == 5) {
            if (data != kept) {
                ::operator delete(data);
            }
            return nullptr;
        }
        if (type == 4 && breaking("answer-only-commands")) {
            return kept;
        }
        if (type != 3) {
            return nullptr;
        }
        if (breaking("answer-not-empty")) {
            return copyOf("");
        }
        // Both programs hold two replies at once at some point (the
        // validator as it drives a component, the development host as the
        // breaker's scenario asks): the second time, the host still holds it.
        if (breaking("answer-not-held")) {
            return kept;
        }
        return copyOf("done");
    }

private:
    char* send(const char* text) { return host_ != nullptr ? host_->send(text, 0) : nullptr; }

    client_host* host_;
    std::string folder_;
};

} // namespace

extern "C" vrel_client_callback* load_vrel_client_script(client_host* host, const char* path) {
    return new (std::nothrow) rule_breaker(host, path);
}
