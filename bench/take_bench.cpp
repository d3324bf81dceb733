// The operator's button and a whole cue take: select a source and a
// destination, switch cue on, take.
#include "allocation_counter.h"
#include "baselines.h"
#include "bench_component.h"

namespace {

void BM_Baseline_PressTexts(benchmark::State& state) {
    const long long before = allocationCount();
    for (auto _ : state) {
        textBaseline("TP '%s=%s' '%s' '%s'", "text", "Full Facs", "1", "ActivateCue");
        textBaseline("TP '%s=%s' '%s' '%s'", "text", "Click to remove cue", "1", "CueText");
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Baseline_PressTexts);

// Each press toggles cue mode: on, off, on...
void BM_ActivateCuePress(benchmark::State& state) {
    bench_component c;
    const long long before = allocationCount();
    for (auto _ : state) {
        c.press();
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_ActivateCuePress);

// The parses and every text of a take that gives cue: timer, clear route,
// cue route, green status, the button put back.
void BM_Baseline_CueTakeTexts(benchmark::State& state) {
    const long long before = allocationCount();
    for (auto _ : state) {
        parseBaseline("Source=3");
        parseBaseline("Destination=4");
        textBaseline("TP '%s=%s' '%s' '%s'", "text", "Full Facs", "1", "ActivateCue");
        textBaseline("TP '%s=%s' '%s' '%s'", "text", "Click to remove cue", "1", "CueText");
        parseBaseline("Take=1");
        textBaseline("ET %d %d", 1, 5000);
        textBaseline("RC %d %d %d ',%s' %d", 7, 20, -1, "", 1);
        textBaseline("RC %d %d %d ',%s' %d", 7, 2, 3, "", 1);
        textBaseline("IW %d '%s' %d %d", 9, "green", 2, 1);
        textBaseline("TP '%s=%s' '%s' '%s'", "text", "Listen Only", "1", "ActivateCue");
        textBaseline("TP '%s=%s' '%s' '%s'", "text", "Click to add cue", "1", "CueText");
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_Baseline_CueTakeTexts);

void BM_WholeCueTake(benchmark::State& state) {
    bench_component c;
    const long long before = allocationCount();
    for (auto _ : state) {
        c.command("Source=3");
        c.command("Destination=4");
        c.press();
        c.command("Take=1");
    }
    reportAllocations(state, before);
}
BENCHMARK(BM_WholeCueTake);

} // namespace
