#include "heap.h"

#if __has_include(<new>)
void* vrel_new_block(size_t size) noexcept {
    return ::operator new(size, std::nothrow);
}
#else
// Without a C++ library the component brings its own scalar operator new
// (windows/heap_operators.cpp), which answers null itself.
void* vrel_new_block(size_t size) noexcept {
    return ::operator new(size);
}
#endif

void vrel_delete_block(void* block) noexcept {
    ::operator delete(block);
}
