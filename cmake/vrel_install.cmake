# The kit, installed by `cmake --install` into any prefix (install component
# "kit"; each component installs as a component of its own name):
#
#   bin/                 vrel-devhost and vrel-validate
#   include/vrel/        the boundary's and the frame's headers, and the
#                        stand-ins' headers
#   lib/vrel/            the frame (its objects, as it is linked into every
#                        component), the command text parser, the stand-ins
#   lib/cmake/vrel/      the package: vrel_add_component, its templates,
#                        DllMain and the scalar new and delete of a DLL without
#                        a C++ runtime, the warnings; on Windows builds the
#                        toolchains
#   share/doc/vrel/      the README and docs/
#
# Nothing installed names the prefix: the package finds itself from its own
# folder and the tools find lib/vrel through an RPATH relative to themselves,
# so the installed tree may be moved. With VREL_SDK_DIR (a facility's own
# string and configuration libraries) the stand-ins are not installed, and the
# package and the tools take the libraries from that folder.
include(CMakePackageConfigHelpers)

set(VREL_INSTALL_LIBDIR lib/vrel)
set(VREL_INSTALL_INCLUDEDIR include/vrel)
set(VREL_INSTALL_CMAKEDIR lib/cmake/vrel)

# ---- Headers ----

file(GLOB boundary_headers ${PROJECT_SOURCE_DIR}/host_api/*.h)
file(GLOB frame_headers ${PROJECT_SOURCE_DIR}/script_helper/*.h)
set(stand_in_headers "")
if(NOT VREL_SDK_DIR)
    file(GLOB stand_in_headers ${PROJECT_SOURCE_DIR}/stand_ins/include/*.h)
endif()
install(FILES ${boundary_headers} ${frame_headers} ${stand_in_headers}
    DESTINATION ${VREL_INSTALL_INCLUDEDIR} COMPONENT kit)

# ---- Libraries and tools, with the package's imported targets ----

set(kit_targets vrel_host_api vrel_command_parser vrel_script_helper)
if(NOT VREL_SDK_DIR)
    list(APPEND kit_targets vrel_string vrel_config)
    # Linked into the component on Windows, the settings reader brings its
    # own static libraries along.
    get_target_property(config_type vrel_config TYPE)
    if(config_type STREQUAL "STATIC_LIBRARY")
        list(APPEND kit_targets vrel_settings_source)
        get_target_property(pugixml pugixml::pugixml ALIASED_TARGET)
        if(pugixml)
            list(APPEND kit_targets ${pugixml})
        endif()
    endif()
endif()
install(TARGETS ${kit_targets} EXPORT vrel-targets
    LIBRARY DESTINATION ${VREL_INSTALL_LIBDIR} COMPONENT kit
    ARCHIVE DESTINATION ${VREL_INSTALL_LIBDIR} COMPONENT kit
    RUNTIME DESTINATION bin COMPONENT kit
    OBJECTS DESTINATION ${VREL_INSTALL_LIBDIR}/frame COMPONENT kit
    INCLUDES DESTINATION ${VREL_INSTALL_INCLUDEDIR})

# A build for the Microsoft C++ ABI has no tools.
set(tools "")
foreach(tool vrel-devhost vrel-validate)
    if(TARGET ${tool})
        list(APPEND tools ${tool})
    endif()
endforeach()
if(tools)
    if(NOT WIN32)
        # The development host's settings check reads numbers with the string
        # library: a facility's (VREL_SDK_DIR) is found where the package
        # finds it, as the kit does not carry it.
        set(rpath "$ORIGIN/../${VREL_INSTALL_LIBDIR}")
        if(VREL_SDK_DIR)
            list(APPEND rpath ${VREL_SDK_DIR}/lib)
        endif()
        set_target_properties(${tools} PROPERTIES INSTALL_RPATH "${rpath}")
    endif()
    install(TARGETS ${tools} EXPORT vrel-targets RUNTIME DESTINATION bin COMPONENT kit)
endif()

# ---- The package ----

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/vrelConfig.cmake.in
    ${PROJECT_BINARY_DIR}/package/vrelConfig.cmake
    INSTALL_DESTINATION ${VREL_INSTALL_CMAKEDIR}
    NO_SET_AND_CHECK_MACRO)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/vrelConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(EXPORT vrel-targets NAMESPACE vrel:: FILE vrel-targets.cmake
    DESTINATION ${VREL_INSTALL_CMAKEDIR} COMPONENT kit)
install(FILES
    ${PROJECT_BINARY_DIR}/package/vrelConfig.cmake
    ${PROJECT_BINARY_DIR}/package/vrelConfigVersion.cmake
    ${PROJECT_SOURCE_DIR}/cmake/vrel_component.cmake
    ${PROJECT_SOURCE_DIR}/cmake/warnings.cmake
    ${PROJECT_SOURCE_DIR}/cmake/vrel_sdk_libraries.cmake
    DESTINATION ${VREL_INSTALL_CMAKEDIR} COMPONENT kit)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/cmake/component/
    DESTINATION ${VREL_INSTALL_CMAKEDIR}/component COMPONENT kit)
install(FILES ${PROJECT_SOURCE_DIR}/script_helper/windows/dllmain.cpp
    ${PROJECT_SOURCE_DIR}/script_helper/windows/heap_operators.cpp
    DESTINATION ${VREL_INSTALL_CMAKEDIR}/component COMPONENT kit)
if(WIN32)
    # The cross toolchains a component is built with for a facility.
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/cmake/toolchains
        DESTINATION ${VREL_INSTALL_CMAKEDIR} COMPONENT kit)
    install(PROGRAMS ${PROJECT_SOURCE_DIR}/cmake/run_under_wine.sh
        DESTINATION ${VREL_INSTALL_CMAKEDIR} COMPONENT kit)
endif()

# ---- Documentation ----

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/vrel COMPONENT kit)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION share/doc/vrel/docs COMPONENT kit)
