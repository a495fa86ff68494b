# The allocation-failure sweeps: programs that define the process's global
# allocation operators (FailingAllocator.cpp) over the core library's own,
# so that one request of the libraries fails as an exhausted heap makes it
# fail. alloc_failure_tests sweeps a configuration read and the Tarnell
# monitor, alloc_failure_cim_tests an enumeration through the provider module
# as the test broker drives it. Neither is part of the 32-bit build; under
# ThreadSanitizer they sweep fewer points (SweepPoints.h).
if(NOT TARNELL_CORE_ONLY)
    add_executable(alloc_failure_tests ${CMAKE_CURRENT_LIST_DIR}/AllocationFailureTest.cpp
                                       ${CMAKE_CURRENT_LIST_DIR}/FailingAllocator.cpp)
    target_link_libraries(alloc_failure_tests PRIVATE watchtarnell tarnellapi test_support ${CMAKE_DL_LIBS})
    target_include_directories(alloc_failure_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/monitor)
    target_compile_definitions(alloc_failure_tests PRIVATE MONITOR_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/monitor/data")
    tarnell_add_gtest(alloc_failure_tests)
endif()
if(TARGET krnacim)
    add_executable(alloc_failure_cim_tests ${CMAKE_CURRENT_LIST_DIR}/CimAllocationFailureTest.cpp
                                           ${CMAKE_CURRENT_LIST_DIR}/FailingAllocator.cpp
                                           ${PROJECT_SOURCE_DIR}/tests/cim_broker/MonitorLibrariesAsan.cpp)
    target_include_directories(alloc_failure_cim_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/provider/module
                                                               ${PROJECT_SOURCE_DIR}/tests/provider)
    # Linked as krnacim_tests is: the family stand-ins whose simulations the
    # test sets, and libwatchqorl ahead of the module's monitor libraries.
    target_link_libraries(alloc_failure_cim_tests PRIVATE cim_broker cimple veskcore pelmcore tarnellapi watchqorl
                                                          test_support ${CMAKE_DL_LIBS})
    target_compile_definitions(alloc_failure_cim_tests PRIVATE KRNACIM_MODULE="$<TARGET_FILE:krnacim>"
                                                               CIM_ENUM="$<TARGET_FILE:cim_enum>")
    add_dependencies(alloc_failure_cim_tests krnacim cim_enum)
    tarnell_add_gtest(alloc_failure_cim_tests RESOURCE_LOCK StorLock512)
endif()
