# Runs "vrel-devhost check" on a settings path made for the test, and checks
# its exit status and what it says.
#   PROGRAM, EMULATOR  the host, and what runs it (a Windows build under wine)
#   SCRATCH            a folder of this test's own, made afresh
#   MAKE               what to put at SCRATCH/settings/object_settings.xml:
#                      fifo, dev_zero (a link to /dev/zero), folder, or none
#   ARGUMENTS          "|"-separated; the word SCRATCH stands for that folder
#   OUTPUT_FILE        where standard output goes, instead of being read
#   EXIT               the exit status expected
#   MESSAGE            a regular expression the output (both streams) matches
#   ERROR_MESSAGE      a regular expression standard error alone matches
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/settings)
set(made ${SCRATCH}/settings/object_settings.xml)
if(MAKE STREQUAL "fifo")
    execute_process(COMMAND mkfifo ${made} RESULT_VARIABLE status)
elseif(MAKE STREQUAL "dev_zero")
    file(CREATE_LINK /dev/zero ${made} RESULT status SYMBOLIC)
elseif(MAKE STREQUAL "folder")
    file(MAKE_DIRECTORY ${made})
    set(status 0)
else()
    set(status 0)
endif()
if(NOT status STREQUAL "0")
    message(FATAL_ERROR "cannot make ${MAKE} at ${made}: ${status}")
endif()

string(REPLACE "|" ";" arguments "${ARGUMENTS}")
string(REPLACE "SCRATCH" "${SCRATCH}" arguments "${arguments}")
if(OUTPUT_FILE)
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${arguments}
        RESULT_VARIABLE status OUTPUT_FILE ${OUTPUT_FILE} ERROR_VARIABLE err)
    set(out "")
else()
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${arguments}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
endif()
file(REMOVE_RECURSE ${SCRATCH})
set(all "${out}${err}")
if(NOT status STREQUAL "${EXIT}")
    message(FATAL_ERROR "exit status ${status}, expected ${EXIT}; output:\n${all}")
endif()
if(MESSAGE AND NOT all MATCHES "${MESSAGE}")
    message(FATAL_ERROR "no output matches\n  ${MESSAGE}\noutput:\n${all}")
endif()
if(ERROR_MESSAGE AND NOT err MATCHES "${ERROR_MESSAGE}")
    message(FATAL_ERROR "standard error does not match\n  ${ERROR_MESSAGE}\nit says:\n${err}")
endif()
