# The Windows kit: the build BUILD installed into WORK/prefix, and Lamp
# cross-built against it from outside the tree with the kit's own TOOLCHAIN.
#
# From the Microsoft C++ ABI build (MICROSOFT_ABI): Lamp.dll is checked as
# the DLL a facility loads (CHECK_DLL: its one export, its imports of the two
# libraries and of Windows' own DLLs only, its resources), and the zips a
# facility installs, Lamp's and the cue control's built in this tree (ZIP),
# hold that DLL, its panel files and rules, and nothing of our stand-ins.
# From the mingw-w64 build, whose DLLs are g++'s and not for a facility:
# Lamp.dll exports the factory and no zip is made.
include(${CMAKE_CURRENT_LIST_DIR}/kit_steps.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/check_zip.cmake)

file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)
vrel_kit_run("install" COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
    --component kit)
set(package ${prefix}/lib/cmake/vrel)
set(binary ${WORK}/lamp)
vrel_kit_run("configure Lamp" COMMAND ${CMAKE_COMMAND} -S ${LAMP} -B ${binary}
    -DCMAKE_BUILD_TYPE=Release -DVREL_WERROR=ON
    --toolchain ${package}/toolchains/${TOOLCHAIN} -Dvrel_DIR=${package})
vrel_kit_run("build Lamp" COMMAND ${CMAKE_COMMAND} --build ${binary} -j 2)
set(dll ${binary}/bin/Lamp.dll)
if(NOT EXISTS ${dll})
    message(FATAL_ERROR "no Lamp.dll in ${binary}/bin")
endif()

if(NOT MICROSOFT_ABI)
    vrel_kit_run("objdump Lamp.dll" OUTPUT exports COMMAND ${OBJDUMP} -p ${dll})
    if(NOT exports MATCHES "\\[ *0\\] load_vrel_client_script")
        message(FATAL_ERROR "Lamp.dll does not export load_vrel_client_script:\n${exports}")
    endif()
    file(GLOB zips ${binary}/packages/* ${BUILD}/packages/*)
    if(zips)
        message(FATAL_ERROR "the mingw-w64 build offers a facility zips: ${zips}")
    endif()
    return()
endif()

vrel_kit_run("Lamp.dll as a facility loads it" OUTPUT out
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${OBJDUMP} -DWINDRES=${WINDRES} -DDLL=${dll} -DRELEASE=1
            -P ${CHECK_DLL})
message("${out}")

# expect_packed(<zip> <dll>): the zip's DLL is <dll>, byte for byte.
function(expect_packed zip dll)
    get_filename_component(name ${dll} NAME_WE)
    file(SHA256 ${dll} built)
    file(SHA256 ${zip}.unpacked/${name}/${name}.dll packed)
    if(NOT built STREQUAL packed)
        message(FATAL_ERROR "${zip} does not hold ${dll}")
    endif()
endfunction()

# What the facility gets is the DLL just checked, and the cue control's is
# the one the Windows tests drive.
set(zip ${binary}/packages/Lamp-1.0.0.1-win32.zip)
vrel_kit_check_zip(${zip} Lamp Lamp.dll lamp1.vrel_ui Lamp.settings_rules.xml)
expect_packed(${zip} ${dll})
vrel_kit_check_zip(${ZIP} Tavrin Tavrin.dll p1.vrel_ui Tavrin.settings_rules.xml)
expect_packed(${ZIP} ${BUILD}/bin/Tavrin.dll)
