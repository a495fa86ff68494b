# Tests of the CIM provider module libkrnacim:
# - provider_tests: its sources, linked directly, over the simulated
#   families (provider base, builders, logger, utilities, pattern, volumes);
# - krnacim_tests (module/): the module as a CIM server loads it, through
#   the test broker and CMPI alone, and cim_enum over it.
# Both link the simulated controller C API (under the sanitizers the core's
# own dlopen cannot use its search path) and the family stand-ins, whose
# simulations they set. Every Pelm library makes the Pelm type's
# inter-process lock, which the programs remove again (PelmTestSupport.h).
if(TARGET krnacim)
    file(GLOB PROVIDER_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp)
    add_executable(provider_tests ${PROVIDER_TEST_SOURCES} ${PROJECT_SOURCE_DIR}/tests/cim_broker/MonitorLibrariesAsan.cpp)
    cimple_class_table(provider_tests ${CMAKE_CURRENT_LIST_DIR}/PatternClasses.mof)
    target_include_directories(provider_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/tests/monitor)
    # The monitor fixture (directories, clock and sleep of the monitor core).
    target_compile_definitions(provider_tests PRIVATE MONITOR_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/monitor/data")
    target_link_libraries(provider_tests PRIVATE krnacim_objects tarnellapi test_support)
    tarnell_add_gtest(provider_tests RESOURCE_LOCK StorLock512)

    file(GLOB KRNACIM_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/module/*Test.cpp)
    add_executable(krnacim_tests ${KRNACIM_TEST_SOURCES} ${PROJECT_SOURCE_DIR}/tests/cim_broker/MonitorLibrariesAsan.cpp)
    target_include_directories(krnacim_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
    # libwatchqorl too: the monitor core's seams (sleep, maps file), served
    # by it for the whole process as for the module.
    target_link_libraries(krnacim_tests PRIVATE cim_broker cimple veskcore pelmcore tarnellapi watchqorl test_support
                                                ${CMAKE_DL_LIBS})
    target_include_directories(krnacim_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/monitor)
    target_compile_definitions(krnacim_tests PRIVATE MONITOR_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/monitor/data")
    target_compile_definitions(krnacim_tests PRIVATE KRNACIM_MODULE="$<TARGET_FILE:krnacim>"
                                                     CIM_ENUM="$<TARGET_FILE:cim_enum>")
    # The deployment: the class table, the class and registration files written
    # from the module, and cmake --install of this build.
    target_compile_definitions(krnacim_tests PRIVATE
        KRNACIM_CLASS_TABLE="$<TARGET_PROPERTY:krnacim_objects,CIMPLE_CLASS_TABLE>"
        KRNACIM_DEPLOY_DIR="$<TARGET_PROPERTY:krnacim_deployment,CIMPLE_DEPLOYMENT_DIR>"
        KRNACIM_BUILD_DIR="${PROJECT_BINARY_DIR}" CMAKE_COMMAND="${CMAKE_COMMAND}")
    add_dependencies(krnacim_tests krnacim cim_enum krnacim_deployment)
    tarnell_add_gtest(krnacim_tests RESOURCE_LOCK StorLock512)

    # The family and monitor libraries in their load order: libwatchqorl
    # ahead of the other monitor libraries serves the monitor-core names.
    add_test(NAME krnacim.load_order
        COMMAND sh -c "readelf -d \"$0\" | sed -n 's/.*(NEEDED).*\\[\\(lib[a-z]*\\)\\.so.*/\\1/p' | grep -E '^lib(veskcore|pelmcore|tarnellcore|watchqorl|watchpelm|watchtarnell)$' | tr '\\n' ' ' | grep -qx 'libveskcore libpelmcore libtarnellcore libwatchqorl libwatchpelm libwatchtarnell '" $<TARGET_FILE:krnacim>)

    # Besides the providers' factories: cimple_module, the heap operators
    # with the deleter of the module's own heap ownership, and the test seam
    # of its logs.
    add_test(NAME krnacim.exports
        COMMAND ${PROJECT_SOURCE_DIR}/tests/external/cimple/check-exports.sh $<TARGET_FILE:krnacim>
            --allow "*_Provider_Create_*MI" cimple_module dllSafeDeleteKrnaCim krnaSetLogDirectory
            _Znwm _Znam _ZnwmRKSt9nothrow_t _ZnamRKSt9nothrow_t
            _ZdlPv _ZdaPv _ZdlPvm _ZdaPvm _ZdlPvRKSt9nothrow_t _ZdaPvRKSt9nothrow_t)
endif()
