# Tests of the Tarnell family monitor, over the simulated controllers, in
# both the 64-bit and the 32-bit build.
file(GLOB TARNELL_MONITOR_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp)
add_executable(tarnell_monitor_tests ${TARNELL_MONITOR_TEST_SOURCES})
target_link_libraries(tarnell_monitor_tests PRIVATE watchtarnell tarnellapi test_support)
target_include_directories(tarnell_monitor_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_compile_definitions(tarnell_monitor_tests PRIVATE
    MONITOR_CATALOGUE="$<TARGET_FILE_DIR:watchtarnell>/RaidNLS.properties"
    MONITOR_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../data"
    TARNELL_MONITOR_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/data")
tarnell_add_gtest(tarnell_monitor_tests)
