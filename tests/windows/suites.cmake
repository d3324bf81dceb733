# The suites in the Windows build: compiled by the cross compiler and run under
# wine, each as one test (one wine process for all its cases).

# POSIX names the suites use, and the debug output passed on to standard error.
target_include_directories(vrel_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR}/compat)
target_compile_options(vrel_test_support PUBLIC
    "SHELL:-include ${CMAKE_CURRENT_LIST_DIR}/compat/posix_compat.h")
target_sources(vrel_test_support INTERFACE ${CMAKE_CURRENT_LIST_DIR}/windows_debug_output.cpp)

# Cases that state a POSIX file system's behaviour and have no Windows meaning.
set(VREL_WINDOWS_EXCLUDED_CASES
    # chmod 0 does not make a file unreadable on Windows.
    "*Unreadable*")

# Suites that need POSIX file times (utimensat, nanosecond stamps); settings
# lookup on Windows is exercised through the component by the host test.
set(VREL_WINDOWS_SKIPPED_SUITES frame_settings_tests)

function(vrel_add_windows_suite name)
    if(name IN_LIST VREL_WINDOWS_SKIPPED_SUITES)
        set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL TRUE)
        return()
    endif()
    list(JOIN VREL_WINDOWS_EXCLUDED_CASES ":" excluded)
    add_test(NAME ${name} COMMAND ${name} --gtest_filter=-${excluded}
        WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "VREL_CONFIG_DIR=")
endfunction()
