# pugixml for the Windows cross-build. Debian ships the library only for
# Linux, so its source package is fetched (`apt-get source pugixml`, done by
# `./run.sh windows`) into VREL_PUGIXML_SOURCE_DIR, outside the tracked tree,
# and compiled here by the cross compiler as a static library.
if(TARGET pugixml::pugixml)
    set(pugixml_FOUND TRUE)
    return()
endif()

set(VREL_PUGIXML_SOURCE_DIR "${PROJECT_SOURCE_DIR}/build/deps"
    CACHE PATH "Folder holding the unpacked pugixml source package (pugixml-<version>/)")

file(GLOB _vrel_pugixml_sources "${VREL_PUGIXML_SOURCE_DIR}/pugixml-*/src/pugixml.cpp")
list(SORT _vrel_pugixml_sources)
list(LENGTH _vrel_pugixml_sources _vrel_pugixml_count)
if(_vrel_pugixml_count EQUAL 0)
    set(pugixml_FOUND FALSE)
    if(pugixml_FIND_REQUIRED)
        message(FATAL_ERROR
            "pugixml source not found under ${VREL_PUGIXML_SOURCE_DIR}. "
            "Fetch it with: (cd ${VREL_PUGIXML_SOURCE_DIR} && apt-get source pugixml), "
            "or run ./run.sh windows, which does that.")
    endif()
    return()
endif()
# The newest version when several were fetched.
list(GET _vrel_pugixml_sources -1 _vrel_pugixml_source)
get_filename_component(_vrel_pugixml_include "${_vrel_pugixml_source}" DIRECTORY)

add_library(vrel_pugixml STATIC "${_vrel_pugixml_source}")
# Third-party code: its headers count as system headers, so our warnings do not
# apply to them.
target_include_directories(vrel_pugixml SYSTEM PUBLIC "$<BUILD_INTERFACE:${_vrel_pugixml_include}>")
set_target_properties(vrel_pugixml PROPERTIES CXX_VISIBILITY_PRESET hidden)
add_library(pugixml::pugixml ALIAS vrel_pugixml)
set(pugixml_FOUND TRUE)
message(STATUS "pugixml: compiled from ${_vrel_pugixml_source}")
