// A host compiled for the Microsoft C++ ABI (clang, --target=i686-pc-windows-msvc),
// standing where the facility's panel host stands. Unlike the C host beside it,
// it writes no table by hand: it derives its host object from client_host,
// calls the component through vrel_client_callback and destroys it with
// `delete`, all from the project's own boundary headers, so the table layout,
// the thiscall convention and the scalar deleting destructor are the
// compiler's. It loads Tavrin.dll from its own folder and plays the demo's
// operator story with the example settings (VREL_CONFIG_DIR).
//
// Freestanding: no C or C++ runtime, only kernel32. It prints one line per
// failed check and a closing "N passed, N failed" line, and exits 0 only when
// every check passed.
#include "client_host.h"
#include "component_factory.h"
#include "notify_records.h"
#include "vrel_client_callback.h"

#include <stddef.h>
#include <stdint.h>

// ---- kernel32, declared here: there are no Windows headers in this build ----

extern "C" {
using win_handle = void*;
using win_proc = int(__stdcall*)();
__declspec(dllimport) win_handle __stdcall LoadLibraryA(const char* name);
__declspec(dllimport) win_proc __stdcall GetProcAddress(win_handle module, const char* name);
__declspec(dllimport) int __stdcall FreeLibrary(win_handle module);
__declspec(dllimport) win_handle __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(win_handle file, const void* data, unsigned long size,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) unsigned long __stdcall GetEnvironmentVariableA(const char* name, char* value,
                                                                      unsigned long size);
__declspec(dllimport) unsigned long __stdcall GetModuleFileNameA(win_handle module, char* path,
                                                                 unsigned long size);
__declspec(dllimport) unsigned long __stdcall GetLastError();
__declspec(dllimport) __declspec(noreturn) void __stdcall ExitProcess(unsigned int code);

// Called by the compiler for a pure virtual entry; never reached here.
int __cdecl _purecall() {
    ExitProcess(3);
}
}

