# Tests of the simulated controller library. They link libtarnellapi.so
# directly and open its variants from the build's lib/ folder.
if(TARGET tarnellapi)
    file(GLOB TARNELLSIM_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp)
    add_executable(tarnellsim_tests ${TARNELLSIM_TEST_SOURCES})
    target_link_libraries(tarnellsim_tests PRIVATE tarnellapi test_support ${CMAKE_DL_LIBS})
    target_compile_definitions(tarnellsim_tests PRIVATE
        TARNELLSIM_LIB_DIR="$<TARGET_FILE_DIR:tarnellapi>")
    add_dependencies(tarnellsim_tests tarnellapi_no_constructorok tarnellapi_no_saftestatus
                     tarnellapi_no_dlinit tarnellapi_constructor_fails)
    tarnell_add_gtest(tarnellsim_tests)
endif()
