// How much memory the process uses: the heap bytes in use (the allocator's
// own count: AddressSanitizer's when it runs, glibc's mallinfo2 otherwise) and
// the resident set size from /proc/self/statm.
#ifndef VREL_VALIDATOR_MEMORY_USAGE_H
#define VREL_VALIDATOR_MEMORY_USAGE_H

struct memory_sample {
    long long heapBytes = -1;     // -1: unknown
    long long residentBytes = -1; // -1: unknown
    const char* heapSource = "none";
    // A sanitizer or valgrind owns the allocator and keeps memory of its own
    // per loaded library (see the lifecycle test).
    bool underMemoryTool = false;
};

memory_sample sampleMemory();
// Only the heap bytes in use (-1: unknown), cheap enough for every cycle.
long long heapInUse();

#endif
