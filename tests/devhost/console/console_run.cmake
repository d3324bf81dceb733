# Runs PROGRAM with ARGUMENTS ("|"-separated) and standard input from INPUT
# (when given). It must exit with status EXIT and print, on either stream,
# text matching the regular expression MESSAGE, and nothing matching ABSENT
# (when given). EMULATOR, when set, runs the program.
string(REPLACE "|" ";" arguments "${ARGUMENTS}")
if(INPUT)
    set(input INPUT_FILE ${INPUT})
endif()
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${arguments} ${input}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(all "${out}${err}")
if(NOT status STREQUAL "${EXIT}")
    message(FATAL_ERROR "exit status ${status}, expected ${EXIT}; output:\n${all}")
endif()
if(NOT all MATCHES "${MESSAGE}")
    message(FATAL_ERROR "no output matches\n  ${MESSAGE}\noutput:\n${all}")
endif()
if(ABSENT AND all MATCHES "${ABSENT}")
    message(FATAL_ERROR "the output holds what it must not:\n  ${ABSENT}\noutput:\n${all}")
endif()
