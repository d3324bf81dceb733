# The closed string and configuration libraries every component links:
# targets vrel_string and vrel_config, each carrying its headers.
#
# VREL_SDK_DIR names a facility's own, in a folder laid out as their vendor
# ships them (cmake/vrel_sdk_libraries.cmake).
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

include(${CMAKE_CURRENT_LIST_DIR}/vrel_sdk_libraries.cmake)

if(VREL_SDK_DIR)
    get_filename_component(VREL_SDK_DIR "${VREL_SDK_DIR}" ABSOLUTE)
    file(GLOB vendor_headers RELATIVE ${VREL_SDK_DIR}/include ${VREL_SDK_DIR}/include/*.h)
    foreach(header IN LISTS vendor_headers)
        foreach(folder IN LISTS VREL_OWN_HEADER_FOLDERS)
            if(EXISTS ${folder}/${header})
                message(FATAL_ERROR "${folder}/${header} would shadow the vendor's ${header}")
            endif()
        endforeach()
    endforeach()
    vrel_import_sdk_libraries(${VREL_SDK_DIR})
    message(STATUS "String and configuration libraries: ${VREL_SDK_DIR}")
elseif(MSVC)
    message(FATAL_ERROR "With Microsoft's compiler the components are built against the "
        "facility's own libraries: set VREL_SDK_DIR (docs/windows.md)")
else()
    add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../stand_ins ${CMAKE_BINARY_DIR}/stand_ins)
endif()
