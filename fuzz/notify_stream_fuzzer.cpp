// Fuzzes one long-lived component with a stream of notifications decoded
// from the input: route statuses, parent commands, button records, timers,
// types 5, 6 and 7 and unknown types. The component lives across inputs, as
// it does in a host, so state left by one input meets the next. Every command
// it sends is checked; every reply is released before the input ends.
#include "fuzz_host.h"
#include "host_records.h"

#include <cstdint>
#include <cstring>
#include <string>

#ifndef VREL_EXAMPLE_SETTINGS
#error "VREL_EXAMPLE_SETTINGS names the settings folder the component starts with"
#endif

namespace {

const char* const words[] = {"Source=",   "Destination=", "Take=",     "CueRouter=", "return=",
                             "instance=", "_events",      "_commands", "return=all", ""};
const char* const controls[] = {"ActivateCue", "CueText", "CueInfo", "ActionAll", "AckAll", ""};

class input_reader {
public:
    input_reader(const uint8_t* data, size_t size) : at_(data), end_(data + size) {}

    bool done() const { return at_ == end_; }
    uint8_t byte() { return at_ == end_ ? 0 : *at_++; }
    int32_t number() {
        // One byte for a small number, or a marker and four raw bytes.
        const uint8_t first = byte();
        if (first != 0xff) {
            return static_cast<int8_t>(first);
        }
        uint32_t raw = 0;
        for (int i = 0; i < 4; ++i) {
            raw = raw << 8 | byte();
        }
        return static_cast<int32_t>(raw);
    }
    std::string text() {
        const size_t length = byte();
        std::string bytes;
        while (bytes.size() < length && !done()) {
            bytes += static_cast<char>(byte());
        }
        return bytes;
    }

private:
    const uint8_t* at_;
    const uint8_t* end_;
};

struct long_lived {
    report out{0};
    checking_host host{out};
    component_driver driver{load_vrel_client_script, &host, out, VREL_PANEL_FOLDER};
    unsigned char record[256] = {};

    long_lived() {
        ::setenv("VREL_CONFIG_DIR", VREL_EXAMPLE_SETTINGS, 1);
        driver.create();
        stopOnFailure(out);
    }
};

long_lived& component() {
    static long_lived* instance = new long_lived;
    return *instance;
}

void sendOne(long_lived& c, input_reader& in) {
    switch (in.byte() % 8) {
    case 0: {
        const uint8_t choice = in.byte();
        int32_t device = in.number();
        if (choice % 2 == 0 && !c.host.devices().empty()) {
            device = c.host.devices()[0];
        }
        route_status_record status{device, 0, in.number(), in.number()};
        c.driver.notify(&status, 1, "a route status");
        break;
    }
    case 1: {
        std::string text = in.text();
        c.driver.notify(&text[0], 3);
        break;
    }
    case 2: {
        std::string text = words[in.byte() % (sizeof words / sizeof *words)];
        text += std::to_string(in.number());
        c.driver.notify(&text[0], 3);
        break;
    }
    case 3: {
        button_notification press;
        const uint8_t choice = in.byte();
        press.panel = choice & 1 ? in.text() : "1";
        press.control = controls[(choice >> 1) % (sizeof controls / sizeof *controls)];
        press.commandWord = choice & 0x40 ? "alarm" : "cue";
        press.commandValue = in.text();
        static const char* const nullSets[] = {"p", "c", "wv", "pcrwv"};
        const char* nulls = choice & 0x80 ? nullSets[choice & 3] : "";
        c.driver.notify(press.build(nulls), 2, "a button record");
        break;
    }
    case 4:
        c.driver.notify(reinterpret_cast<void*>(static_cast<intptr_t>(in.number())), 4, "a timer");
        break;
    case 5: {
        const uint8_t choice = in.byte();
        std::memset(c.record, choice, sizeof c.record);
        c.driver.notify(choice & 1 ? c.record : nullptr, choice & 2 ? 6 : 7, "type 6 or 7");
        break;
    }
    case 6: {
        int32_t type = in.number();
        if (type >= 1 && type <= 7) {
            type = -type;
        }
        c.driver.notify(in.byte() & 1 ? c.record : nullptr, type, "an unknown type");
        break;
    }
    default:
        if (c.driver.held() > 0) {
            c.driver.release(in.byte() % c.driver.held());
        } else {
            c.driver.notify(nullptr, 5, "type 5 with null");
        }
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    long_lived& c = component();
    input_reader in(data, size);
    while (!in.done()) {
        sendOne(c, in);
    }
    c.driver.releaseAll();
    stopOnFailure(c.out);
    return 0;
}
