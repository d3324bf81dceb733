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
vrel_kit_expect_no_stand_ins(${prefix})

set(binary ${WORK}/lamp)
vrel_kit_build(${LAMP} ${binary} ${prefix})

vrel_kit_expect_facility_headers(${binary} Lamp ${SDK})

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
