# Steps the kit's tests share, for scripts run with cmake -P.

# vrel_kit_run(<what> COMMAND <command...> [OUTPUT <variable>] [EXIT <status>]):
# runs the command; it must end with status EXIT (default 0), or the test
# fails with what it printed. OUTPUT receives standard output and error.
function(vrel_kit_run what)
    cmake_parse_arguments(RUN "" "OUTPUT;EXIT;WORKING_DIRECTORY" "COMMAND" ${ARGN})
    if(NOT DEFINED RUN_EXIT)
        set(RUN_EXIT 0)
    endif()
    if(NOT RUN_WORKING_DIRECTORY)
        set(RUN_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    endif()
    execute_process(COMMAND ${RUN_COMMAND} RESULT_VARIABLE status OUTPUT_VARIABLE out
        ERROR_VARIABLE out WORKING_DIRECTORY ${RUN_WORKING_DIRECTORY})
    if(NOT status STREQUAL "${RUN_EXIT}")
        string(REPLACE ";" " " shown "${RUN_COMMAND}")
        message(FATAL_ERROR "${what}: exit status ${status}, expected ${RUN_EXIT}\n"
            "  ${shown}\n${out}")
    endif()
    if(RUN_OUTPUT)
        set(${RUN_OUTPUT} "${out}" PARENT_SCOPE)
    endif()
endfunction()

# vrel_kit_build(<source> <binary> <prefix>): configures and builds a project
# outside this tree against the kit installed in <prefix>, with warnings as
# errors, then runs its tests; the package must be the one in <prefix>.
# GENERATOR and CXX_COMPILER name this build's, when set.
function(vrel_kit_build source binary prefix)
    file(REMOVE_RECURSE ${binary})
    set(options -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVREL_WERROR=ON)
    if(GENERATOR)
        list(APPEND options -G ${GENERATOR})
    endif()
    if(CXX_COMPILER)
        list(APPEND options -DCMAKE_CXX_COMPILER=${CXX_COMPILER})
    endif()
    vrel_kit_run("configure ${source}" COMMAND ${CMAKE_COMMAND} -S ${source} -B ${binary} ${options})
    file(STRINGS ${binary}/CMakeCache.txt found REGEX "^vrel_DIR:")
    if(NOT found STREQUAL "vrel_DIR:PATH=${prefix}/lib/cmake/vrel")
        message(FATAL_ERROR "the package was not taken from ${prefix}: ${found}")
    endif()
    vrel_kit_run("build ${source}" COMMAND ${CMAKE_COMMAND} --build ${binary} -j 2)
    vrel_kit_run("the tests of ${source}" OUTPUT out
        COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${binary} --output-on-failure)
    message("${out}")
    if(NOT out MATCHES "100% tests passed, 0 tests failed out of [1-9]")
        message(FATAL_ERROR "the tests of ${source} did not all run and pass")
    endif()
endfunction()

# vrel_kit_expect_no_stand_ins(<prefix>): the kit in <prefix>, built against a
# facility's libraries, holds none of our builds of them nor their headers.
function(vrel_kit_expect_no_stand_ins prefix)
    file(GLOB_RECURSE stand_ins RELATIVE ${prefix} ${prefix}/*vrel_string* ${prefix}/*vrel_config*
        ${prefix}/include/vrel/vrel_export.h)
    if(stand_ins)
        message(FATAL_ERROR "the kit installs stand-ins or their headers: ${stand_ins}")
    endif()
endfunction()

# vrel_kit_expect_facility_headers(<binary> <component> <sdk>): every header
# of the string and configuration libraries the component's sources included
# (the compiler's dependency files in <binary>) is the facility's, in
# <sdk>/include; the frame's header brings vrel_string.h at least.
function(vrel_kit_expect_facility_headers binary component sdk)
    file(GLOB_RECURSE depfiles ${binary}/CMakeFiles/${component}_objects.dir/*.d)
    if(NOT depfiles)
        message(FATAL_ERROR "no dependency files in ${binary}/CMakeFiles/${component}_objects.dir")
    endif()
    set(included "")
    foreach(depfile IN LISTS depfiles)
        file(READ ${depfile} text)
        string(APPEND included "${text}")
    endforeach()
    foreach(header vrel_string.h vrel_stringlist.h vrel_config.h vrel_export.h)
        string(REGEX MATCHALL "[^ \t\n\\]*/${header}" seen "${included}")
        list(REMOVE_DUPLICATES seen)
        if(header STREQUAL "vrel_string.h" AND NOT seen)
            message(FATAL_ERROR "${component}'s sources did not include ${header}")
        endif()
        if(seen AND NOT seen STREQUAL "${sdk}/include/${header}")
            message(FATAL_ERROR "${component} compiled against ${header} from '${seen}', "
                "not ${sdk}/include")
        endif()
    endforeach()
endfunction()
