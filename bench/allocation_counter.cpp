#include "allocation_counter.h"

#include <cstddef>
#include <new>

// glibc's own entry points, which the replacements below forward to.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);
}

namespace {

// One thread runs the benchmarks; a plain counter is enough.
long long allocations = 0;

void* counted(void* pointer) {
    ++allocations;
    return pointer;
}

void* newOrThrow(size_t size) {
    void* pointer = __libc_malloc(size == 0 ? 1 : size);
    if (pointer == nullptr) {
        throw std::bad_alloc();
    }
    return counted(pointer);
}

void* alignedOrThrow(size_t size, std::align_val_t alignment) {
    void* pointer = __libc_memalign(static_cast<size_t>(alignment), size == 0 ? 1 : size);
    if (pointer == nullptr) {
        throw std::bad_alloc();
    }
    return counted(pointer);
}

} // namespace

long long allocationCount() {
    return allocations;
}

void reportAllocations(benchmark::State& state, long long before) {
    state.counters["allocs/op"] = benchmark::Counter(static_cast<double>(allocations - before),
                                                     benchmark::Counter::kAvgIterations);
}

// Exported from the executable so that the shared libraries bind to them.
#define VREL_REPLACED __attribute__((visibility("default")))

extern "C" {
VREL_REPLACED void* malloc(size_t size) {
    return counted(__libc_malloc(size));
}
VREL_REPLACED void* calloc(size_t count, size_t size) {
    return counted(__libc_calloc(count, size));
}
VREL_REPLACED void* realloc(void* pointer, size_t size) {
    return counted(__libc_realloc(pointer, size));
}
VREL_REPLACED void free(void* pointer) {
    __libc_free(pointer);
}
}

VREL_REPLACED void* operator new(size_t size) {
    return newOrThrow(size);
}
VREL_REPLACED void* operator new[](size_t size) {
    return newOrThrow(size);
}
VREL_REPLACED void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return counted(__libc_malloc(size == 0 ? 1 : size));
}
VREL_REPLACED void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return counted(__libc_malloc(size == 0 ? 1 : size));
}
VREL_REPLACED void* operator new(size_t size, std::align_val_t alignment) {
    return alignedOrThrow(size, alignment);
}
VREL_REPLACED void* operator new[](size_t size, std::align_val_t alignment) {
    return alignedOrThrow(size, alignment);
}
VREL_REPLACED void operator delete(void* pointer) noexcept {
    __libc_free(pointer);
}
VREL_REPLACED void operator delete[](void* pointer) noexcept {
    __libc_free(pointer);
}
VREL_REPLACED void operator delete(void* pointer, size_t) noexcept {
    __libc_free(pointer);
}
VREL_REPLACED void operator delete[](void* pointer, size_t) noexcept {
    __libc_free(pointer);
}
VREL_REPLACED void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    __libc_free(pointer);
}
VREL_REPLACED void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    __libc_free(pointer);
}
VREL_REPLACED void operator delete(void* pointer, std::align_val_t) noexcept {
    __libc_free(pointer);
}
VREL_REPLACED void operator delete[](void* pointer, std::align_val_t) noexcept {
    __libc_free(pointer);
}
VREL_REPLACED void operator delete(void* pointer, size_t, std::align_val_t) noexcept {
    __libc_free(pointer);
}
VREL_REPLACED void operator delete[](void* pointer, size_t, std::align_val_t) noexcept {
    __libc_free(pointer);
}
