#include "memory_usage.h"

#include <cstddef>
#include <cstdio>
#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

// Present only when the validator runs under a sanitizer.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace {

void sampleHeap(memory_sample& sample) {
    if (__sanitizer_get_current_allocated_bytes != nullptr) {
        sample.heapBytes = static_cast<long long>(__sanitizer_get_current_allocated_bytes());
        sample.heapSource = "sanitizer allocator";
        sample.underMemoryTool = true;
    } else {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
        const struct mallinfo2 info = mallinfo2();
        sample.heapBytes = static_cast<long long>(info.uordblks + info.hblkhd);
        sample.heapSource = "mallinfo2";
        if (sample.heapBytes == 0) {
            // A running program has heap in use: glibc's allocator is not the
            // one in use (valgrind replaces it), so its counts say nothing.
            sample.heapBytes = -1;
            sample.heapSource = "unknown: the allocator is replaced (valgrind?)";
            sample.underMemoryTool = true;
        }
#endif
    }
}

} // namespace

long long heapInUse() {
    memory_sample sample;
    sampleHeap(sample);
    return sample.heapBytes;
}

memory_sample sampleMemory() {
    memory_sample sample;
    sampleHeap(sample);
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        long long pages = 0;
        long long resident = 0;
        if (std::fscanf(statm, "%lld %lld", &pages, &resident) == 2) {
            sample.residentBytes = resident * static_cast<long long>(::sysconf(_SC_PAGESIZE));
        }
        std::fclose(statm);
    }
    return sample;
}
