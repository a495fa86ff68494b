# Tests of the monitor core: one program per monitor library, built from the
# same sources (each sees the library's own compile flags), run in both the
# 64-bit and the 32-bit build.
file(GLOB MONITOR_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp)

foreach(monitor watchpelm watchtarnell)
    # TestRaidMonitor: the small family monitor the tests run.
    add_executable(${monitor}_tests ${MONITOR_TEST_SOURCES} ${CMAKE_CURRENT_LIST_DIR}/TestRaidMonitor.cpp)
    # The snapshot tests read live trees of the simulated controllers.
    target_link_libraries(${monitor}_tests PRIVATE ${monitor} tarnellapi test_support)
    target_compile_definitions(${monitor}_tests PRIVATE
        MONITOR_CATALOGUE="$<TARGET_FILE_DIR:${monitor}>/RaidNLS.properties"
        MONITOR_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/data")
    tarnell_add_gtest(${monitor}_tests)

    # The names the provider module binds by name, and the heap ownership,
    # exported with default visibility.
    add_test(NAME ${monitor}.exports
        COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/check-exports.sh $<TARGET_FILE:${monitor}>
            $<TARGET_PROPERTY:${monitor},MONITOR_DELETER>)
endforeach()

# Both monitor libraries export the same monitor-core names.
add_test(NAME MonitorLibraries.same_core_names
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/check-same-names.sh $<TARGET_FILE:watchpelm> $<TARGET_FILE:watchtarnell>)
