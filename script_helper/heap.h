// The frame's heap blocks: the scalar operator new and delete, asked never to
// throw. Everything the frame and a component allocate goes through here,
// texts handed to the host among them, so that nothing escapes into the host
// and no block crosses between the host's C runtime and the component's.
#ifndef VREL_HEAP_H
#define VREL_HEAP_H

#include <stddef.h>

#if defined(VREL_NO_CXX_RUNTIME)
// Built without a C++ library or runtime (the Microsoft C++ ABI builds):
// placement new is the frame's own.
inline void* operator new(size_t, void* place) noexcept {
    return place;
}
#else
#include <new>
#endif

// A block of `size` bytes from the scalar operator new, or null when there is
// no memory.
void* vrel_new_block(size_t size) noexcept;

// Frees a block of vrel_new_block with the scalar operator delete; null is
// ignored.
void vrel_delete_block(void* block) noexcept;

#endif
