// What a stand-in DLL built for the Microsoft C++ ABI needs besides its own
// code, having no C runtime start-up code and no C++ runtime: an entry point
// with nothing to do, and the scalar delete that the deleting destructors of
// its exported classes call (msvcrt.dll's free; the libraries allocate with
// malloc themselves).
#include <stddef.h>
#include <stdlib.h>

extern "C" int __stdcall DllMain(void*, unsigned long, void*) {
    return 1;
}

void operator delete(void* block) noexcept {
    free(block);
}

void operator delete(void* block, size_t) noexcept {
    free(block);
}
