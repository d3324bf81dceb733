// Export and import markers for the closed libraries' classes and the
// component's factory. Everything else in a library stays hidden.
#ifndef VREL_EXPORT_H
#define VREL_EXPORT_H

#if defined(_WIN32)
#define VREL_EXPORT_SYMBOL __declspec(dllexport)
#define VREL_IMPORT_SYMBOL __declspec(dllimport)
#else
#define VREL_EXPORT_SYMBOL __attribute__((visibility("default")))
#define VREL_IMPORT_SYMBOL __attribute__((visibility("default")))
#endif

// The string library is vrel_string; the configuration reader is vrel_config.
// Each library defines its BUILDING_ macro while it is compiled. When they are
// linked into the component as static libraries (the Windows build defines
// VREL_STAND_INS_STATIC), their classes are neither exported nor imported.
#if defined(VREL_STAND_INS_STATIC)
#define VREL_STRING_API
#define VREL_CONFIG_API
#else
#if defined(VREL_STRING_BUILDING)
#define VREL_STRING_API VREL_EXPORT_SYMBOL
#else
#define VREL_STRING_API VREL_IMPORT_SYMBOL
#endif
#if defined(VREL_CONFIG_BUILDING)
#define VREL_CONFIG_API VREL_EXPORT_SYMBOL
#else
#define VREL_CONFIG_API VREL_IMPORT_SYMBOL
#endif
#endif

#endif
