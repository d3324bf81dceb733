# The Microsoft C++ ABI kit built against a facility's libraries: this
# build's stand-in DLLs and import libraries (STRING_DLL, STRING_IMPLIB,
# CONFIG_DLL, CONFIG_IMPLIB) and their headers (HEADERS) laid out in WORK/sdk
# as a vendor ships them; this tree (SOURCE) built with VREL_SDK_DIR naming
# that folder and the toolchain TOOLCHAIN, its kit installed into WORK/prefix;
# then Lamp (LAMP) cross-built against that kit from outside the tree. The
# kit holds none of our stand-ins, Lamp compiles against the folder's headers
# and its DLL is one a facility loads (CHECK_DLL, with OBJDUMP and WINDRES).
include(${CMAKE_CURRENT_LIST_DIR}/kit_steps.cmake)

file(REMOVE_RECURSE ${WORK})
set(sdk ${WORK}/sdk)
file(GLOB headers ${HEADERS}/*.h)
file(COPY ${headers} DESTINATION ${sdk}/include)
file(COPY ${STRING_IMPLIB} ${CONFIG_IMPLIB} DESTINATION ${sdk}/lib)
file(COPY ${STRING_DLL} ${CONFIG_DLL} DESTINATION ${sdk}/bin)

set(build ${WORK}/build)
set(prefix ${WORK}/prefix)
vrel_kit_run("configure against ${sdk}" COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${build}
    --toolchain ${TOOLCHAIN} -DCMAKE_BUILD_TYPE=Release -DVREL_WERROR=ON
    -DVREL_SDK_DIR=${sdk} -DVREL_BUILD_TESTS=OFF)
vrel_kit_run("build against ${sdk}" COMMAND ${CMAKE_COMMAND} --build ${build} -j 2)
vrel_kit_run("install" COMMAND ${CMAKE_COMMAND} --install ${build} --prefix ${prefix}
    --component kit)
vrel_kit_expect_no_stand_ins(${prefix})

set(package ${prefix}/lib/cmake/vrel)
set(binary ${WORK}/lamp)
vrel_kit_run("configure Lamp" COMMAND ${CMAKE_COMMAND} -S ${LAMP} -B ${binary}
    -DCMAKE_BUILD_TYPE=Release -DVREL_WERROR=ON
    --toolchain ${package}/toolchains/i686-pc-windows-msvc.cmake -Dvrel_DIR=${package})
vrel_kit_run("build Lamp" COMMAND ${CMAKE_COMMAND} --build ${binary} -j 2)
vrel_kit_expect_facility_headers(${binary} Lamp ${sdk})
vrel_kit_run("Lamp.dll as a facility loads it" OUTPUT out
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${OBJDUMP} -DWINDRES=${WINDRES}
            -DDLL=${binary}/bin/Lamp.dll -DRELEASE=1 -P ${CHECK_DLL})
message("${out}")
if(NOT EXISTS ${binary}/packages/Lamp-1.0.0.1-win32.zip)
    message(FATAL_ERROR "no zip of Lamp in ${binary}/packages")
endif()
