/* The heap functions of Windows' msvcrt.dll, for a build without the C
 * library's headers. */
#ifndef VREL_MSVCRT_STDLIB_H
#define VREL_MSVCRT_STDLIB_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

void* __cdecl malloc(size_t size);
void* __cdecl realloc(void* block, size_t size);
void __cdecl free(void* block);

#ifdef __cplusplus
}
#endif

#endif
