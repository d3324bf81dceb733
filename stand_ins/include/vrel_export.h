// Export and import markers for the classes of the string library and the
// configuration reader. Everything else in each library stays hidden.
#ifndef VREL_EXPORT_H
#define VREL_EXPORT_H

// Each library defines its BUILDING_ macro while it is compiled. Linked into
// one program as static libraries (VREL_STAND_INS_STATIC), their classes are
// neither exported nor imported.
#if defined(VREL_STAND_INS_STATIC)
#define VREL_STRING_API
#define VREL_CONFIG_API
#elif defined(_WIN32)
#if defined(VREL_STRING_BUILDING)
#define VREL_STRING_API __declspec(dllexport)
#else
#define VREL_STRING_API __declspec(dllimport)
#endif
#if defined(VREL_CONFIG_BUILDING)
#define VREL_CONFIG_API __declspec(dllexport)
#else
#define VREL_CONFIG_API __declspec(dllimport)
#endif
#else
#define VREL_STRING_API __attribute__((visibility("default")))
#define VREL_CONFIG_API __attribute__((visibility("default")))
#endif

#endif
