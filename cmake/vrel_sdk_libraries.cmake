# A facility's own string and configuration libraries, in a folder laid out
# as their vendor ships them:
#
#   include/  vrel_string.h, vrel_stringlist.h, vrel_config.h and whatever
#             helper headers they include (their own vrel_export.h, say)
#   lib/      Linux: libvrel_string.so, libvrel_config.so
#             Windows: the import libraries vrel_string.lib, vrel_config.lib,
#             and the DLLs, here or in bin/
#
# vrel_import_sdk_libraries(<folder>) makes them the imported targets
# vrel_string and vrel_config, each carrying the vendor's headers. This
# project's build uses it (cmake/vrel_closed_libraries.cmake), and so does the
# installed kit when it was built against such a folder (vrelConfig.cmake).

# _vrel_import_sdk_library(<folder> <name>): the vendor's library <name> as an
# imported target of that name.
function(_vrel_import_sdk_library folder name)
    if(WIN32)
        set(implib ${folder}/lib/${name}.lib)
        find_file(dll_${name} ${name}.dll PATHS ${folder}/bin ${folder}/lib
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
        set(dll ${dll_${name}})
        unset(dll_${name} CACHE)
        if(NOT EXISTS ${implib})
            message(FATAL_ERROR "VREL_SDK_DIR: ${implib} not found")
        endif()
        if(NOT dll)
            message(FATAL_ERROR "VREL_SDK_DIR: ${name}.dll not found in ${folder}/bin or "
                "${folder}/lib")
        endif()
        add_library(${name} SHARED IMPORTED GLOBAL)
        set_target_properties(${name} PROPERTIES IMPORTED_IMPLIB ${implib}
            IMPORTED_LOCATION ${dll})
    else()
        set(library ${folder}/lib/lib${name}.so)
        if(NOT EXISTS ${library})
            message(FATAL_ERROR "VREL_SDK_DIR: ${library} not found")
        endif()
        add_library(${name} SHARED IMPORTED GLOBAL)
        set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${library})
    endif()
    set_target_properties(${name} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${folder}/include)
endfunction()

function(vrel_import_sdk_libraries folder)
    foreach(header vrel_string.h vrel_stringlist.h vrel_config.h)
        if(NOT EXISTS ${folder}/include/${header})
            message(FATAL_ERROR "VREL_SDK_DIR: ${folder}/include/${header} not found")
        endif()
    endforeach()
    if(WIN32 AND NOT VREL_MICROSOFT_ABI)
        message(FATAL_ERROR "VREL_SDK_DIR: a facility's libraries export their classes in the "
            "Microsoft C++ ABI, which this compiler cannot call; build the components with the "
            "windows-msvc-x86 preset (or, against the kit, its toolchain "
            "i686-pc-windows-msvc.cmake)")
    endif()
    _vrel_import_sdk_library(${folder} vrel_string)
    _vrel_import_sdk_library(${folder} vrel_config)
    set_property(TARGET vrel_config APPEND PROPERTY INTERFACE_LINK_LIBRARIES vrel_string)
endfunction()
