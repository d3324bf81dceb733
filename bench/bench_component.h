// What the benchmarks share: a host that only counts, a component made by
// the library's own factory, and helpers to send it notifications.
#ifndef VREL_BENCH_BENCH_COMPONENT_H
#define VREL_BENCH_BENCH_COMPONENT_H

#include "client_host.h"
#include "component_factory.h"
#include "notify_records.h"

#include <cstdint>

// Counts the commands; answers a panel show with a text, everything else with
// null, as a host without queries would.
class counting_host final : public client_host {
public:
    void reserved() override {}
    char* send(const char* text, int code) override;

    long long commands = 0;
    long long bytes = 0;
};

// A component of the library, created with a counting host and the example
// facility's settings; destroyed with the object.
class bench_component {
public:
    bench_component();
    bench_component(const bench_component&) = delete;
    bench_component& operator=(const bench_component&) = delete;
    ~bench_component();

    // A parent command; a reply is released at once, as a host does.
    void command(const char* text);
    void press();
    char* notify(void* data, int type) { return component_->notify(data, type); }

    counting_host host;

private:
    vrel_client_callback* component_;
    button_record button_{};
    command_record buttonCommand_{};
};

// Points VREL_CONFIG_DIR at the example facility's settings.
void useExampleSettings();

#endif
