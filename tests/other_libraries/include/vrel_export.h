// Export markers of the other libraries, under names a component's own
// headers once used for theirs and must no longer define: a build in which
// one of them is defined again, differently, fails.
#ifndef VREL_EXPORT_H
#define VREL_EXPORT_H

#define VREL_EXPORT_SYMBOL __attribute__((visibility("default")))
#define VREL_IMPORT_SYMBOL __attribute__((__visibility__("default")))
#define VREL_STRING_API VREL_EXPORT_SYMBOL
#define VREL_CONFIG_API VREL_EXPORT_SYMBOL

#endif
