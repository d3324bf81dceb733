# The Windows kit: the windows build BUILD installed into WORK/prefix; Lamp
# cross-built against it from outside the tree with the kit's own toolchain;
# its DLL and zip, and the zip of the cue control built in this tree (ZIP).
include(${CMAKE_CURRENT_LIST_DIR}/kit_steps.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/check_zip.cmake)

vrel_kit_check_zip(${ZIP} Tavrin Tavrin.dll p1.vrel_ui Tavrin.settings_rules.xml)

file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)
vrel_kit_run("install" COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
    --component kit)
set(package ${prefix}/lib/cmake/vrel)
set(binary ${WORK}/lamp)
vrel_kit_run("configure Lamp" COMMAND ${CMAKE_COMMAND} -S ${LAMP} -B ${binary}
    -DCMAKE_BUILD_TYPE=Release -DVREL_WERROR=ON
    --toolchain ${package}/toolchains/i686-w64-mingw32.cmake -Dvrel_DIR=${package})
vrel_kit_run("build Lamp" COMMAND ${CMAKE_COMMAND} --build ${binary} -j 2)
if(NOT EXISTS ${binary}/bin/Lamp.dll)
    message(FATAL_ERROR "no Lamp.dll in ${binary}/bin")
endif()
vrel_kit_run("objdump Lamp.dll" OUTPUT exports COMMAND ${OBJDUMP} -p ${binary}/bin/Lamp.dll)
if(NOT exports MATCHES "\\[ *0\\] load_vrel_client_script")
    message(FATAL_ERROR "Lamp.dll does not export load_vrel_client_script:\n${exports}")
endif()
vrel_kit_check_zip(${binary}/packages/Lamp-1.0.0.1-win32.zip Lamp Lamp.dll lamp1.vrel_ui
    Lamp.settings_rules.xml)
