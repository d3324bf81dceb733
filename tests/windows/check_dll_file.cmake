# Reads the built DLL with objdump and windres and checks what a facility
# relies on: a 32-bit DLL whose only export is the undecorated factory; that
# imports the string and configuration libraries' class members under their
# Microsoft C++ ABI names, Windows' own DLLs (kernel32, msvcrt or the
# universal C runtime) and nothing else, no compiler runtime in particular;
# with the version resource (1.0.0.1, one string table 080904b0 and its
# translation) and the "asInvoker" manifest as resource 2 of type RT_MANIFEST;
# and the frame's marker text. A release build also carries no debug sections.
set(failures "")
# Records `what` as a failure unless `text` matches `pattern`.
function(expect_match text pattern what)
    if(NOT text MATCHES "${pattern}")
        set(failures "${failures}  ${what}\n" PARENT_SCOPE)
    endif()
endfunction()
function(expect_equal seen expected what)
    if(NOT seen STREQUAL expected)
        set(failures "${failures}  ${what} (seen: ${seen})\n" PARENT_SCOPE)
    endif()
endfunction()

execute_process(COMMAND ${OBJDUMP} -p -h ${DLL} OUTPUT_VARIABLE headers RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p -h ${DLL} failed")
endif()
expect_match("${headers}" "file format pei-i386" "a 32-bit x86 PE file")
expect_match("${headers}" "\n[ \t]+DLL\n" "marked as a DLL")
if(RELEASE AND headers MATCHES " (\\.debug_[a-z_]+) ")
    set(failures "${failures}  no debug sections in a release build (seen ${CMAKE_MATCH_1})\n")
endif()

string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)*" names "${headers}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" exports "${names}")
# The ordinal is the linker's to number.
string(REGEX REPLACE "\\[ *[0-9]+\\] " "" exports "${exports}")
expect_equal("${exports}" "load_vrel_client_script" "exactly one export, load_vrel_client_script")

# Each imported DLL, with the names imported from it: objdump lists a DLL's
# name, then a header line, then one line per name ("<vma> <hint> <name>").
string(REGEX MATCHALL "DLL Name: [^\n]+\n[^\n]*\n([ \t]*[0-9a-f]+[ \t]+[0-9]+[ \t]+[^\n]+\n)*"
       tables "${headers}")
set(libraries "")
foreach(table IN LISTS tables)
    string(REGEX MATCH "^DLL Name: ([^\n]+)" dll "${table}")
    string(TOLOWER "${CMAKE_MATCH_1}" dll)
    string(REGEX MATCHALL "\n[ \t]*[0-9a-f]+[ \t]+[0-9]+[ \t]+[^\n]+" members "${table}")
    list(TRANSFORM members REPLACE "^\n[ \t]*[0-9a-f]+[ \t]+[0-9]+[ \t]+" "")
    if(dll MATCHES "^(vrel_string|vrel_config)\\.dll$")
        list(APPEND libraries ${CMAKE_MATCH_1})
        foreach(member IN LISTS members)
            # As Microsoft's compiler names them: "?toInt@vrel_string@@QBEHXZ",
            # "??0vrel_config@@QAE@ABVvrel_string@@@Z".
            expect_match("${member}"
                         "^\\?.*(vrel_string|vrel_stringlist|vrel_stringlistIterator|vrel_config)@@"
                         "${dll} members in the Microsoft C++ ABI (seen ${member})")
        endforeach()
    else()
        expect_match("${dll}" "^(kernel32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\\.dll$"
                     "imports only Windows' own DLLs besides the two libraries (seen ${dll})")
    endif()
    list(LENGTH members count)
    message(STATUS "imports ${count} from ${dll}: ${members}")
endforeach()
list(SORT libraries)
expect_equal("${libraries}" "vrel_config;vrel_string"
             "imports vrel_string.dll and vrel_config.dll")

# The frame's marker text stays in the file's static data.
file(STRINGS ${DLL} marker REGEX "^VREL_SIG,name=vrel_script_helper,type=LIB,version=")
expect_match("${marker}" "." "the frame's marker text")

execute_process(COMMAND ${WINDRES} -J coff -i ${DLL} -O rc
    OUTPUT_VARIABLE resources RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${WINDRES} could not read the resources of ${DLL}")
endif()
expect_match("${resources}" "FILEVERSION 1, 0, 0, 1\n" "file version 1.0.0.1")
expect_match("${resources}" "PRODUCTVERSION 1, 0, 0, 1\n" "product version 1.0.0.1")
expect_match("${resources}" "FILETYPE 0x2\n" "file type DLL")
string(REGEX MATCHALL "BLOCK \"[0-9a-fA-F]+\"" tables "${resources}")
expect_equal("${tables}" "BLOCK \"080904b0\"" "one string table, 080904b0")
foreach(entry CompanyName FileDescription InternalName LegalCopyright ProductName)
    expect_match("${resources}" "VALUE \"${entry}\", \"[^\"]+\"" "a ${entry} text")
endforeach()
expect_match("${resources}" "VALUE \"FileVersion\", \"1, 0, 0, 1\"" "FileVersion text")
expect_match("${resources}" "VALUE \"ProductVersion\", \"1, 0, 0, 1\"" "ProductVersion text")
get_filename_component(file_name ${DLL} NAME)
expect_match("${resources}" "VALUE \"OriginalFilename\", \"${file_name}\"" "OriginalFilename")
expect_match("${resources}" "VALUE \"Translation\", 0x809, 1200" "translation 0x809, 1200")
string(REGEX MATCHALL "\n[0-9]+ 24 " manifests "${resources}")
expect_equal("${manifests}" "\n2 24 " "one manifest, resource 2 of type 24")
expect_match("${resources}" "requestedExecutionLevel level=\"\"asInvoker\"\""
             "the manifest asks for asInvoker")

if(failures)
    message(FATAL_ERROR "${DLL}:\n${failures}")
endif()
message(STATUS "${DLL}: export, imports, version resource and manifest as expected")
