# The binding tests (BindingTest.cpp, part of core_tests) run against the
# simulated controller library: core_tests links libtarnellapi.so, so the
# core's dlopen by name finds that copy, and opens the variants by path.
if(TARGET tarnellapi)
    target_link_libraries(core_tests PRIVATE tarnellapi)
    add_dependencies(core_tests tarnellapi_no_constructorok tarnellapi_no_saftestatus
                     tarnellapi_no_dlinit tarnellapi_constructor_fails)
    target_compile_definitions(core_tests PRIVATE
        TARNELLAPI_VARIANT_DIR="$<TARGET_FILE_DIR:tarnellapi>"
        TARNELLAPI_VARIANT_NO_CONSTRUCTOROK="$<TARGET_FILE_NAME:tarnellapi_no_constructorok>"
        TARNELLAPI_VARIANT_NO_SAFTE_STATUS="$<TARGET_FILE_NAME:tarnellapi_no_saftestatus>"
        TARNELLAPI_VARIANT_NO_HOOKS="$<TARGET_FILE_NAME:tarnellapi_no_dlinit>"
        TARNELLAPI_VARIANT_CONSTRUCTOR_FAILS="$<TARGET_FILE_NAME:tarnellapi_constructor_fails>")
endif()
