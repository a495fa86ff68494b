# Tests of the Pelm family monitor (libwatchpelm) over our Pelm storage
# library and its simulated controllers, in the 64-bit and the 32-bit build.
file(GLOB PELM_MONITOR_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp)
add_executable(pelmmonitor_tests ${PELM_MONITOR_TEST_SOURCES})
target_link_libraries(pelmmonitor_tests PRIVATE watchpelm pelmcore test_support)
target_include_directories(pelmmonitor_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_compile_definitions(pelmmonitor_tests PRIVATE
    MONITOR_CATALOGUE="$<TARGET_FILE_DIR:watchpelm>/RaidNLS.properties"
    MONITOR_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../data")
# The Pelm libraries make the Pelm type's inter-process lock (PelmTestSupport.h).
tarnell_add_gtest(pelmmonitor_tests RESOURCE_LOCK StorLock512)
