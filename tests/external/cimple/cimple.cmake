# The provider framework's tests: its own cases over the test classes, and a
# small test module ("Test_Module") driven through the test broker by CMPI.
if(TARGET cimple)
    add_library(cimple_test_module SHARED ${CMAKE_CURRENT_LIST_DIR}/TestModule.cpp)
    cimple_class_table(cimple_test_module ${CMAKE_CURRENT_LIST_DIR}/TestClasses.mof)
    target_link_libraries(cimple_test_module PRIVATE cimple)
    target_link_options(cimple_test_module PRIVATE -Wl,--no-undefined)
    cimple_module_exports(cimple_test_module)

    add_executable(cimple_tests ${CMAKE_CURRENT_LIST_DIR}/FrameworkTest.cpp ${CMAKE_CURRENT_LIST_DIR}/AdapterTest.cpp)
    cimple_class_table(cimple_tests ${CMAKE_CURRENT_LIST_DIR}/TestClasses.mof)
    target_link_libraries(cimple_tests PRIVATE cimple cim_broker test_support)
    target_compile_definitions(cimple_tests PRIVATE CIMPLE_TEST_MODULE="$<TARGET_FILE:cimple_test_module>")
    add_dependencies(cimple_tests cimple_test_module)
    tarnell_add_gtest(cimple_tests)

    # A module exports its factories and cimple_module, nothing else.
    add_test(NAME cimple_test_module.exports
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-exports.sh $<TARGET_FILE:cimple_test_module> cimple_module
            TEST_Widget_Provider_Create_InstanceMI TEST_Widget_Provider_Create_MethodMI
            TEST_Gadget_Provider_Create_InstanceMI TEST_Gadget_Provider_Create_MethodMI
            TEST_Link_Provider_Create_InstanceMI TEST_Link_Provider_Create_MethodMI
            TEST_Link_Provider_Create_AssociationMI
            TEST_Alert_Provider_Create_IndicationMI TEST_Alert_Provider_Create_MethodMI)
endif()
