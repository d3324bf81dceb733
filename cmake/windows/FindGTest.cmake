# GoogleTest for the Windows cross-build, compiled from the source that
# Debian's libgtest-dev and libgmock-dev install in /usr/src/googletest.
if(TARGET GTest::gtest)
    set(GTest_FOUND TRUE)
    set(GTEST_FOUND TRUE)
    return()
endif()

set(VREL_GTEST_SOURCE_DIR "/usr/src/googletest"
    CACHE PATH "GoogleTest source tree compiled for the Windows cross-build")
if(NOT EXISTS "${VREL_GTEST_SOURCE_DIR}/CMakeLists.txt")
    set(GTest_FOUND FALSE)
    if(GTest_FIND_REQUIRED)
        message(FATAL_ERROR "GoogleTest source not found in ${VREL_GTEST_SOURCE_DIR} "
                            "(Debian: apt-get install libgtest-dev libgmock-dev)")
    endif()
    return()
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory("${VREL_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
# GoogleTest names its targets GTest::gtest and so on itself; the older names
# are added where missing.
foreach(_vrel_gtest_target gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${_vrel_gtest_target})
        add_library(GTest::${_vrel_gtest_target} ALIAS ${_vrel_gtest_target})
    endif()
endforeach()
if(NOT TARGET GTest::GTest)
    add_library(GTest::GTest ALIAS gtest)
endif()
if(NOT TARGET GTest::Main)
    add_library(GTest::Main ALIAS gtest_main)
endif()
set(GTest_FOUND TRUE)
set(GTEST_FOUND TRUE)
