# Installs the build folder BUILD into a staging folder under WORK, then moves
# it to WORK/prefix: nothing in the kit may name the folder it was installed
# into. Then checks the layout, that the package's files name neither folder
# nor the build, and that the tools run from the prefix with no environment.
include(${CMAKE_CURRENT_LIST_DIR}/kit_steps.cmake)

file(REMOVE_RECURSE ${WORK})
vrel_kit_run("install" COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}/staging)
file(RENAME ${WORK}/staging ${WORK}/prefix)
set(prefix ${WORK}/prefix)

foreach(file
        bin/vrel-devhost
        bin/vrel-validate
        include/vrel/vrel_script_helper.h
        include/vrel/notify_ref.h
        include/vrel/component_factory.h
        include/vrel/client_host.h
        include/vrel/vrel_string.h
        include/vrel/vrel_config.h
        lib/vrel/libvrel_string.so
        lib/vrel/libvrel_config.so
        lib/vrel/libvrel_command_parser.a
        lib/cmake/vrel/vrelConfig.cmake
        lib/cmake/vrel/vrelConfigVersion.cmake
        lib/cmake/vrel/vrel-targets.cmake
        lib/cmake/vrel/vrel_component.cmake
        lib/cmake/vrel/warnings.cmake
        lib/cmake/vrel/component/exports.map
        lib/cmake/vrel/component/dllmain.cpp
        share/doc/vrel/README.md
        share/doc/vrel/docs/components.md
        lib/Tavrin/libTavrin.so
        lib/Tavrin/p1.vrel_ui)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
file(GLOB_RECURSE frame_objects ${prefix}/lib/vrel/frame/*.o)
if(NOT frame_objects MATCHES "vrel_script_helper.cpp.o")
    message(FATAL_ERROR "the frame's objects are not installed: ${frame_objects}")
endif()

file(GLOB_RECURSE package_files ${prefix}/lib/cmake/*)
foreach(file IN LISTS package_files)
    file(READ ${file} text)
    foreach(folder ${WORK} ${BUILD} ${SOURCE})
        string(FIND "${text}" "${folder}" at)
        if(at GREATER -1)
            message(FATAL_ERROR "${file} names ${folder}")
        endif()
    endforeach()
endforeach()

# The tools find their libraries and data from where they are.
foreach(tool vrel-devhost vrel-validate)
    vrel_kit_run("${tool} --help with no environment" OUTPUT out
        COMMAND env -i ${prefix}/bin/${tool} --help)
    if(NOT out MATCHES "Usage: ")
        message(FATAL_ERROR "${tool} --help printed:\n${out}")
    endif()
endforeach()
vrel_kit_run("a scenario with the installed host" OUTPUT out
    COMMAND env -i ${prefix}/bin/vrel-devhost --quiet --lib-dir ${prefix}/lib/Tavrin
            ${SOURCE}/examples/scenarios/cue_given.scenario)
message("${out}")
