#include "heap.h"

#if defined(VREL_NO_CXX_RUNTIME)
// Without a C++ runtime the component brings its own scalar operator new
// (windows/heap_operators.cpp), which answers null itself.
void* vrel_new_block(size_t size) noexcept {
    return ::operator new(size);
}
#else
void* vrel_new_block(size_t size) noexcept {
    return ::operator new(size, std::nothrow);
}
#endif

void vrel_delete_block(void* block) noexcept {
    ::operator delete(block);
}
