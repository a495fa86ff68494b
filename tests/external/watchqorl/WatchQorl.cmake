# Tests of the Qorl family monitor stand-in (libwatchqorl) over the Vesk
# storage library and its simulated controllers.
if(TARGET watchqorl)
    add_executable(watchqorl_tests ${CMAKE_CURRENT_LIST_DIR}/QorlRaidMonitorTest.cpp)
    target_link_libraries(watchqorl_tests PRIVATE watchqorl veskcore test_support)
    target_include_directories(watchqorl_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/monitor)
    target_compile_definitions(watchqorl_tests PRIVATE
        MONITOR_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/monitor/data")
    tarnell_add_gtest(watchqorl_tests)

    # The monitor-core names the provider module binds by name, and the heap
    # ownership, exported with default visibility, as by the other monitors.
    add_test(NAME watchqorl.exports
        COMMAND sh ${CMAKE_SOURCE_DIR}/tests/monitor/check-exports.sh $<TARGET_FILE:watchqorl>
            $<TARGET_PROPERTY:watchqorl,MONITOR_DELETER>)
endif()
