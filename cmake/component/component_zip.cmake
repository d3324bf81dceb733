# Packs a Windows component for a facility, run at build time by
# vrel_add_component: NAME/ holding the DLL, the files that go beside it
# (FILES, "|"-separated), README.txt and SHA256SUMS, which lists the sum of
# every other file in the form `sha256sum -c` reads, zipped as ZIP. STAGING is
# a folder of its own, emptied first.
string(REPLACE "|" ";" files "${FILES}")
set(folder ${STAGING}/${NAME})
file(REMOVE_RECURSE ${STAGING})
file(MAKE_DIRECTORY ${folder})
file(COPY ${DLL} ${files} DESTINATION ${folder})

get_filename_component(DLL_NAME ${DLL} NAME)
set(BESIDE "")
foreach(file IN LISTS files)
    get_filename_component(file_name ${file} NAME)
    string(APPEND BESIDE "  ${file_name}\n")
endforeach()
configure_file(${README} ${folder}/README.txt @ONLY NEWLINE_STYLE CRLF)

file(GLOB packed RELATIVE ${folder} ${folder}/*)
list(SORT packed)
set(sums "")
foreach(file IN LISTS packed)
    file(SHA256 ${folder}/${file} sum)
    string(APPEND sums "${sum}  ${file}\n")
endforeach()
file(WRITE ${folder}/SHA256SUMS "${sums}")

get_filename_component(zip_folder ${ZIP} DIRECTORY)
file(MAKE_DIRECTORY ${zip_folder})
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${NAME}
    WORKING_DIRECTORY ${STAGING} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "could not write ${ZIP} (${status})")
endif()
