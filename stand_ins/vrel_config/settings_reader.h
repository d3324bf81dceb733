// The settings reader behind vrel_config, as plain C functions: the walk over
// the entries of one section of a settings file (the file's form and where it
// is found: vrel_config.h). A C interface so that the class in front of it can
// be built by another compiler than the reader, as it is for the Microsoft
// C++ ABI, where the reader (which uses the C++ library and pugixml) is a
// mingw-w64 DLL of its own.
//
// Every function may be called from any thread on walks of its own; nothing
// here throws, and a failure reads as a section without entries.
#ifndef VREL_SETTINGS_READER_H
#define VREL_SETTINGS_READER_H

#if defined(VREL_SETTINGS_READER_DLL) && defined(_WIN32)
#if defined(VREL_SETTINGS_READER_BUILDING)
#define VREL_SETTINGS_READER_API __declspec(dllexport)
#else
#define VREL_SETTINGS_READER_API __declspec(dllimport)
#endif
#else
#define VREL_SETTINGS_READER_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vrel_settings_walk vrel_settings_walk;

// A walk over the section named by `address` ("object_settings.ZELK_ROUTER"),
// standing on its first entry; on no entry at all for a missing file or
// section, an address without a dot, or a null address. Null only when there
// is no memory for the walk. Freed with vrel_settings_close.
VREL_SETTINGS_READER_API vrel_settings_walk* vrel_settings_open(const char* address);

// Non-zero while the walk stands on an entry.
VREL_SETTINGS_READER_API int vrel_settings_on_entry(const vrel_settings_walk* walk);

// The named attribute of the current entry: "" when the entry lacks it, the
// walk stands on no entry or `name` is null. Valid until the walk moves or is
// closed.
VREL_SETTINGS_READER_API const char* vrel_settings_attribute(const vrel_settings_walk* walk,
                                                             const char* name);

// Moves to the next entry in document order; non-zero when there is one.
VREL_SETTINGS_READER_API int vrel_settings_next(vrel_settings_walk* walk);

// Frees the walk; null is ignored.
VREL_SETTINGS_READER_API void vrel_settings_close(vrel_settings_walk* walk);

#ifdef __cplusplus
}
#endif

#endif
