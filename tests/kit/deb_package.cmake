# The .deb of the build folder BUILD, made with cpack into WORK: it must hold
# the tools, the headers, the libraries, the CMake package and the docs under
# /usr, with the project's VERSION, and no component of this tree. (The
# tarball, cpack -G TGZ, is made from the same install.)
include(${CMAKE_CURRENT_LIST_DIR}/kit_steps.cmake)

file(REMOVE_RECURSE ${WORK})
vrel_kit_run("cpack" COMMAND ${CPACK} --config ${BUILD}/CPackConfig.cmake -G DEB -B ${WORK})
file(GLOB debs ${WORK}/*.deb)
list(LENGTH debs deb_count)
if(NOT deb_count EQUAL 1)
    message(FATAL_ERROR "expected one .deb in ${WORK}, found: ${debs}")
endif()

vrel_kit_run("dpkg-deb -f" OUTPUT fields COMMAND dpkg-deb -f ${debs} Package Version Depends)
message("${fields}")
if(NOT fields MATCHES "Package: vrel-kit\nVersion: ${VERSION}\n")
    message(FATAL_ERROR "the package's name and version are not vrel-kit ${VERSION}")
endif()
vrel_kit_run("dpkg-deb -c" OUTPUT listing COMMAND dpkg-deb -c ${debs})
message("${listing}")
foreach(file
        bin/vrel-devhost
        bin/vrel-validate
        include/vrel/vrel_script_helper.h
        lib/vrel/libvrel_string.so
        lib/cmake/vrel/vrelConfig.cmake
        lib/cmake/vrel/vrel_component.cmake
        share/doc/vrel/docs/components.md)
    if(NOT listing MATCHES " \\./usr/${file}\n")
        message(FATAL_ERROR "the .deb lacks /usr/${file}")
    endif()
endforeach()
# The kit alone: no component of this tree.
if(listing MATCHES "/usr/lib/Tavrin/")
    message(FATAL_ERROR "the .deb holds the cue control's install")
endif()
file(SIZE ${debs} size)
message("${debs}: ${size} bytes")
