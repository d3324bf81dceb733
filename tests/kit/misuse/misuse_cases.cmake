# Configures the misuse project once per CASE against the kit in PREFIX, in
# one build folder BINARY (the compiler is looked at once): each wrong call of
# vrel_add_component must stop the configuration with its message, and the
# correct calls must configure.
include(${CMAKE_CURRENT_LIST_DIR}/../kit_steps.cmake)

# Case, then the message as a regular expression (blanks and line ends of the
# output read as one blank).
set(cases
    correct "Generating done"
    generated_source "Generating done"
    no_sources "vrel_add_component\\(Empty\\): no SOURCES"
    missing_source
    "vrel_add_component\\(Lost\\): the source two.cpp does not exist \\(looked for [^)]*/misuse/two.cpp\\)"
    missing_panel "vrel_add_component\\(Broken\\): the panel file no_such.vrel_ui does not exist"
    missing_rules
    "vrel_add_component\\(Broken\\): the settings rules file Broken.settings_rules.xml does not exist"
    name_twice "vrel_add_component\\(Twice\\): the name is taken: a target Twice exists already"
    name_of_another_target
    "vrel_add_component\\(Clash\\): the name is taken: a target Clash exists already"
    panel_of_another_component
    "vrel_add_component\\(Second\\): one.vrel_ui is already the file of component First"
    not_a_name "vrel_add_component: 'my-lamp' is not a component name"
    misspelt_keyword "vrel_add_component\\(Lamp\\): unexpected arguments: SOURCE.one.cpp \\(known: SOURCES"
    bad_version "vrel_add_component\\(Lamp\\): VERSION '1.x' is not 1 to 4 numbers")

file(REMOVE_RECURSE ${BINARY})
set(failed "")
while(cases)
    list(POP_FRONT cases case message)
    if(message STREQUAL "Generating done")
        set(exit 0)
    else()
        set(exit 1)
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR} -B ${BINARY}
                            -DCMAKE_PREFIX_PATH=${PREFIX} -DCASE=${case}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    string(REGEX REPLACE "[ \n]+" " " flat "${out}")
    if(NOT status STREQUAL exit OR NOT flat MATCHES "${message}")
        string(APPEND failed "\n---- ${case}: exit status ${status}, expected ${exit}, and a line "
            "matching\n  ${message}\n${out}")
    else()
        message("${case}: as expected")
    endif()
endwhile()
if(failed)
    message(FATAL_ERROR "${failed}")
endif()
