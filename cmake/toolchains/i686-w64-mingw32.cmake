# Cross-build for 32-bit Windows with Debian's mingw-w64 (g++-mingw-w64-i686).
# The posix thread model is used because the win32 one of this compiler has no
# std::mutex. Test programs run under wine (see cmake/run_under_wine.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(VREL_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VREL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VREL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VREL_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${VREL_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${VREL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime (libgcc, libstdc++, winpthread) is linked into
# every DLL and program, so that a facility needs no mingw DLL beside them.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../run_under_wine.sh)

# pugixml and GoogleTest are compiled from source for this target.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/../windows)
