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
# Panel files and the settings rules end up in the library's folder:
# CMAKE_LIBRARY_OUTPUT_DIRECTORY (Windows: CMAKE_RUNTIME_OUTPUT_DIRECTORY), or
# lib/ (bin/) of the build folder when that is not set. On Linux the string and
# configuration libraries are put there too, so that the folder is complete.
# In a build for the Microsoft C++ ABI a zip a facility installs is made
# beside it, in packages/ of the build folder: the DLL, its panel files and
# rules, a readme and SHA-256 sums (never the string and configuration
# libraries, which are the facility's).
#
# The same file serves this project and, installed with the package
# (find_package(vrel)), any other: it sets on its own targets what it needs
# and finds its templates beside itself.

# Stops the configuration with a message that names the call, when the
# arguments cannot make a component.
function(_vrel_component_check name)
    cmake_parse_arguments(ARG "" "DESCRIPTION;VERSION;SETTINGS_RULES" "SOURCES;PANELS" ${ARGN})
    set(call "vrel_add_component(${name})")
    if(NOT name MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
        message(FATAL_ERROR "vrel_add_component: '${name}' is not a component name; "
            "use letters, digits and '_', not starting with a digit")
    endif()
    if(ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "${call}: unexpected arguments: ${ARG_UNPARSED_ARGUMENTS} "
            "(known: SOURCES, PANELS, SETTINGS_RULES, DESCRIPTION, VERSION; "
            "SETTINGS_RULES takes one file)")
    endif()
    if(NOT ARG_SOURCES)
        message(FATAL_ERROR "${call}: no SOURCES")
    endif()
    foreach(target ${name} ${name}_objects ${name}_code ${name}_zip)
        if(TARGET ${target})
            message(FATAL_ERROR "${call}: the name is taken: a target ${target} exists already "
                "(a component of that name, or another target); give each component a name "
                "of its own")
        endif()
    endforeach()
    if(ARG_VERSION AND NOT ARG_VERSION MATCHES "^[0-9]+(\\.[0-9]+)?(\\.[0-9]+)?(\\.[0-9]+)?$")
        message(FATAL_ERROR "${call}: VERSION '${ARG_VERSION}' is not 1 to 4 numbers "
            "separated by '.'")
    endif()
    set(kinds SOURCES source PANELS "panel file" SETTINGS_RULES "settings rules file")
    while(kinds)
        list(POP_FRONT kinds keyword kind)
        foreach(file IN LISTS ARG_${keyword})
            # A source the build makes, or one named by a generator
            # expression, exists later; panel files and rules are copied now.
            if(keyword STREQUAL "SOURCES" AND file MATCHES "\\$<")
                continue()
            endif()
            get_filename_component(path ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
            get_source_file_property(generated ${path} GENERATED)
            if(keyword STREQUAL "SOURCES" AND generated)
                continue()
            endif()
            if(NOT EXISTS ${path})
                message(FATAL_ERROR "${call}: the ${kind} ${file} does not exist "
                    "(looked for ${path})")
            endif()
        endforeach()
    endwhile()
endfunction()

function(vrel_add_component name)
    _vrel_component_check(${name} ${ARGN})
    cmake_parse_arguments(ARG "" "DESCRIPTION;VERSION;SETTINGS_RULES" "SOURCES;PANELS" ${ARGN})
    if(NOT ARG_VERSION)
        set(ARG_VERSION ${PROJECT_VERSION})
    endif()
    if(NOT ARG_DESCRIPTION)
        set(ARG_DESCRIPTION "${name} panel component")
    endif()
    # The templates and the frame's Windows sources (DllMain, the scalar new
    # and delete), beside this file once installed; in the source tree they
    # are in the frame's own folder.
    set(templates ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/component)
    set(windows_sources ${templates})
    if(NOT EXISTS ${windows_sources}/dllmain.cpp)
        set(windows_sources ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../script_helper/windows)
    endif()

    # The sources, compiled once for both libraries below, as the frame was:
    # position-independent, C++17, everything hidden but the factory.
    add_library(${name}_objects OBJECT ${ARG_SOURCES})
    target_compile_definitions(${name}_objects PRIVATE VREL_COMPONENT_BUILDING)
    target_compile_features(${name}_objects PUBLIC cxx_std_17)
    set_target_properties(${name}_objects PROPERTIES
        POSITION_INDEPENDENT_CODE ON
        CXX_EXTENSIONS OFF
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    target_link_libraries(${name}_objects PUBLIC vrel::vrel_script_helper)
    vrel_warnings(${name}_objects)

    if(NOT VREL_MICROSOFT_ABI)
        add_library(${name}_code STATIC $<TARGET_OBJECTS:${name}_objects>)
        target_include_directories(${name}_code PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(${name}_code PUBLIC vrel::vrel_script_helper)
    endif()

    add_library(${name} SHARED $<TARGET_OBJECTS:${name}_objects>)
    target_link_libraries(${name} PRIVATE vrel::vrel_script_helper)
    if(WIN32)
        string(REPLACE "." ", " VREL_COMPONENT_VERSION_COMMAS "${ARG_VERSION}")
        set(VREL_COMPONENT_NAME ${name})
        set(VREL_COMPONENT_DESCRIPTION "${ARG_DESCRIPTION}")
        # VREL_COMPANY, set before the call, names another company.
        set(VREL_COMPONENT_COMPANY "${VREL_COMPANY}")
        if(NOT VREL_COMPONENT_COMPANY)
            set(VREL_COMPONENT_COMPANY "Cue control team")
        endif()
        set(generated ${CMAKE_CURRENT_BINARY_DIR}/${name}_windows)
        if(VREL_MICROSOFT_ABI)
            # The linker embeds the manifest (below).
            set(VREL_COMPONENT_MANIFEST_RESOURCE
                "// The linker embeds the manifest as resource 2 of type RT_MANIFEST.")
        else()
            set(VREL_COMPONENT_MANIFEST_RESOURCE "// A DLL's manifest is resource 2 of type \
RT_MANIFEST.\nISOLATIONAWARE_MANIFEST_RESOURCE_ID RT_MANIFEST \"component.manifest\"")
        endif()
        configure_file(${templates}/component.def.in ${generated}/${name}.def @ONLY)
        configure_file(${templates}/component.rc.in ${generated}/${name}.rc @ONLY)
        configure_file(${templates}/component.manifest
            ${generated}/component.manifest COPYONLY)
        target_sources(${name} PRIVATE
            ${windows_sources}/dllmain.cpp
            ${generated}/${name}.def
            ${generated}/${name}.rc)
        set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
        if(VREL_MICROSOFT_ABI)
            # No C runtime start-up code: DllMain is the entry point. The
            # manifest is the linker's to embed, as it is for Microsoft's
            # linker; the linker adds no execution level of its own.
            target_sources(${name} PRIVATE
                ${windows_sources}/heap_operators.cpp
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
        if(NOT folder)
            set(folder ${CMAKE_BINARY_DIR}/bin)
        endif()
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${folder})
    else()
        set(map ${templates}/exports.map)
        target_link_options(${name} PRIVATE -Wl,--no-undefined -Wl,--version-script=${map})
        set_target_properties(${name} PROPERTIES LINK_DEPENDS ${map})
        # The stand-in libraries are found beside the component.
        set_target_properties(${name} PROPERTIES BUILD_RPATH "$ORIGIN" INSTALL_RPATH "$ORIGIN")
        set(folder ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
        if(NOT folder)
            set(folder ${CMAKE_BINARY_DIR}/lib)
        endif()
        set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${folder})
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

    if(WIN32)
        install(TARGETS ${name} RUNTIME DESTINATION lib/${name} COMPONENT ${name})
        # Only a DLL in the host's ABI is offered to a facility: the mingw-w64
        # build's is g++'s, for the tools' tests.
        if(VREL_MICROSOFT_ABI)
            _vrel_component_zip(${name} ${ARG_VERSION} "${templates}" "${beside}")
        endif()
    else()
        install(TARGETS ${name} LIBRARY DESTINATION lib/${name} COMPONENT ${name})
        _vrel_component_stand_ins(${name} ${folder})
    endif()
    install(FILES ${beside} DESTINATION lib/${name} COMPONENT ${name})
endfunction()

# The string and configuration libraries beside a Linux component, built and
# installed, unless the facility's own libraries (VREL_SDK_DIR) replace them.
function(_vrel_component_stand_ins name folder)
    if(VREL_SDK_DIR)
        return()
    endif()
    foreach(library vrel::vrel_string vrel::vrel_config)
        get_target_property(imported ${library} IMPORTED)
        if(imported)
            # The installed kit's: copied beside the component as this
            # project's own are built there.
            add_custom_command(TARGET ${name} POST_BUILD
                COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${library}> ${folder}
                VERBATIM)
            install(IMPORTED_RUNTIME_ARTIFACTS ${library}
                LIBRARY DESTINATION lib/${name} COMPONENT ${name})
        else()
            get_target_property(target ${library} ALIASED_TARGET)
            install(TARGETS ${target} LIBRARY DESTINATION lib/${name} COMPONENT ${name})
        endif()
    endforeach()
endfunction()

# <name>-<version>-win32.zip in packages/ of the build folder, rebuilt with
# the DLL: what a facility copies into the component's folder.
function(_vrel_component_zip name version templates beside)
    set(zip ${CMAKE_BINARY_DIR}/packages/${name}-${version}-win32.zip)
    set(files)
    foreach(file IN LISTS beside)
        get_filename_component(path ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        list(APPEND files ${path})
    endforeach()
    string(REPLACE ";" "|" files "${files}")
    add_custom_command(OUTPUT ${zip}
        COMMAND ${CMAKE_COMMAND} -DNAME=${name} -DVERSION=${version}
                -DDLL=$<TARGET_FILE:${name}> "-DFILES=${files}"
                -DREADME=${templates}/README.txt.in
                -DSTAGING=${CMAKE_CURRENT_BINARY_DIR}/${name}_zip -DZIP=${zip}
                -P ${templates}/component_zip.cmake
        DEPENDS ${name} ${beside} ${templates}/README.txt.in ${templates}/component_zip.cmake
        COMMENT "Packing ${name}-${version}-win32.zip"
        VERBATIM)
    add_custom_target(${name}_zip ALL DEPENDS ${zip})
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
