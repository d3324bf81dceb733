# vrel_add_component(<name>
#     SOURCES <file>...          the component's own sources, its factory among them
#     [PANELS <file>...]         panel files, copied beside the built library
#     [SETTINGS_RULES <file>]    what the settings check knows of its settings
#     [DESCRIPTION <text>]       the Windows version resource's file description
#     [VERSION <a.b.c.d>])       default: the project's version
#
# Makes, from one compilation of the sources:
#   <name>_code  a static library with the component and the frame, for tools
#                that link the component directly (fuzzers, benchmarks); not
#                in a build for the Microsoft C++ ABI, which has no such tools;
#   <name>       the component library a host loads: lib<name>.so exporting
#                only load_vrel_client_script (a version script makes it
#                certain), or <name>.dll with that single undecorated export
#                (.def), DllMain, a version resource and an asInvoker manifest.
#                For the Microsoft C++ ABI the DLL has no C or C++ runtime of
#                its own: it imports the string and configuration libraries,
#                Windows' own DLLs and nothing else, and brings its own scalar
#                new and delete.
# Panel files and the settings rules end up in the library's folder.

# Found beside this file, not through the project's variables.
set(VREL_COMPONENT_TEMPLATES ${CMAKE_CURRENT_LIST_DIR}/component)
set(VREL_COMPONENT_WINDOWS_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../script_helper/windows)
set(VREL_COMPANY "Cue control team")

function(vrel_add_component name)
    cmake_parse_arguments(ARG "" "DESCRIPTION;VERSION;SETTINGS_RULES" "SOURCES;PANELS" ${ARGN})
    if(NOT ARG_SOURCES)
        message(FATAL_ERROR "vrel_add_component(${name}): no SOURCES")
    endif()
    if(NOT ARG_VERSION)
        set(ARG_VERSION ${PROJECT_VERSION})
    endif()
    if(NOT ARG_DESCRIPTION)
        set(ARG_DESCRIPTION "${name} panel component")
    endif()

    # The sources, compiled once for both libraries below.
    add_library(${name}_objects OBJECT ${ARG_SOURCES})
    target_compile_definitions(${name}_objects PRIVATE VREL_COMPONENT_BUILDING)
    target_link_libraries(${name}_objects PUBLIC vrel_script_helper)
    vrel_warnings(${name}_objects)

    if(NOT VREL_MICROSOFT_ABI)
        add_library(${name}_code STATIC $<TARGET_OBJECTS:${name}_objects>)
        target_include_directories(${name}_code PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(${name}_code PUBLIC vrel_script_helper)
    endif()

    add_library(${name} SHARED $<TARGET_OBJECTS:${name}_objects>)
    target_link_libraries(${name} PRIVATE vrel_script_helper)
    if(WIN32)
        string(REPLACE "." ", " VREL_COMPONENT_VERSION_COMMAS "${ARG_VERSION}")
        set(VREL_COMPONENT_NAME ${name})
        set(VREL_COMPONENT_DESCRIPTION "${ARG_DESCRIPTION}")
        set(VREL_COMPONENT_COMPANY "${VREL_COMPANY}")
        set(generated ${CMAKE_CURRENT_BINARY_DIR}/${name}_windows)
        if(VREL_MICROSOFT_ABI)
            # The linker embeds the manifest (below).
            set(VREL_COMPONENT_MANIFEST_RESOURCE
                "// The linker embeds the manifest as resource 2 of type RT_MANIFEST.")
        else()
            set(VREL_COMPONENT_MANIFEST_RESOURCE "// A DLL's manifest is resource 2 of type \
RT_MANIFEST.\nISOLATIONAWARE_MANIFEST_RESOURCE_ID RT_MANIFEST \"component.manifest\"")
        endif()
        configure_file(${VREL_COMPONENT_TEMPLATES}/component.def.in ${generated}/${name}.def @ONLY)
        configure_file(${VREL_COMPONENT_TEMPLATES}/component.rc.in ${generated}/${name}.rc @ONLY)
        configure_file(${VREL_COMPONENT_TEMPLATES}/component.manifest
            ${generated}/component.manifest COPYONLY)
        target_sources(${name} PRIVATE
            ${VREL_COMPONENT_WINDOWS_SOURCES}/dllmain.cpp
            ${generated}/${name}.def
            ${generated}/${name}.rc)
        set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
        if(VREL_MICROSOFT_ABI)
            # No C runtime start-up code: DllMain is the entry point. The
            # manifest is the linker's to embed, as it is for Microsoft's
            # linker; the linker adds no execution level of its own.
            target_sources(${name} PRIVATE
                ${VREL_COMPONENT_WINDOWS_SOURCES}/heap_operators.cpp
                ${generated}/component.manifest)
            target_link_options(${name} PRIVATE LINKER:/entry:DllMain LINKER:/manifestuac:no)
        else()
            # windres finds the manifest named in the .rc through this folder.
            target_include_directories(${name} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${generated}>)
            set_property(SOURCE ${generated}/${name}.rc APPEND PROPERTY
                OBJECT_DEPENDS ${generated}/component.manifest)
            target_link_options(${name} PRIVATE -Wl,--no-undefined)
            # What a facility gets carries no symbols or debug sections.
            target_link_options(${name} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
        endif()
        set(folder ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    else()
        set(map ${VREL_COMPONENT_TEMPLATES}/exports.map)
        target_link_options(${name} PRIVATE -Wl,--no-undefined -Wl,--version-script=${map})
        set_target_properties(${name} PROPERTIES LINK_DEPENDS ${map})
        # The stand-in libraries are found beside the component.
        set_target_properties(${name} PROPERTIES BUILD_RPATH "$ORIGIN" INSTALL_RPATH "$ORIGIN")
        set(folder ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
    endif()

    set(beside ${ARG_PANELS})
    if(ARG_SETTINGS_RULES)
        list(APPEND beside ${ARG_SETTINGS_RULES})
    endif()
    # Components share the output folder: a file name may belong to one only.
    foreach(file IN LISTS beside)
        get_filename_component(file_name ${file} NAME)
        get_property(owner GLOBAL PROPERTY VREL_FILE_BESIDE_${file_name})
        if(owner AND NOT owner STREQUAL name)
            message(FATAL_ERROR "vrel_add_component(${name}): ${file_name} is already the file "
                "of component ${owner} in ${folder}; give it another name")
        endif()
        set_property(GLOBAL PROPERTY VREL_FILE_BESIDE_${file_name} ${name})
        configure_file(${file} ${folder}/${file_name} COPYONLY)
    endforeach()

    if(WIN32 OR VREL_SDK_DIR)
        # A facility's own libraries are not ours to install.
        install(TARGETS ${name} RUNTIME DESTINATION lib/${name} LIBRARY DESTINATION lib/${name})
    else()
        install(TARGETS ${name} vrel_string vrel_config
            LIBRARY DESTINATION lib/${name} RUNTIME DESTINATION lib/${name})
    endif()
    install(FILES ${beside} DESTINATION lib/${name})
endfunction()

# vrel_add_test_component(<name> <source>...): a component library for the
# tools' tests that talks to the host through the boundary alone (no frame),
# so that it can break the rules on purpose. Its factory is the boundary's
# declaration, exported as a real component's is.
function(vrel_add_test_component name)
    add_library(${name} SHARED ${ARGN})
    target_link_libraries(${name} PRIVATE vrel_host_api)
    target_compile_definitions(${name} PRIVATE VREL_COMPONENT_BUILDING)
    vrel_warnings(${name})
endfunction()
