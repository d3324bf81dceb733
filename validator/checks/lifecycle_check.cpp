// Load/create/drive/destroy/unload cycles. The heap in use is sampled after
// every cycle and judged by its trend (heap_trend.h); the resident set may
// not grow by more than a little between the end of the warm-up and the last
// cycle.
//
// Under AddressSanitizer the runtime itself keeps memory per dlopen: about
// 150 heap bytes per cycle (exit-handler records that are never given back)
// and the shadow of every new mapping address (megabytes of resident set).
// There the heap may grow by 256 bytes per cycle and the resident set is only
// reported; LeakSanitizer, at the end of the test process, catches a
// component's own leaks exactly. Under valgrind glibc's counts stay at zero
// and the tool's own memory fills the resident set: both are only reported,
// and valgrind's leak check does the rest.
#include "component_library.h"
#include "component_profile.h"
#include "drive_script.h"
#include "heap_trend.h"
#include "memory_usage.h"
#include "test_context.h"

#include <cstdio>

namespace {

// Page-granular and shared with the allocator's own caches: a tolerance.
constexpr long long residentTolerance = 1 << 20;
// What a sanitizer's runtime keeps per load and unload.
constexpr double sanitizerHeapPerCycle = 256;

std::string kibibytes(long long bytes) {
    const char* sign = bytes < 0 ? "-" : "";
    const long long magnitude = bytes < 0 ? -bytes : bytes;
    return sign + std::to_string(magnitude / 1024) + "." +
           std::to_string((magnitude % 1024) * 10 / 1024) + " KiB";
}

std::string perCycle(double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f bytes", bytes);
    return text;
}

// One load/create/drive/destroy/unload cycle; false when the library could
// not be loaded or unloaded (already reported).
bool runCycle(const test_context& context, long long cycle, checking_host& host,
              component_profile& profile, report& out) {
    component_library library;
    std::string error;
    if (!out.check(library.load(context.options.library, error),
                   "cycle " + std::to_string(cycle) + ": " + error)) {
        return false;
    }
    if (cycle == 1) {
        profile = learn_profile(library.factory(), context.componentPath, out);
    }
    {
        component_driver driver(library.factory(), &host, out, context.componentPath);
        if (driver.create()) {
            driveBriefly(driver, profile);
            if (context.options.level >= 9) {
                // Two at once, the second outliving the first.
                checking_host secondHost(out);
                component_driver second(library.factory(), &secondHost, out, context.componentPath);
                if (second.create()) {
                    driver.destroy();
                    driveBriefly(second, profile);
                }
            }
        }
    }
    return out.check(library.unload(&error), error);
}

void judgeHeap(const heap_trend& trend, const memory_sample& atEnd, long long cycles, report& out) {
    if (atEnd.heapBytes < 0) {
        out.note(1, std::to_string(cycles) + " cycles; heap in use " + atEnd.heapSource);
        return;
    }
    if (!trend.judged()) {
        out.note(1, std::to_string(cycles) + " cycles are too few to judge the heap in use: it " +
                        "is judged over " + std::to_string(heap_trend::fewestCycles) + " or more");
        return;
    }
    const auto& floors = trend.floors();
    const std::string span =
        "cycles " + std::to_string(trend.warmUp() + 1) + " to " + std::to_string(cycles);
    out.note(1, std::to_string(cycles) + " cycles; heap in use (" + atEnd.heapSource + ") over " +
                    span + ": " + kibibytes(floors.front()) + " to " + kibibytes(floors.back()) +
                    ", " + perCycle(trend.bytesPerCycle()) + " per cycle");
    std::string all;
    for (long long floor : floors) {
        all += (all.empty() ? "" : ", ") + kibibytes(floor);
    }
    out.note(2, "lowest heap in use in each eighth of " + span + ": " + all);
    const double allowed = atEnd.underMemoryTool ? sanitizerHeapPerCycle : 0;
    out.check(!trend.grows(allowed),
              "the heap in use grew in each eighth of " + span + ", from " +
                  kibibytes(floors.front()) + " to " + kibibytes(floors.back()) + ", about " +
                  perCycle(trend.bytesPerCycle()) + " per cycle" +
                  (allowed > 0 ? " (a memory tool's own allowed: " + perCycle(allowed) + ")"
                               : std::string()) +
                  ": something is kept per load or per component");
}

} // namespace

void runLifecycleTest(const test_context& context, report& out) {
    const long long cycles = lifecycleCycles(context.options);
    checking_host host(out);
    component_profile profile;
    heap_trend trend(cycles);
    memory_sample afterWarmUp;
    bool stayedLoaded = false;

    for (long long cycle = 1; cycle <= cycles; ++cycle) {
        if (cycle == 1 || cycle % 100 == 0) {
            out.step("cycle " + std::to_string(cycle) + " of " + std::to_string(cycles));
        }
        if (!runCycle(context, cycle, host, profile, out)) {
            return;
        }
        if (!stayedLoaded && component_library::isMapped(context.options.library)) {
            stayedLoaded = true;
            out.fail("the library stays loaded after dlclose (marked NODELETE, or it holds a "
                     "unique symbol), so a host cannot unload or replace it");
        }
        if (cycle == trend.warmUp()) {
            afterWarmUp = sampleMemory();
        } else if (cycle > trend.warmUp()) {
            trend.add(cycle, heapInUse());
        }
    }

    const memory_sample atEnd = sampleMemory();
    judgeHeap(trend, atEnd, cycles, out);
    if (afterWarmUp.residentBytes < 0 || atEnd.residentBytes < 0) {
        return;
    }
    out.note(1, "resident set after cycle " + std::to_string(trend.warmUp()) + ": " +
                    kibibytes(afterWarmUp.residentBytes) +
                    ", after the last: " + kibibytes(atEnd.residentBytes) +
                    (atEnd.underMemoryTool ? " (a memory tool's own; not checked)" : ""));
    if (!atEnd.underMemoryTool) {
        out.check(atEnd.residentBytes <= afterWarmUp.residentBytes + residentTolerance,
                  "the resident set grew by " +
                      kibibytes(atEnd.residentBytes - afterWarmUp.residentBytes) +
                      " between cycle " + std::to_string(trend.warmUp()) + " and cycle " +
                      std::to_string(cycles) + " (tolerance " + kibibytes(residentTolerance) + ")");
    }
}
