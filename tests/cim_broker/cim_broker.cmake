# The test broker's own tests: its strictness, over the classes of the
# framework's test module.
if(TARGET cimple)
    add_executable(cim_broker_tests ${CMAKE_CURRENT_LIST_DIR}/BrokerTest.cpp)
    target_link_libraries(cim_broker_tests PRIVATE cim_broker test_support)
    target_compile_definitions(cim_broker_tests PRIVATE CIMPLE_TEST_MODULE="$<TARGET_FILE:cimple_test_module>")
    add_dependencies(cim_broker_tests cimple_test_module)
    tarnell_add_gtest(cim_broker_tests)
endif()
