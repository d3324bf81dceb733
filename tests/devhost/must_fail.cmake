# Runs PROGRAM with ARGUMENTS ("|"-separated). It must exit with status EXIT
# and print, on either stream, text matching the regular expression MESSAGE.
# EMULATOR, when set, runs the program (a Windows build under wine). STDOUT,
# when set, is the file standard output goes to instead.
string(REPLACE "|" ";" arguments "${ARGUMENTS}")
if(STDOUT)
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${arguments}
        RESULT_VARIABLE status OUTPUT_FILE ${STDOUT} ERROR_VARIABLE err)
    set(out "")
else()
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${arguments}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
endif()
set(all "${out}${err}")
if(NOT status STREQUAL "${EXIT}")
    message(FATAL_ERROR "exit status ${status}, expected ${EXIT}; output:\n${all}")
endif()
if(NOT all MATCHES "${MESSAGE}")
    message(FATAL_ERROR "no output matches\n  ${MESSAGE}\noutput:\n${all}")
endif()
