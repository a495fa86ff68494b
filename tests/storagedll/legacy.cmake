# The legacy Java controller bridge.
#
# legacy_bridge_tests (64-bit only: there is no 32-bit libjvm) starts one JVM
# with -Xcheck:jni as bridge_tests does, and calls the StorageDLL natives as
# Java methods over the simulated controller C API and its variants. A
# warning of the JNI checks fails the test.
if(TARGET jvmhost AND TARGET tarnellapi)
    set(LEGACY_TEST_CLASSES ${CMAKE_CURRENT_BINARY_DIR}/legacy-test-classes)
    file(GLOB LEGACY_TEST_JAVA CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/jvm/java/tarnelltest/legacy/*.java)
    tarnell_add_java(legacy_test_java OUTPUT ${LEGACY_TEST_CLASSES}
        SOURCES ${LEGACY_TEST_JAVA}
                ${PROJECT_SOURCE_DIR}/tests/RaidLib/JavaInterface/jvm/java/tarnelltest/NativeMethods.java
        CLASSPATH ${TARNELL_JAVA_CLASSES} DEPENDS tarnell_java)
    # The value classes of an older console, loaded by a class loader of
    # their own.
    set(LEGACY_OLD_CLASSES ${CMAKE_CURRENT_BINARY_DIR}/legacy-old-classes)
    file(GLOB LEGACY_OLD_JAVA CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/jvm/java-old/com/zeq/sysmgt/storage/api/*.java)
    tarnell_add_java(legacy_old_java OUTPUT ${LEGACY_OLD_CLASSES} SOURCES ${LEGACY_OLD_JAVA})

    file(GLOB LEGACY_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/jvm/*.cpp)
    add_executable(legacy_bridge_tests ${LEGACY_TEST_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/jvm/JvmTest.cpp)
    target_link_libraries(legacy_bridge_tests PRIVATE tarnellcore tarnellapi jvmhost test_support)
    target_compile_definitions(legacy_bridge_tests PRIVATE
        TARNELL_TEST_CLASSPATH="${LEGACY_TEST_CLASSES}"
        LEGACY_OLD_CLASSES="${LEGACY_OLD_CLASSES}"
        TARNELLAPI_NO_CONSTRUCTOROK="$<TARGET_FILE:tarnellapi_no_constructorok>"
        TARNELLAPI_CONSTRUCTOR_FAILS="$<TARGET_FILE:tarnellapi_constructor_fails>"
        TARNELLAPI_NO_SAFTESTATUS="$<TARGET_FILE:tarnellapi_no_saftestatus>")
    add_dependencies(legacy_bridge_tests legacy_test_java legacy_old_java tarnellapi_no_constructorok
                     tarnellapi_constructor_fails tarnellapi_no_saftestatus)
    gtest_discover_tests(legacy_bridge_tests
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120
        PROPERTIES ENVIRONMENT "TZ=UTC" TIMEOUT 300 LABELS jvm
                   FAIL_REGULAR_EXPRESSION "WARNING in native method|WARNING: JNI local refs")
endif()

# Both lanes: the core exports the 170 natives of the table, DlInit, DlTerm and
# GetDllPointer.
add_test(NAME tarnellcore.exports_legacy_bridge
    COMMAND ${PROJECT_SOURCE_DIR}/tests/support/check-jni-exports.sh $<TARGET_FILE:tarnellcore>
            com_zeq_sysmgt_storage_base_StorageDLL ${PROJECT_SOURCE_DIR}/src/storagedll/storjdllnatives.h 4 170
            DlInit DlTerm GetDllPointer)
