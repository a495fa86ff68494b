# Both monitor libraries in one process: a module linked like the provider
# module runs a monitor of each family, and a test program that links no
# monitor library opens it.
if(TARGET watchpelm AND TARGET watchtarnell AND TARGET tarnellapi)
    add_library(bothmonitors MODULE ${CMAKE_CURRENT_LIST_DIR}/BothMonitorsModule.cpp
                ${PROJECT_SOURCE_DIR}/src/RaidLib/Util/dllSafeMem.cpp)
    target_compile_definitions(bothmonitors PRIVATE DLLSAFE_DELETER_NAME=dllSafeDeleteBothMonitors)
    # The provider module's order, each library kept; the Tarnell simulator,
    # whose control interface the module drives, comes after them.
    # The libraries are named on the link line ahead of CMake's own list, which
    # would put the family libraries after the monitor libraries that use them.
    target_link_options(bothmonitors PRIVATE -Wl,--no-undefined -Wl,--no-as-needed
        $<TARGET_FILE:pelmcore> $<TARGET_FILE:tarnellcore> $<TARGET_FILE:watchpelm> $<TARGET_FILE:watchtarnell>)
    target_link_libraries(bothmonitors PRIVATE pelmcore tarnellcore watchpelm watchtarnell tarnellapi)
    set_target_properties(bothmonitors PROPERTIES BUILD_RPATH "$<TARGET_FILE_DIR:watchpelm>")

    add_executable(bothmonitors_tests ${CMAKE_CURRENT_LIST_DIR}/BothMonitorsTest.cpp)
    target_link_libraries(bothmonitors_tests PRIVATE test_support ${CMAKE_DL_LIBS})
    target_compile_definitions(bothmonitors_tests PRIVATE
        BOTH_MONITORS_MODULE="$<TARGET_FILE:bothmonitors>"
        MONITOR_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../data"
        TARNELL_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../tarnell/data")
    add_dependencies(bothmonitors_tests bothmonitors)
    # The Pelm library takes the Pelm type's inter-process lock.
    tarnell_add_gtest(bothmonitors_tests RESOURCE_LOCK StorLock512)
endif()
