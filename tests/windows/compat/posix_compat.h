// POSIX calls the suites use that the Windows C runtime names differently,
// included ahead of every suite source in the Windows build.
#ifndef VREL_TESTS_WINDOWS_POSIX_COMPAT_H
#define VREL_TESTS_WINDOWS_POSIX_COMPAT_H

#include <direct.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
// The environment of the C runtime that every part of a test program shares.
inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && getenv(name) != nullptr) {
        return 0;
    }
    return _putenv_s(name, value) == 0 ? 0 : -1;
}

// On Windows an empty value removes the variable.
inline int unsetenv(const char* name) {
    return _putenv_s(name, "") == 0 ? 0 : -1;
}

// Replaces the trailing XXXXXX of `pattern` and makes that folder.
inline char* mkdtemp(char* pattern) {
    if (_mktemp_s(pattern, strlen(pattern) + 1) != 0 || _mkdir(pattern) != 0) {
        return nullptr;
    }
    return pattern;
}
#endif

#endif
