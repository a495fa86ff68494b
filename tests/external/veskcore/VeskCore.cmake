# Tests of the Vesk family's storage library stand-in (libveskcore) and its
# simulated controllers.
if(TARGET veskcore)
    file(GLOB VESKCORE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp)
    add_executable(veskcore_tests ${VESKCORE_TEST_SOURCES})
    target_link_libraries(veskcore_tests PRIVATE veskcore test_support)
    tarnell_add_gtest(veskcore_tests)

    # Like every deliverable, the library exports its deleter and the global
    # allocation operators.
    tarnell_add_heap_exports_test(veskcore dllSafeDeleteVeskCore)
endif()
