# Writes a C++ source that holds files as byte arrays, so that the page is part
# of the program and nothing is read from disk at run time.
#   cmake -DOUTPUT=<file.cpp> -DFILES=<a|b|c> -P embed_files.cmake
# Each file becomes an entry { "name", bytes, size } of embedded_files().
set(body "// Made by devhost/serve/embed_files.cmake from the page's files; do not edit.\n#include \"embedded_files.h\"\n\nnamespace {\n")
set(table "")
string(REPLACE "|" ";" FILES "${FILES}")
set(index 0)
foreach(file IN LISTS FILES)
    get_filename_component(name ${file} NAME)
    file(READ ${file} hex HEX)
    string(LENGTH "${hex}" hexLength)
    math(EXPR size "${hexLength} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
    # Line breaks every 32 bytes keep the generated file readable by tools.
    string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){32})" "\\1\n" bytes "${bytes}")
    string(APPEND body "const char file${index}[] = {\n${bytes}'\\0'};\n")
    string(APPEND table "    {\"${name}\", file${index}, ${size}},\n")
    math(EXPR index "${index} + 1")
endforeach()
string(APPEND body "} // namespace\n\nconst std::vector<embedded_file>& embedded_files() {\n    static const std::vector<embedded_file> files = {\n${table}    };\n    return files;\n}\n")
file(WRITE ${OUTPUT}.new "${body}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
