# Tests of the Pelm family's storage library stand-in (libpelmcore) and its
# simulated controllers.
if(TARGET pelmcore)
    file(GLOB PELMCORE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp)
    add_executable(pelmcore_tests ${PELMCORE_TEST_SOURCES})
    target_link_libraries(pelmcore_tests PRIVATE pelmcore test_support)
    # Every Pelm library makes the Pelm type's inter-process lock in "/" and
    # the test program removes it again (PelmTestSupport.h); programs that
    # make it run one at a time, so that each finds the state it leaves.
    tarnell_add_gtest(pelmcore_tests RESOURCE_LOCK StorLock512)

    # Like every deliverable, the library exports its deleter and the global
    # allocation operators.
    tarnell_add_heap_exports_test(pelmcore dllSafeDeletePelmCore)
endif()
