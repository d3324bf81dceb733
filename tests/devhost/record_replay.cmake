# Record and replay: runs the interactive SESSION with --record RECORDED, then
# plays the recorded scenario back (it must pass), then plays back a copy with
# one command changed (it must fail at that line). EMULATOR, when set, runs
# the program.
execute_process(COMMAND ${EMULATOR} ${PROGRAM} --quiet --lib-dir ${LIBRARY_DIR} --record ${RECORDED}
    INPUT_FILE ${SESSION} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the session failed (${status}):\n${out}${err}")
endif()

file(READ ${RECORDED} recorded)
foreach(expected
        [[expect sent PS '1' '${component}/p1.vrel_ui']]
        [[expect sent RC 7 5 6 ',' 1]]
        [[expect reply "Source=[value]\nDestination=[value]\nTake=[value]"]]
        [[expect crosspoint 7 6 5]])
    string(FIND "${recorded}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the recording lacks: ${expected}\n${recorded}")
    endif()
endforeach()

execute_process(COMMAND ${EMULATOR} ${PROGRAM} --lib-dir ${LIBRARY_DIR} ${RECORDED}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the recorded scenario does not pass (${status}):\n${err}\n${recorded}")
endif()

string(REPLACE "RC 7 5 6 ',' 1" "RC 7 5 7 ',' 1" tampered "${recorded}")
string(REPLACE ".scenario" ".changed.scenario" changed ${RECORDED})
file(WRITE ${changed} "${tampered}")
execute_process(COMMAND ${EMULATOR} ${PROGRAM} --quiet --lib-dir ${LIBRARY_DIR} ${changed}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "expected: RC 7 5 7 ',' 1\n  seen:     RC 7 5 6 ',' 1")
    message(FATAL_ERROR "the changed recording did not fail as it should (${status}):\n${err}")
endif()
