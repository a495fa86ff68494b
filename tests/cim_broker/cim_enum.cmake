# cim_enum over the framework's test module and over libkrnacim.
if(TARGET cimple)
    add_test(NAME CimEnum.TestModule
             COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-cim-enum.sh $<TARGET_FILE:cim_enum>
                     $<TARGET_FILE:cimple_test_module> ${CMAKE_CURRENT_LIST_DIR}/expected)
    set_tests_properties(CimEnum.TestModule PROPERTIES TIMEOUT 120)
endif()
