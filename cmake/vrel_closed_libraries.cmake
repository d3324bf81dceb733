# The closed string and configuration libraries every component links:
# targets vrel_string and vrel_config, each carrying its headers.
#
# VREL_SDK_DIR names a facility's own, in a folder laid out as their vendor
# ships them:
#
#   include/  vrel_string.h, vrel_stringlist.h, vrel_config.h and whatever
#             helper headers they include (their own vrel_export.h, say)
#   lib/      Linux: libvrel_string.so, libvrel_config.so
#             Windows: the import libraries vrel_string.lib, vrel_config.lib,
#             and the DLLs, here or in bin/
#
# Set, they replace our stand-ins for every component; their headers are the
# only declarations of the two libraries in the build. Unset, the stand-ins
# (stand_ins/) are built and used.

set(VREL_SDK_DIR "" CACHE PATH
    "A facility's string and configuration libraries (include/, lib/, bin/); empty: our stand-ins")

# The folders of our own headers, which must not hold a header of the
# libraries' (one would shadow the vendor's).
set(VREL_OWN_HEADER_FOLDERS ${CMAKE_CURRENT_LIST_DIR}/../host_api
    ${CMAKE_CURRENT_LIST_DIR}/../script_helper)

# vrel_import_closed_library(<name>): the vendor's library <name> as an
# imported target of that name.
function(vrel_import_closed_library name)
    set(include ${VREL_SDK_DIR}/include)
    if(WIN32)
        set(implib ${VREL_SDK_DIR}/lib/${name}.lib)
        find_file(dll_${name} ${name}.dll PATHS ${VREL_SDK_DIR}/bin ${VREL_SDK_DIR}/lib
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
        set(dll ${dll_${name}})
        unset(dll_${name} CACHE)
        foreach(file IN ITEMS ${implib} ${dll})
            if(NOT EXISTS ${file})
                message(FATAL_ERROR "VREL_SDK_DIR: ${file} not found")
            endif()
        endforeach()
        if(NOT dll)
            message(FATAL_ERROR "VREL_SDK_DIR: ${name}.dll not found in bin/ or lib/")
        endif()
        add_library(${name} SHARED IMPORTED GLOBAL)
        set_target_properties(${name} PROPERTIES IMPORTED_IMPLIB ${implib}
            IMPORTED_LOCATION ${dll})
    else()
        set(library ${VREL_SDK_DIR}/lib/lib${name}.so)
        if(NOT EXISTS ${library})
            message(FATAL_ERROR "VREL_SDK_DIR: ${library} not found")
        endif()
        add_library(${name} SHARED IMPORTED GLOBAL)
        set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${library})
    endif()
    set_target_properties(${name} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${include})
endfunction()

if(VREL_SDK_DIR)
    get_filename_component(VREL_SDK_DIR "${VREL_SDK_DIR}" ABSOLUTE)
    foreach(header vrel_string.h vrel_stringlist.h vrel_config.h)
        if(NOT EXISTS ${VREL_SDK_DIR}/include/${header})
            message(FATAL_ERROR "VREL_SDK_DIR: ${VREL_SDK_DIR}/include/${header} not found")
        endif()
    endforeach()
    if(WIN32 AND NOT VREL_MICROSOFT_ABI)
        message(FATAL_ERROR "VREL_SDK_DIR: a facility's libraries export their classes in the "
            "Microsoft C++ ABI, which this compiler cannot call; build the components with the "
            "windows-msvc-x86 preset")
    endif()
    file(GLOB vendor_headers RELATIVE ${VREL_SDK_DIR}/include ${VREL_SDK_DIR}/include/*.h)
    foreach(header IN LISTS vendor_headers)
        foreach(folder IN LISTS VREL_OWN_HEADER_FOLDERS)
            if(EXISTS ${folder}/${header})
                message(FATAL_ERROR "${folder}/${header} would shadow the vendor's ${header}")
            endif()
        endforeach()
    endforeach()
    vrel_import_closed_library(vrel_string)
    vrel_import_closed_library(vrel_config)
    set_property(TARGET vrel_config APPEND PROPERTY INTERFACE_LINK_LIBRARIES vrel_string)
    message(STATUS "String and configuration libraries: ${VREL_SDK_DIR}")
elseif(MSVC)
    message(FATAL_ERROR "With Microsoft's compiler the components are built against the "
        "facility's own libraries: set VREL_SDK_DIR (docs/windows.md)")
else()
    add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../stand_ins ${CMAKE_BINARY_DIR}/stand_ins)
endif()
