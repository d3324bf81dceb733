# The Windows build of the component: Tavrin.dll with the factory as its only
# export (Tavrin.def), the entry point, the version resource and the manifest.
# The compiler's runtime and the stand-in libraries are linked in, so the DLL
# and its panel file are all a facility needs.
target_sources(Tavrin PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/dllmain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Tavrin.def
    ${CMAKE_CURRENT_LIST_DIR}/Tavrin.rc)
set_target_properties(Tavrin PROPERTIES PREFIX "" OUTPUT_NAME Tavrin)
# windres finds the manifest named in Tavrin.rc through this folder.
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/Tavrin.rc APPEND PROPERTY
    OBJECT_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/Tavrin.manifest)
target_include_directories(Tavrin PRIVATE $<$<COMPILE_LANGUAGE:RC>:${CMAKE_CURRENT_LIST_DIR}>)
target_link_options(Tavrin PRIVATE -Wl,--no-undefined)
# What a facility gets carries no symbols or debug sections.
target_link_options(Tavrin PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
# Exports come from Tavrin.def alone.
set_target_properties(Tavrin PROPERTIES LINK_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/Tavrin.def)

# The panel file beside the DLL.
configure_file(${CMAKE_CURRENT_LIST_DIR}/../p1.vrel_ui ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/p1.vrel_ui
    COPYONLY)