namespace {

constexpr unsigned long stdOutputHandle = static_cast<unsigned long>(-11);

// ---- Output, without a C runtime ----

class output {
public:
    output& operator<<(const char* text) {
        for (; *text != '\0'; ++text) {
            put(*text);
        }
        return *this;
    }
    output& operator<<(long number) {
        char digits[12];
        int count = 0;
        unsigned long rest = number < 0 ? 0ul - static_cast<unsigned long>(number)
                                        : static_cast<unsigned long>(number);
        do {
            digits[count++] = static_cast<char>('0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (number < 0) {
            put('-');
        }
        while (count > 0) {
            put(digits[--count]);
        }
        return *this;
    }
    output& operator<<(int number) { return *this << static_cast<long>(number); }
    // Ends the line and writes it out.
    void end() {
        put('\n');
        flush();
    }

private:
    void put(char c) {
        if (length_ == sizeof buffer_) {
            flush();
        }
        buffer_[length_++] = c;
    }
    void flush() {
        unsigned long written = 0;
        WriteFile(GetStdHandle(stdOutputHandle), buffer_, length_, &written, nullptr);
        length_ = 0;
    }

    char buffer_[256];
    unsigned long length_ = 0;
};

bool sameText(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

bool startsWith(const char* text, const char* prefix) {
    while (*prefix != '\0' && *text == *prefix) {
        ++text;
        ++prefix;
    }
    return *prefix == '\0';
}

// ---- The host: client_host as the compiler lays it out ----

constexpr int maxSent = 64;
constexpr int maxText = 160;

// Every command text the component sent, in order (static: no stack probe).
char sentTexts[maxSent][maxText];

class recording_host final : public client_host {
public:
    void reserved() override { ++reservedCalls; }

    char* send(const char* text, int code) override {
        if (code == vrel_send_release) {
            // Only query replies come back, and this host answers no query.
            ++releaseCalls;
            return nullptr;
        }
        if (code != vrel_send_execute) {
            ++otherCodes;
            return nullptr;
        }
        if (text == nullptr) {
            text = "(null)";
        }
        if (sentCount < maxSent) {
            char* copy = sentTexts[sentCount];
            int i = 0;
            for (; text[i] != '\0' && i < maxText - 1; ++i) {
                copy[i] = text[i];
            }
            copy[i] = '\0';
        }
        ++sentCount;
        // A panel shown answers with a reply that the host keeps.
        return startsWith(text, "PS ") ? panelReply : nullptr;
    }

    int sentCount = 0;
    int checked = 0; // first command not yet compared
    int reservedCalls = 0;
    int releaseCalls = 0;
    int otherCodes = 0;
    char panelReply[3] = {'o', 'k', '\0'};
};

// ---- Checks ----

class checks {
public:
    explicit checks(recording_host& host) : host_(host) {}

    void expect(bool condition, const char* what) {
        if (condition) {
            ++passed_;
        } else {
            ++failed_;
            out_ << "FAILED: " << what;
            out_.end();
        }
    }

    // The commands sent since the last call must be exactly `expected`, in order.
    template <int count> void expectSent(const char* step, const char* const (&expected)[count]) {
        expectSentList(step, expected, count);
    }
    void expectNothingSent(const char* step) { expectSentList(step, nullptr, 0); }

    // Writes the closing line; the process's exit code.
    unsigned int finish() {
        out_ << passed_ << " passed, " << failed_ << " failed";
        out_.end();
        return failed_ == 0 ? 0 : 1;
    }

    output& out() { return out_; }

private:
    void expectSentList(const char* step, const char* const* expected, int count) {
        const int got = host_.sentCount - host_.checked;
        bool same = got == count && host_.sentCount <= maxSent;
        for (int i = 0; same && i < count; ++i) {
            same = sameText(sentTexts[host_.checked + i], expected[i]);
        }
        if (same) {
            ++passed_;
        } else {
            ++failed_;
            out_ << "FAILED: " << step << ": expected " << count << " command(s):";
            out_.end();
            for (int i = 0; i < count; ++i) {
                out_ << "    " << expected[i];
                out_.end();
            }
            out_ << "  got " << got << ":";
            out_.end();
            for (int i = host_.checked; i < host_.sentCount && i < maxSent; ++i) {
                out_ << "    " << sentTexts[i];
                out_.end();
            }
        }
        host_.checked = host_.sentCount;
    }

    recording_host& host_;
    output out_;
    int passed_ = 0;
    int failed_ = 0;
};

// What a router reports after a route: destination `index` of `device` now
// carries `source`.
void reportRoute(vrel_client_callback& component, checks& check, int32_t device, int32_t index,
                 int32_t source) {
    route_status_record status{device, 0, index, source};
    check.expect(component.notify(&status, vrel_notify_route_status) == nullptr,
                 "a route status returns null");
}

char* parent(vrel_client_callback& component, const char* text) {
    return component.notify(const_cast<char*>(text), vrel_notify_parent_command);
}

// Sends a parent command that has no reply.
void parentWithoutReply(vrel_client_callback& component, checks& check, const char* text) {
    char* reply = parent(component, text);
    check.expect(reply == nullptr, text);
    if (reply != nullptr) {
        component.notify(reply, vrel_notify_release);
    }
}

// The operator presses ActivateCue, whose command text "cue=toggle" the host
// has parsed into the record.
void pressActivateCue(vrel_client_callback& component, checks& check) {
    command_record command{};
    command.command = "cue";
    for (const char*& part : command.parts) {
        part = "";
    }
    command.value = "toggle";
    command.partCount = 0;
    command.hasValue = true;
    command.buffer = nullptr;
    button_record press{0, 0, "1", "ActivateCue", &command};
    check.expect(component.notify(&press, vrel_notify_button) == nullptr,
                 "a button press returns null");
}

// The folder of this program, with a trailing backslash, where Tavrin.dll sits.
bool programFolder(char (&folder)[260]) {
    const unsigned long length = GetModuleFileNameA(nullptr, folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) {
        return false;
    }
    unsigned long end = length;
    while (end > 0 && folder[end - 1] != '\\' && folder[end - 1] != '/') {
        --end;
    }
    folder[end] = '\0';
    return true;
}

unsigned int run() {
    recording_host host;
    checks check(host);

    char settings[260];
    const unsigned long settingsLength =
        GetEnvironmentVariableA("VREL_CONFIG_DIR", settings, sizeof settings);
    if (settingsLength == 0 || settingsLength >= sizeof settings) {
        check.expect(false, "VREL_CONFIG_DIR names the example settings folder");
        return check.finish();
    }

    char path[260 + 16];
    char folder[260];
    if (!programFolder(folder)) {
        check.expect(false, "GetModuleFileNameA gives this program's folder");
        return check.finish();
    }
    int length = 0;
    for (const char* part = folder; *part != '\0'; ++part) {
        path[length++] = *part;
    }
    for (const char* part = "Tavrin.dll"; *part != '\0'; ++part) {
        path[length++] = *part;
    }
    path[length] = '\0';

    win_handle library = LoadLibraryA(path);
    if (library == nullptr) {
        check.out() << "FAILED: LoadLibraryA(" << path << "): error "
                    << static_cast<long>(GetLastError());
        check.out().end();
        return 1;
    }
    const auto factory = reinterpret_cast<vrel_component_factory>(
        GetProcAddress(library, VREL_COMPONENT_FACTORY_NAME));
    if (factory == nullptr) {
        check.out() << "FAILED: GetProcAddress(" << VREL_COMPONENT_FACTORY_NAME << "): error "
                    << static_cast<long>(GetLastError());
        check.out().end();
        return 1;
    }

    // Start-up: the panel, then registering for and polling the cue router.
    vrel_client_callback* component = factory(&host, "panels");
    check.expect(component != nullptr, "the factory returns an object");
    if (component == nullptr) {
        return check.finish();
    }
    check.expectSent("start-up", {"PS '1' 'panels/p1.vrel_ui'", "RR 7 1 16", "RP 7 1 16"});

    // The poll's answer: every cue destination is on the cue-off source 20.
    for (int32_t index = 1; index <= 16; ++index) {
        reportRoute(*component, check, 7, index, 20);
    }
    check.expectNothingSent("route status");

    // The operator switches cue on.
    pressActivateCue(*component, check);
    check.expectSent("cue on", {"TP 'text=Full Facs' '1' 'ActivateCue'",
                                "TP 'text=Click to remove cue' '1' 'CueText'"});

    // Music source 5 to destination 9: destination 9 produces cue on cue
    // router source 5, and source 5 listens to cue router destination 5.
    parentWithoutReply(*component, check, "Source=5");
    parentWithoutReply(*component, check, "Destination=9");
    parentWithoutReply(*component, check, "Take=1");
    check.expectSent("take with cue",
                     {"ET 1 5000", "RC 7 20 -1 ',' 1", "RC 7 5 5 ',' 1", "IW 9 'green' 5 1",
                      "TP 'text=Listen Only' '1' 'ActivateCue'",
                      "TP 'text=Click to add cue' '1' 'CueText'"});
    reportRoute(*component, check, 7, 5, 5);

    // Destination 10's cue for source 5, which already hears destination 9's:
    // listen-only, and the message names who has the cue (the route status above).
    pressActivateCue(*component, check);
    parentWithoutReply(*component, check, "Source=5");
    parentWithoutReply(*component, check, "Destination=10");
    parentWithoutReply(*component, check, "Take=1");
    check.expectSent(
        "take of a busy cue",
        {"TP 'text=Full Facs' '1' 'ActivateCue'", "TP 'text=Click to remove cue' '1' 'CueText'",
         "ET 1 5000", "IW 9 'grey' 6 1",
         "TP 'text=Voice booth A has the cue | You are getting listen-only' '1' 'CueInfo'",
         "RC 7 20 -1 ',' 1", "TP 'text=Listen Only' '1' 'ActivateCue'",
         "TP 'text=Click to add cue' '1' 'CueText'"});

    // The message timer fires; the timer's id is the value of `data`.
    check.expect(component->notify(reinterpret_cast<void*>(static_cast<uintptr_t>(1)),
                                   vrel_notify_timer) == nullptr,
                 "a timer returns null");
    check.expectSent("timer", {"TP 'text=' '1' 'CueInfo'", "ET 1"});

    // Music source 31 clears destination 9's cue.
    parentWithoutReply(*component, check, "Destination=9");
    parentWithoutReply(*component, check, "Source=31");
    parentWithoutReply(*component, check, "Take=1");
    check.expectSent("take of the clear source", {"ET 1 5000", "IW 9 'grey' 5 1", "RC 7 20 5 ',' 1",
                                                  "TP 'text=Listen Only' '1' 'ActivateCue'",
                                                  "TP 'text=Click to add cue' '1' 'CueText'"});
    reportRoute(*component, check, 7, 5, 20);

    // Parent replies belong to the component until the host releases them.
    char* reply = parent(*component, "_commands");
    check.expect(reply != nullptr &&
                     sameText(reply, "Source=[value]\nDestination=[value]\nTake=[value]"),
                 "_commands answers with the three commands");
    check.expect(component->notify(reply, vrel_notify_release) == nullptr,
                 "releasing a reply returns null");
    reply = parent(*component, "return=all");
    check.expect(reply != nullptr && sameText(reply, "CueRouter=7"),
                 "return=all answers CueRouter=7");
    component->notify(reply, vrel_notify_release);
    check.expect(component->notify(nullptr, vrel_notify_release) == nullptr,
                 "releasing null does nothing");
    check.expectNothingSent("parent replies");

    // The compiler's own delete: the scalar deleting destructor, entry 0.
    delete component;
    check.expectSent("destruction", {"AS"});
    check.expect(host.sentCount > 0 && host.sentCount <= maxSent &&
                     sameText(sentTexts[host.sentCount - 1], "AS"),
                 "AS is the last command");

    check.expect(host.reservedCalls == 0, "the host's entry 0 is never called");
    check.expect(host.releaseCalls == 0, "no reply of this host is handed back");
    check.expect(host.otherCodes == 0, "every command is sent with code 0");
    check.expect(FreeLibrary(library) != 0, "the library unloads");
    return check.finish();
}

} // namespace

// The program's entry point (no C runtime calls a main).
extern "C" void __cdecl vrel_host_entry() {
    ExitProcess(run());
}
