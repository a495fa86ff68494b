# Both monitor libraries in one process: a module linked like the provider
# module runs a monitor of each family, and a test program that links no
# monitor library opens it.
# The module is built twice: in the provider module's order without
# libwatchqorl (libwatchpelm serves the monitor core) and in its full order
# (libwatchqorl ahead of both family monitor libraries serves it).
if(TARGET watchpelm AND TARGET watchtarnell AND TARGET tarnellapi)
    function(both_monitors_module name)
        set(libraries ${ARGN})
        set(files)
        foreach(library IN LISTS libraries)
            list(APPEND files $<TARGET_FILE:${library}>)
        endforeach()
        add_library(${name} MODULE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/BothMonitorsModule.cpp
                    ${PROJECT_SOURCE_DIR}/src/RaidLib/Util/dllSafeMem.cpp)
        target_compile_definitions(${name} PRIVATE DLLSAFE_DELETER_NAME=dllSafeDeleteBothMonitors)
        # The libraries in the given order, each kept; the Tarnell simulator,
        # whose control interface the module drives, comes after them.
        # They are named on the link line ahead of CMake's own list, which
        # would put the family libraries after the monitor libraries that use them.
        target_link_options(${name} PRIVATE -Wl,--no-undefined -Wl,--no-as-needed ${files})
        target_link_libraries(${name} PRIVATE ${libraries} tarnellapi)
        set_target_properties(${name} PROPERTIES BUILD_RPATH "$<TARGET_FILE_DIR:watchpelm>")
    endfunction()
    both_monitors_module(bothmonitors pelmcore tarnellcore watchpelm watchtarnell)
    set(both_modules BOTH_MONITORS_MODULE="$<TARGET_FILE:bothmonitors>")
    if(TARGET watchqorl)
        both_monitors_module(bothmonitors_qorl veskcore pelmcore tarnellcore watchqorl watchpelm watchtarnell)
        list(APPEND both_modules QORL_MONITORS_MODULE="$<TARGET_FILE:bothmonitors_qorl>")
    endif()

    add_executable(bothmonitors_tests ${CMAKE_CURRENT_LIST_DIR}/BothMonitorsTest.cpp)
    target_link_libraries(bothmonitors_tests PRIVATE test_support ${CMAKE_DL_LIBS})
    target_compile_definitions(bothmonitors_tests PRIVATE
        ${both_modules}
        MONITOR_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../data"
        TARNELL_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../tarnell/data")
    add_dependencies(bothmonitors_tests bothmonitors)
    if(TARGET bothmonitors_qorl)
        add_dependencies(bothmonitors_tests bothmonitors_qorl)
    endif()
    # The Pelm library takes the Pelm type's inter-process lock.
    tarnell_add_gtest(bothmonitors_tests RESOURCE_LOCK StorLock512)
endif()
