# CLI11 for the Windows cross-build: the library is headers only, so Debian's
# copy (libcli11-dev, /usr/include/CLI) serves every target.
if(TARGET CLI11::CLI11)
    set(CLI11_FOUND TRUE)
    return()
endif()
find_path(VREL_CLI11_INCLUDE_DIR CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
    NO_DEFAULT_PATH)
if(NOT VREL_CLI11_INCLUDE_DIR)
    set(CLI11_FOUND FALSE)
    if(CLI11_FIND_REQUIRED)
        message(FATAL_ERROR "CLI11 not found: install libcli11-dev")
    endif()
    return()
endif()
add_library(CLI11::CLI11 INTERFACE IMPORTED)
# Only CLI11's own headers: the rest of /usr/include is Linux's.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/cli11/include)
file(CREATE_LINK ${VREL_CLI11_INCLUDE_DIR}/CLI ${CMAKE_BINARY_DIR}/cli11/include/CLI SYMBOLIC)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/cli11/include)
set(CLI11_FOUND TRUE)
