// Parent commands end to end: the text through notify, parsed, looked up and
// answered, with a host that only counts.
#include "allocation_counter.h"
#include "baselines.h"
#include "bench_component.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <unistd.h>

namespace {

void BM_Baseline_Parse(benchmark::State& state, const char* text) {
    const long long before = allocationCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        parseBaseline(text);
    }
    reportAllocations(state, before);
}
BENCHMARK_CAPTURE(BM_Baseline_Parse, Source, "Source=12");
BENCHMARK_CAPTURE(BM_Baseline_Parse, Destination, "Destination=4");

void BM_Parent(benchmark::State& state, const char* text) {
    bench_component c;
    const long long before = allocationCount();
    for (auto _ : state) {
        c.command(text);
    }
    reportAllocations(state, before);
}
BENCHMARK_CAPTURE(BM_Parent, Source, "Source=12");
BENCHMARK_CAPTURE(BM_Parent, Destination, "Destination=4");
// A destination the list does not hold: the whole list is searched.
BENCHMARK_CAPTURE(BM_Parent, DestinationUnlisted, "Destination=27");

// A reply the plain way: find the command's end, copy a fixed text into memory
// the host hands back, and free it as the release does.
void BM_Baseline_Reply(benchmark::State& state, const char* text, const char* answer) {
    const size_t size = std::strlen(answer) + 1;
    const long long before = allocationCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(std::strchr(text, '='));
        char* reply = static_cast<char*>(::operator new(size));
        std::memcpy(reply, answer, size);
        benchmark::DoNotOptimize(reply);
        ::operator delete(reply);
    }
    reportAllocations(state, before);
}
BENCHMARK_CAPTURE(BM_Baseline_Reply, Commands, "_commands",
                  "Source=[value]\nDestination=[value]\nTake=[value]");
BENCHMARK_CAPTURE(BM_Baseline_Reply, Events, "_events", "notify=*");
BENCHMARK_CAPTURE(BM_Baseline_Reply, ReturnAll, "return=all", "CueRouter=7");

// The three commands that answer: each reply is handed back at once.
BENCHMARK_CAPTURE(BM_Parent, Commands, "_commands");
BENCHMARK_CAPTURE(BM_Parent, Events, "_events");
BENCHMARK_CAPTURE(BM_Parent, ReturnAll, "return=all");

// "Take=1" without cue: the timer, the grey status, the clear route, the
// button texts and one diagnostic line (written to standard error).
void BM_Baseline_TakeTexts(benchmark::State& state) {
    static const char diagnostic[] = "not even thinking cue is selected \n";
    const long long before = allocationCount();
    for (auto _ : state) {
        parseBaseline("Take=1");
        textBaseline("ET %d %d", 1, 5000);
        textBaseline("IW %d '%s' %d %d", 9, "grey", 2, 1);
        ssize_t written = ::write(2, diagnostic, sizeof diagnostic - 1);
        benchmark::DoNotOptimize(written);
        textBaseline("RC %d %d %d ',%s' %d", 7, 20, -1, "", 1);
        textBaseline("TP '%s=%s' '%s' '%s'", "text", "Listen Only", "1", "ActivateCue");
        textBaseline("TP '%s=%s' '%s' '%s'", "text", "Click to add cue", "1", "CueText");
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Baseline_TakeTexts);

void BM_Parent_Take(benchmark::State& state) {
    bench_component c;
    c.command("Source=3");
    c.command("Destination=4");
    const long long before = allocationCount();
    for (auto _ : state) {
        c.command("Take=1");
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Parent_Take);

// Texts that are not commands, or not well-formed ones.
const char* const malformed[] = {"",
                                 "=",
                                 "==5",
                                 "Source=12abc",
                                 "Destination=-",
                                 "CueRouter= 7",
                                 "x.y.z",
                                 ".................................=1",
                                 "Source=99999999999999999999",
                                 "unknown=1"};

void BM_Baseline_MalformedMix(benchmark::State& state) {
    const long long before = allocationCount();
    for (auto _ : state) {
        for (const char* text : malformed) {
            benchmark::DoNotOptimize(text);
            parseBaseline(text);
        }
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Baseline_MalformedMix);

void BM_Parent_MalformedMix(benchmark::State& state) {
    bench_component c;
    const long long before = allocationCount();
    for (auto _ : state) {
        for (const char* text : malformed) {
            c.command(text);
        }
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Parent_MalformedMix);

} // namespace
