/* The string functions of Windows' msvcrt.dll that the Microsoft C++ ABI
 * build uses, for a build without the C library's headers. */
#ifndef VREL_MSVCRT_STRING_H
#define VREL_MSVCRT_STRING_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

void* __cdecl memchr(const void* block, int byte, size_t size);
int __cdecl memcmp(const void* a, const void* b, size_t size);
void* __cdecl memcpy(void* to, const void* from, size_t size);
void* __cdecl memmove(void* to, const void* from, size_t size);
void* __cdecl memset(void* block, int byte, size_t size);
int __cdecl strcmp(const char* a, const char* b);
size_t __cdecl strlen(const char* text);
int __cdecl strncmp(const char* a, const char* b, size_t size);

#ifdef __cplusplus
}
#endif

#endif
