# A host compiled for the Microsoft C++ ABI: clang for i686-pc-windows-msvc,
# linked by lld-link against kernel32 alone (mingw-w64's import library), with
# no C or C++ runtime. The table layout, thiscall and the scalar deleting
# destructor it uses are then the compiler's own, from the project's boundary
# headers. Built beside Tavrin.dll and run under wine.

find_program(VREL_CLANGXX NAMES clang++ clang++-14
    DOC "clang++ that compiles the host for the Microsoft C++ ABI")
find_program(VREL_LLD_LINK NAMES lld-link lld-link-14 DOC "lld-link that links it")
# In the toolchain's root (/usr/i686-w64-mingw32/lib/libkernel32.a).
find_library(VREL_KERNEL32_IMPORT kernel32 DOC "kernel32 import library for i686")
foreach(tool VREL_CLANGXX VREL_LLD_LINK VREL_KERNEL32_IMPORT)
    if(NOT ${tool})
        message(FATAL_ERROR "${tool} not found: the host built for the Microsoft C++ ABI needs "
                            "clang, lld and mingw-w64 (cmake/setup_machine.sh windows)")
    endif()
endforeach()

set(source ${CMAKE_CURRENT_SOURCE_DIR}/host_test_msvc.cpp)
set(object ${CMAKE_CURRENT_BINARY_DIR}/host_test_msvc.obj)
set(program ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/host_test_msvc.exe)
set(flags --target=i686-pc-windows-msvc -std=c++17 -O2
    # Nothing from the C or C++ runtime: no exceptions, no RTTI, no stack
    # cookies, no headers but the compiler's own.
    -ffreestanding -nostdlibinc -fno-exceptions -fno-rtti -fno-stack-protector
    -Wall -Wextra -Wpedantic -Wshadow -Wundef -Wcast-qual -Wnon-virtual-dtor
    -Woverloaded-virtual -Wold-style-cast)
if(VREL_WERROR)
    list(APPEND flags -Werror)
endif()
set(includes
    "-I$<JOIN:$<TARGET_PROPERTY:vrel_host_api,INTERFACE_INCLUDE_DIRECTORIES>,$<SEMICOLON>-I>")

add_custom_command(OUTPUT ${object}
    COMMAND ${VREL_CLANGXX} ${flags} ${includes} -MD -MF ${object}.d -c ${source} -o ${object}
    DEPENDS ${source}
    DEPFILE ${object}.d
    COMMAND_EXPAND_LISTS
    COMMENT "Compiling host_test_msvc.cpp for the Microsoft C++ ABI")
add_custom_command(OUTPUT ${program}
    COMMAND ${VREL_LLD_LINK} /nologo /subsystem:console /entry:vrel_host_entry /nodefaultlib
            # mingw-w64's import library has no safe exception handler tables.
            /safeseh:no /out:${program} ${object} ${VREL_KERNEL32_IMPORT}
    DEPENDS ${object} ${VREL_KERNEL32_IMPORT}
    COMMENT "Linking host_test_msvc.exe with lld-link")
add_custom_target(host_test_msvc ALL DEPENDS ${program})
add_dependencies(host_test_msvc Tavrin)

# Plays the demo's story against Tavrin.dll with the example settings.
add_test(NAME windows_host_msvc COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${program}
    WORKING_DIRECTORY $<TARGET_FILE_DIR:Tavrin>)
set_tests_properties(windows_host_msvc PROPERTIES
    ENVIRONMENT "VREL_CONFIG_DIR=${PROJECT_SOURCE_DIR}/examples/settings"
    FAIL_REGULAR_EXPRESSION "FAILED")
