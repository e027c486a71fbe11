# GoogleTest and GoogleMock built for the target from Debian's googletest sources: the
# libgtest-dev package holds a build for the host only.
set(PORTICO_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest's sources, built for a cross build")
if(NOT EXISTS ${PORTICO_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${PORTICO_GOOGLETEST_SOURCE_DIR}: "
                      "install Debian's googletest package (scripts/install-deps.sh)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "Install GoogleTest with the project")
add_subdirectory(${PORTICO_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest
                 EXCLUDE_FROM_ALL SYSTEM)
# Its targets carry the names that find_package(GTest) gives on the host: GTest::gmock_main ...
