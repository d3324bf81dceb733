// The notifications that must not allocate: unknown types (the dispatch
// floor), route statuses, types 5 (null), 6 and 7, and timers.
#include "allocation_counter.h"
#include "baselines.h"
#include "bench_component.h"

#include <cstdint>

namespace {

// The floor of any notification: one virtual call the compiler cannot see
// through.
struct empty_target {
    virtual ~empty_target() = default;
    virtual char* notify(void*, int) { return nullptr; }
};

void BM_Baseline_VirtualCall(benchmark::State& state) {
    empty_target target;
    empty_target* pointer = &target;
    benchmark::DoNotOptimize(pointer);
    const long long before = allocationCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pointer->notify(nullptr, 99));
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Baseline_VirtualCall);

void BM_Notify_UnknownType(benchmark::State& state) {
    bench_component c;
    const long long before = allocationCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.notify(nullptr, 99));
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Notify_UnknownType);

// Types 5 with null, 6 and 7 with a record: passed on, nothing done.
void BM_Notify_Type5Null6And7(benchmark::State& state) {
    bench_component c;
    unsigned char record[64] = {};
    const long long before = allocationCount();
    for (auto _ : state) {
        c.notify(nullptr, 5);
        c.notify(record, 6);
        c.notify(record, 7);
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Notify_Type5Null6And7);

// The table write a route status comes down to.
void BM_Baseline_TableWrite(benchmark::State& state) {
    int table[17] = {};
    route_status_record status{7, 0, 5, 9};
    benchmark::DoNotOptimize(&status);
    const long long before = allocationCount();
    for (auto _ : state) {
        if (status.device == 7 && status.index >= 0 && status.index < 17) {
            table[status.index] = status.value;
        }
        benchmark::DoNotOptimize(table);
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Baseline_TableWrite);

void BM_Notify_RouteStatus(benchmark::State& state) {
    bench_component c;
    route_status_record status{7, 0, 5, 9};
    const long long before = allocationCount();
    for (auto _ : state) {
        c.notify(&status, 1);
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Notify_RouteStatus);

// Timer 1 clears the operator message and stops the timer.
void BM_Baseline_Timer1Texts(benchmark::State& state) {
    const long long before = allocationCount();
    for (auto _ : state) {
        textBaseline("TP '%s=%s' '%s' '%s'", "text", "", "1", "CueInfo");
        textBaseline("ET %d", 1);
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Baseline_Timer1Texts);

void BM_Notify_Timer1(benchmark::State& state) {
    bench_component c;
    const long long before = allocationCount();
    for (auto _ : state) {
        c.notify(reinterpret_cast<void*>(intptr_t{1}), 4);
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Notify_Timer1);

// Any other timer is only stopped.
void BM_Notify_Timer2(benchmark::State& state) {
    bench_component c;
    const long long before = allocationCount();
    for (auto _ : state) {
        c.notify(reinterpret_cast<void*>(intptr_t{2}), 4);
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Notify_Timer2);

} // namespace
