# Build for 32-bit Windows in the Microsoft C++ ABI, as the facility's host and
# libraries are built: clang for i686-pc-windows-msvc, linked by lld-link.
#
# There are no Microsoft C or C++ headers or libraries here, so nothing is
# built with a C++ library, and the C functions come from Windows' own
# msvcrt.dll: declared in msvcrt/include, imported through mingw-w64's import
# library, as kernel32's are. The compiler's own headers (stddef.h, stdint.h,
# limits.h) are used. Resources are compiled by mingw-w64's windres. Test
# programs run under wine (cmake/run_under_wine.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(VREL_MSVC_TARGET i686-pc-windows-msvc)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${VREL_MSVC_TARGET})
set(CMAKE_CXX_COMPILER_TARGET ${VREL_MSVC_TARGET})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_OBJDUMP i686-w64-mingw32-objdump)
# windres writes a .res file that lld-link merges with the manifest it embeds.
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/msvcrt/resource_rules.cmake)

# The compiler checks only compile: there is no C runtime to link a program.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# No exceptions, RTTI, thread-safe statics or stack cookies: each would need a
# runtime. Objects with constructors or destructors at namespace scope are
# errors, as no C runtime start-up code runs them.
set(VREL_MSVC_FLAGS "-nostdlibinc -isystem ${CMAKE_CURRENT_LIST_DIR}/msvcrt/include \
-fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-stack-protector \
-Werror=global-constructors -Werror=exit-time-destructors -Wno-unused-command-line-argument")
set(CMAKE_C_FLAGS_INIT "${VREL_MSVC_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${VREL_MSVC_FLAGS}")

# Windows' own DLLs and nothing else, through mingw-w64's import libraries;
# mingw-w64's have no safe exception handler tables.
set(VREL_MINGW_LIBRARIES /usr/i686-w64-mingw32/lib)
set(CMAKE_C_STANDARD_LIBRARIES
    "${VREL_MINGW_LIBRARIES}/libmsvcrt.a ${VREL_MINGW_LIBRARIES}/libkernel32.a"
    CACHE STRING "The libraries every DLL and program links")
set(CMAKE_CXX_STANDARD_LIBRARIES "${CMAKE_C_STANDARD_LIBRARIES}"
    CACHE STRING "The libraries every DLL and program links")
set(VREL_MSVC_LINK_FLAGS "-Xlinker /nodefaultlib -Xlinker /safeseh:no")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${VREL_MSVC_LINK_FLAGS}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${VREL_MSVC_LINK_FLAGS}")

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../run_under_wine.sh)
