# The suites in the Windows build: compiled by the cross compiler and run under
# wine, each as one test (one wine process for all its cases).

set(VREL_WINDOWS_SUITE_DIR ${CMAKE_CURRENT_LIST_DIR})

# POSIX names the suites use.
target_include_directories(vrel_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR}/compat)
target_compile_options(vrel_test_support PUBLIC
    "SHELL:-include ${CMAKE_CURRENT_LIST_DIR}/compat/posix_compat.h")

# Suites that catch the debug output themselves, as the development host does;
# every other suite reads it from standard error.
set(VREL_WINDOWS_OWN_DEBUG_OUTPUT devhost_tests host_tests)

function(vrel_add_windows_suite name folder)
    if(NOT name IN_LIST VREL_WINDOWS_OWN_DEBUG_OUTPUT)
        target_sources(${name} PRIVATE ${VREL_WINDOWS_SUITE_DIR}/windows_debug_output.cpp)
    endif()
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${folder})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "VREL_CONFIG_DIR=")
endfunction()
