// A library that loads but has no component factory: the development host
// must name the library and the missing entry.
#if defined(_WIN32)
#define NO_FACTORY_EXPORT __declspec(dllexport)
#else
#define NO_FACTORY_EXPORT __attribute__((visibility("default")))
#endif

extern "C" NO_FACTORY_EXPORT int vrel_not_a_factory() {
    return 0;
}
