# The kit of a build against a facility's own string and configuration
# libraries (SDK, the build's VREL_SDK_DIR): BUILD installed into WORK/prefix
# carries none of our stand-ins nor their headers; Lamp (LAMP), built against
# it from outside this tree, compiles against the facility's headers, loads
# the facility's libraries, and passes its tests with the installed tools.
include(${CMAKE_CURRENT_LIST_DIR}/kit_steps.cmake)

file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)
vrel_kit_run("install" COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
    --component kit)

foreach(file bin/vrel-devhost bin/vrel-validate include/vrel/vrel_script_helper.h
        lib/cmake/vrel/vrelConfig.cmake lib/cmake/vrel/vrel_sdk_libraries.cmake)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
file(GLOB_RECURSE stand_ins RELATIVE ${prefix} ${prefix}/*vrel_string* ${prefix}/*vrel_stringlist*
    ${prefix}/*vrel_config* ${prefix}/include/vrel/vrel_export.h)
if(stand_ins)
    message(FATAL_ERROR "the kit installs stand-ins or their headers: ${stand_ins}")
endif()

set(binary ${WORK}/lamp)
vrel_kit_build(${LAMP} ${binary} ${prefix})

# Every header the component's sources included: the facility's, never ours.
file(GLOB_RECURSE depfiles ${binary}/CMakeFiles/Lamp_objects.dir/*.d)
if(NOT depfiles)
    message(FATAL_ERROR "no dependency files in ${binary}/CMakeFiles/Lamp_objects.dir")
endif()
set(included "")
foreach(depfile IN LISTS depfiles)
    file(READ ${depfile} text)
    string(APPEND included "${text}")
endforeach()
# The frame's header includes the string library's; any of the libraries'
# headers included comes from the facility's folder.
foreach(header vrel_string.h vrel_stringlist.h vrel_config.h vrel_export.h)
    string(REGEX MATCHALL "[^ \t\n\\]*/${header}" seen "${included}")
    list(REMOVE_DUPLICATES seen)
    if(header STREQUAL "vrel_string.h" AND NOT seen)
        message(FATAL_ERROR "Lamp's sources did not include ${header}")
    endif()
    if(seen AND NOT seen STREQUAL "${SDK}/include/${header}")
        message(FATAL_ERROR "Lamp compiled against ${header} from '${seen}', "
            "not ${SDK}/include")
    endif()
endforeach()

# The libraries the loader finds for it are the facility's, and nothing of
# ours was put beside it.
find_program(LDD ldd REQUIRED)
vrel_kit_run("ldd libLamp.so" OUTPUT out COMMAND ${LDD} ${binary}/lib/libLamp.so)
foreach(library vrel_string vrel_config)
    if(NOT out MATCHES "lib${library}[^ ]* => ${SDK}/lib/lib${library}[^ ]* ")
        message(FATAL_ERROR "libLamp.so does not load ${library} from ${SDK}/lib:\n${out}")
    endif()
endforeach()
file(GLOB beside ${binary}/lib/libvrel_*)
if(beside)
    message(FATAL_ERROR "stand-ins beside the component: ${beside}")
endif()
message("${out}")
