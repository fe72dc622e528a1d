# The Windows build's tests: GoogleTest compiled from Debian's sources with the cross
# compiler, and every test program run under Wine in a private prefix.

set(VELTARO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELTARO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(lib gtest gtest_main gmock gmock_main)
    # Their code is not ours: its warnings are not our errors. (It names itself GTest::*.)
    target_compile_options(${lib} PRIVATE -Wno-error)
endforeach()

# Test programs list their cases when ctest runs, not when they are built, so that building
# needs no Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
