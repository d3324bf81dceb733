# Runs a passing and a failing scenario in one call with --junit REPORT: the
# run ends with one line of totals and fails, and the report names both files
# with one failure, which carries the failure's message.
file(REMOVE ${REPORT})
execute_process(COMMAND ${EMULATOR} ${PROGRAM} --quiet --lib-dir ${LIBRARY_DIR} --junit ${REPORT}
    ${PASSING} ${FAILING} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 1)
    message(FATAL_ERROR "exit status ${status}, expected 1:\n${out}${err}")
endif()
if(NOT out MATCHES "\nscenarios: 1 passed, 1 failed\n")
    message(FATAL_ERROR "no line of totals:\n${out}")
endif()
file(READ ${REPORT} report)
foreach(expected
        "<testsuite name=\"vrel-devhost scenarios\" tests=\"2\" failures=\"1\" errors=\"0\""
        "name=\"${PASSING}\""
        "name=\"${FAILING}\""
        "<failure message=\"[^\"]*wrong_command.scenario:9: expectation failed")
    if(NOT report MATCHES "${expected}")
        message(FATAL_ERROR "the report lacks ${expected}:\n${report}")
    endif()
endforeach()
string(REGEX MATCHALL "<failure" failures "${report}")
list(LENGTH failures count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "${count} failures in the report, expected 1:\n${report}")
endif()
