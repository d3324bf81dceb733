// The same work done the plain way, measured beside each case in the same
// run, so that results read as ratios that hold on a noisy machine.
#ifndef VREL_BENCH_BASELINES_H
#define VREL_BENCH_BASELINES_H

#include <charconv>
#include <cstdio>
#include <cstring>

#include <benchmark/benchmark.h>

// A parent command's parse: find "=" and read the number after it.
inline void parseBaseline(const char* text) {
    int value = 0;
    if (const char* equals = std::strchr(text, '=')) {
        const char* digits = equals + 1;
        std::from_chars(digits, digits + std::strlen(digits), value);
    }
    benchmark::DoNotOptimize(value);
}

// A command text: formatted into a stack buffer and handed on.
template <typename... Args> inline void textBaseline(const char* format, Args... args) {
    char text[128];
    std::snprintf(text, sizeof text, format, args...);
    benchmark::DoNotOptimize(text);
    benchmark::ClobberMemory();
}

#endif
