# Tests of the CIM provider module libkrnacim, which they load through the
# test broker as a CIM server would.
if(TARGET krnacim)
    file(GLOB PROVIDER_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp)
    add_executable(provider_tests ${PROVIDER_TEST_SOURCES})
    target_link_libraries(provider_tests PRIVATE cim_broker cimple test_support ${CMAKE_DL_LIBS})
    target_compile_definitions(provider_tests PRIVATE KRNACIM_MODULE="$<TARGET_FILE:krnacim>")
    add_dependencies(provider_tests krnacim)
    tarnell_add_gtest(provider_tests)

    # Besides the providers' factories: cimple_module, and the heap operators
    # with the deleter of the module's own heap ownership.
    add_test(NAME krnacim.exports
        COMMAND ${PROJECT_SOURCE_DIR}/tests/external/cimple/check-exports.sh $<TARGET_FILE:krnacim>
            --allow "*_Provider_Create_*MI" cimple_module dllSafeDeleteKrnaCim
            _Znwm _Znam _ZnwmRKSt9nothrow_t _ZnamRKSt9nothrow_t
            _ZdlPv _ZdaPv _ZdlPvm _ZdaPvm _ZdlPvRKSt9nothrow_t _ZdaPvRKSt9nothrow_t)
endif()
