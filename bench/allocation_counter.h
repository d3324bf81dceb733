// Counts every heap allocation in the process. The benchmark executable
// replaces the global operator new (every form) and the malloc family, so
// that allocations made inside the component and the string library count
// too; each replacement counts one and hands the request to glibc.
#ifndef VREL_BENCH_ALLOCATION_COUNTER_H
#define VREL_BENCH_ALLOCATION_COUNTER_H

#include <benchmark/benchmark.h>

// Allocations since the process started.
long long allocationCount();

// Sets the "allocs/op" counter of `state` from the allocations made since
// `before` (an allocationCount() taken just before the timed loop).
void reportAllocations(benchmark::State& state, long long before);

#endif
