// Load/create/drive/destroy/unload cycles. Memory is sampled after the
// reference cycle (the 100th, or the tenth of the cycles when there are fewer
// than 1,000) and after the last: the heap bytes in use may not grow by more
// than a few pages, and the resident set by more than a little, since a
// component or a library that keeps anything per load grows with every cycle.
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
#include "memory_usage.h"
#include "test_context.h"

#include <algorithm>

namespace {

// A leak of 8 bytes per cycle over 900 cycles exceeds this.
constexpr long long heapTolerance = 4096;
// Page-granular and shared with the allocator's own caches: looser.
constexpr long long residentTolerance = 1 << 20;
// What a sanitizer's runtime keeps per load and unload.
constexpr long long sanitizerHeapPerCycle = 256;

std::string kibibytes(long long bytes) {
    const char* sign = bytes < 0 ? "-" : "";
    const long long magnitude = bytes < 0 ? -bytes : bytes;
    return sign + std::to_string(magnitude / 1024) + "." +
           std::to_string((magnitude % 1024) * 10 / 1024) + " KiB";
}

} // namespace

void runLifecycleTest(const test_context& context, report& out) {
    const long long cycles = cycleCount(context.options);
    const long long reference = std::min<long long>(100, std::max<long long>(1, cycles / 10));
    checking_host host(out);
    component_profile profile;
    memory_sample atReference;
    bool stayedLoaded = false;

    for (long long cycle = 1; cycle <= cycles; ++cycle) {
        if (cycle == 1 || cycle % 100 == 0) {
            out.step("cycle " + std::to_string(cycle) + " of " + std::to_string(cycles));
        }
        component_library library;
        std::string error;
        if (!out.check(library.load(context.options.library, error),
                       "cycle " + std::to_string(cycle) + ": " + error)) {
            return;
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
                    component_driver second(library.factory(), &secondHost, out,
                                            context.componentPath);
                    if (second.create()) {
                        driver.destroy();
                        driveBriefly(second, profile);
                    }
                }
            }
        }
        if (!out.check(library.unload(&error), error)) {
            return;
        }
        if (!stayedLoaded && component_library::isMapped(context.options.library)) {
            stayedLoaded = true;
            out.fail("the library stays loaded after dlclose (marked NODELETE, or it holds a "
                     "unique symbol), so a host cannot unload or replace it");
        }
        if (cycle == reference) {
            atReference = sampleMemory();
        }
    }

    const memory_sample atEnd = sampleMemory();
    if (atEnd.heapBytes >= 0) {
        out.note(1, std::to_string(cycles) + " cycles; heap in use (" + atEnd.heapSource +
                        ") after cycle " + std::to_string(reference) + ": " +
                        kibibytes(atReference.heapBytes) +
                        ", after the last: " + kibibytes(atEnd.heapBytes));
    } else {
        out.note(1, std::to_string(cycles) + " cycles; heap in use " + atEnd.heapSource);
    }
    out.note(1, "resident set after cycle " + std::to_string(reference) + ": " +
                    kibibytes(atReference.residentBytes) +
                    ", after the last: " + kibibytes(atEnd.residentBytes) +
                    (atEnd.underMemoryTool ? " (a memory tool's own; not checked)" : ""));
    const long long allowance =
        heapTolerance + (atEnd.underMemoryTool ? sanitizerHeapPerCycle * (cycles - reference) : 0);
    if (atReference.heapBytes >= 0 && atEnd.heapBytes >= 0) {
        out.check(atEnd.heapBytes <= atReference.heapBytes + allowance,
                  "the heap in use grew by " + kibibytes(atEnd.heapBytes - atReference.heapBytes) +
                      " between cycle " + std::to_string(reference) + " and cycle " +
                      std::to_string(cycles) + " (tolerance " + kibibytes(allowance) +
                      "): something is kept per load or per component");
    }
    if (atReference.residentBytes >= 0 && atEnd.residentBytes >= 0 && !atEnd.underMemoryTool) {
        out.check(atEnd.residentBytes <= atReference.residentBytes + residentTolerance,
                  "the resident set grew by " +
                      kibibytes(atEnd.residentBytes - atReference.residentBytes) +
                      " between cycle " + std::to_string(reference) + " and cycle " +
                      std::to_string(cycles) + " (tolerance " + kibibytes(residentTolerance) + ")");
    }
}
