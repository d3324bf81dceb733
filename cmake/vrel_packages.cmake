# The kit as packages for Linux, made by cpack in the build folder:
#
#   cpack -G DEB    vrel-kit_<version>_<arch>.deb, installed under /usr
#                   (apt install ./vrel-kit_<version>_<arch>.deb)
#   cpack -G TGZ    vrel-kit-<version>-Linux.tar.gz, one folder to unpack anywhere
#
# Each holds the install component "kit" alone (cmake/vrel_install.cmake), not
# the components of this tree. Windows builds give a zip per component instead
# (vrel_add_component).
set(CPACK_PACKAGE_NAME vrel-kit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Cue control team")
set(CPACK_PACKAGE_CONTACT "Cue control team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Kit for panel components of the vrel family: frame, headers, CMake package and tools")
set(CPACK_PACKAGE_DESCRIPTION
    "The frame every script component of the family links in, the boundary's headers, the \
string and configuration libraries, the CMake package that gives vrel_add_component, and \
the tools: vrel-devhost (scenarios, console, settings check, live page, a new component) \
and vrel-validate.")
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME})
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};kit;/")
set(CPACK_GENERATOR TGZ)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# The tools' libraries (libstdc++, pugixml, libedit, cpp-httplib) from what
# they link; what an author builds with, recommended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/lib)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cmake (>= 3.20), g++ | clang")

include(CPack)
