# The Java storage bridge.
#
# bridge_tests (64-bit only: there is no 32-bit libjvm) starts one JVM per
# process through the invocation API with -Xcheck:jni, loads the core from a
# Java class and calls the natives as Java methods. A warning of the JNI
# checks fails the test. The tests carry the label "jvm", so a lane whose
# runtime cannot host a JVM leaves them out with `ctest -LE jvm`.
if(TARGET jvmhost AND TARGET tarnellapi)
    set(BRIDGE_TEST_CLASSES ${CMAKE_CURRENT_BINARY_DIR}/bridge-test-classes)
    tarnell_add_java(bridge_test_java OUTPUT ${BRIDGE_TEST_CLASSES}
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/jvm/java/tarnelltest/NativeMethods.java)

    file(GLOB BRIDGE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/jvm/*.cpp)
    add_executable(bridge_tests ${BRIDGE_TEST_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/jvm/JvmTest.cpp)
    target_link_libraries(bridge_tests PRIVATE tarnellcore tarnellapi jvmhost test_support)
    target_compile_definitions(bridge_tests PRIVATE TARNELL_TEST_CLASSPATH="${BRIDGE_TEST_CLASSES}")
    add_dependencies(bridge_tests bridge_test_java)
    gtest_discover_tests(bridge_tests
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120
        PROPERTIES ENVIRONMENT "TZ=UTC" TIMEOUT 300 LABELS jvm
                   FAIL_REGULAR_EXPRESSION "WARNING in native method|WARNING: JNI local refs")
endif()

# Both lanes: the core exports the 51 natives of the table, GetTarnellCore,
# ReleaseTarnellCore and its load and unload hooks.
add_test(NAME tarnellcore.exports_bridge
    COMMAND ${PROJECT_SOURCE_DIR}/tests/support/check-jni-exports.sh $<TARGET_FILE:tarnellcore>
            com_zeq_sysmgt_raidmgr_dataproc_StorDataProc
            ${PROJECT_SOURCE_DIR}/src/RaidLib/JavaInterface/StorDataProcNatives.h 3 51
            GetTarnellCore ReleaseTarnellCore my_init my_fini)

# Both lanes: the unload hook deletes a library a host left to the bridge.
if(TARGET tarnellapi)
    add_executable(bridge_unload_check ${CMAKE_CURRENT_LIST_DIR}/BridgeUnloadCheck.cpp)
    target_link_libraries(bridge_unload_check PRIVATE tarnellcore tarnellapi)
    set(unload_dir ${CMAKE_CURRENT_BINARY_DIR}/bridge-unload-check)
    file(MAKE_DIRECTORY ${unload_dir})
    add_test(NAME tarnellcore.bridge_library_deleted_at_unload COMMAND bridge_unload_check)
    set_tests_properties(tarnellcore.bridge_library_deleted_at_unload PROPERTIES
        WORKING_DIRECTORY ${unload_dir} ENVIRONMENT "TZ=UTC"
        PASS_REGULAR_EXPRESSION "library deleted at unload"
        FAIL_REGULAR_EXPRESSION "Sanitizer|runtime error")
endif()
