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

# Native test support, built with the machine's own compilers: the host that plays the
# modems, and the preload library that lets Wine wait on a pseudo-terminal, in a 32-bit and
# a 64-bit build under the folder names that ld.so gives $LIB.
find_program(VELTARO_NATIVE_CC NAMES gcc cc REQUIRED)
find_program(VELTARO_NATIVE_CXX NAMES g++ c++ REQUIRED)
set(native_dir ${CMAKE_BINARY_DIR}/test-native)
set(pty_host ${native_dir}/brenlow-pty-host)
set(native_flags -O2 -Wall -Wextra -Werror)
add_custom_command(OUTPUT ${pty_host}
    COMMAND ${VELTARO_NATIVE_CXX} -std=c++20 -Wpedantic ${native_flags}
            -o ${pty_host} ${CMAKE_CURRENT_LIST_DIR}/pty_host.cpp
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/pty_host.cpp ${CMAKE_CURRENT_LIST_DIR}/host_hex.h
    COMMENT "Building the native pty host")
set(native_outputs ${pty_host})
foreach(abi "i386-linux-gnu;-m32" "x86_64-linux-gnu;-m64")
    list(GET abi 0 lib_dir)
    list(GET abi 1 abi_flag)
    set(preload ${native_dir}/lib/${lib_dir}/libbrenlow_pty_modem_lines.so)
    add_custom_command(OUTPUT ${preload}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${native_dir}/lib/${lib_dir}
        COMMAND ${VELTARO_NATIVE_CC} ${abi_flag} -shared -fPIC ${native_flags}
                -o ${preload} ${CMAKE_CURRENT_LIST_DIR}/pty_modem_lines.c -ldl
        DEPENDS ${CMAKE_CURRENT_LIST_DIR}/pty_modem_lines.c
        COMMENT "Building the pty modem-lines preload (${lib_dir})")
    list(APPEND native_outputs ${preload})
endforeach()
add_custom_target(windows_test_natives ALL DEPENDS ${native_outputs})

set(CMAKE_CROSSCOMPILING_EMULATOR
    sh ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix ${pty_host} ${native_dir})
