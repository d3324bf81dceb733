# Runs PROGRAM under wine with the debug channel on and compares the texts it
# wrote with OutputDebugStringA, decoded from wine's escaped form and joined in
# order, with the bytes of EXPECTED; EXPECTED_CALLS is the number of writes.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env WINEDEBUG=-all,+debugstr ${EMULATOR} ${PROGRAM}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE channel)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} failed (${result}):\n${output}")
endif()

# Lines look like: 0024:warn:debugstr:OutputDebugStringA "text\n"
string(REGEX MATCHALL ":debugstr:OutputDebugStringA \"[^\n]*\"\n" lines "${channel}")
list(LENGTH lines calls)
set(seen "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE "^:debugstr:OutputDebugStringA \"(.*)\"\n$" "\\1" text "${line}")
    # Undo wine's escapes; a doubled backslash is set aside first.
    string(REPLACE "\\\\" "\x01" text "${text}")
    string(REPLACE "\\n" "\n" text "${text}")
    string(REPLACE "\\r" "\r" text "${text}")
    string(REPLACE "\\t" "\t" text "${text}")
    string(REPLACE "\\\"" "\"" text "${text}")
    string(REPLACE "\x01" "\\" text "${text}")
    string(APPEND seen "${text}")
endforeach()

file(READ ${EXPECTED} expected)
if(NOT seen STREQUAL expected OR NOT calls EQUAL EXPECTED_CALLS)
    message(FATAL_ERROR "debug output differs.\nExpected ${EXPECTED_CALLS} writes:\n[${expected}]\n"
                        "seen ${calls}:\n[${seen}]\nchannel:\n${channel}")
endif()
message(STATUS "${calls} debug output writes, as expected")
