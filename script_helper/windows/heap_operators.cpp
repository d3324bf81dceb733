// The component's own scalar operator new and delete, for the build without a
// C++ runtime (the Microsoft C++ ABI build): msvcrt.dll's malloc and free.
// The host destroys the component through its scalar deleting destructor,
// which calls this delete; the texts the component hands to the host are
// allocated and freed through vrel_new_block, which calls these. This new
// answers null when there is no memory: the frame only ever calls it as a
// function (vrel_new_block) and checks what it gets.
#include <stddef.h>
#include <stdlib.h>

void* operator new(size_t size) {
    return malloc(size != 0 ? size : 1);
}

void* operator new[](size_t size) {
    return malloc(size != 0 ? size : 1);
}

void operator delete(void* block) noexcept {
    free(block);
}

void operator delete(void* block, size_t) noexcept {
    free(block);
}

void operator delete[](void* block) noexcept {
    free(block);
}

void operator delete[](void* block, size_t) noexcept {
    free(block);
}
