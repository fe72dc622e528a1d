# The connection tests under Wine. The test bodies that do not depend on the platform are
# the POSIX build's own (transfer_test.cpp, lifecycle_test.cpp); win32/ holds the harness that reaches the
# native pty host, and the tests of what only the Win32 backend does.
add_library(brenlow_test_support STATIC win32/pty_support.cpp recorders.cpp)
target_include_directories(brenlow_test_support
    PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/win32 ${CMAKE_CURRENT_SOURCE_DIR}
    PRIVATE ${PROJECT_SOURCE_DIR}/tests/win32)
target_link_libraries(brenlow_test_support PUBLIC brenlow GTest::gtest ws2_32)

add_executable(brenlow_conn_test
    transfer_test.cpp lifecycle_test.cpp win32/windows_conn_test.cpp)
target_link_libraries(brenlow_conn_test PRIVATE brenlow_test_support GTest::gtest_main)
target_include_directories(brenlow_conn_test PRIVATE ${PROJECT_SOURCE_DIR}/serial_link/src)
gtest_discover_tests(brenlow_conn_test
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS serial_link TIMEOUT 120)

# What brenlow.dll exports, read from its export table.
add_test(NAME brenlow_exports
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/check_exports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:brenlow>)
set_tests_properties(brenlow_exports PROPERTIES LABELS serial_link)

# The failure texts of the Win32 backend, which the DLL keeps hidden.
add_executable(brenlow_platform_test win32/open_failure_test.cpp)
target_link_libraries(brenlow_platform_test PRIVATE brenlow_platform GTest::gtest_main)
gtest_discover_tests(brenlow_platform_test
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS serial_link TIMEOUT 60)
