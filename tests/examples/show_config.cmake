# The main-job program against the simulator's default scenario: its output
# must be well-formed XML (xmllint) naming both controllers, their drives and
# logical drives, and the running rebuild.
if(NOT TARNELL_CORE_ONLY)
    find_program(XMLLINT xmllint REQUIRED)
    add_test(NAME ShowConfig.DefaultScenario
             COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-show-config.sh $<TARGET_FILE:show_config> ${XMLLINT})
    set_tests_properties(ShowConfig.DefaultScenario PROPERTIES ENVIRONMENT "TZ=UTC" TIMEOUT 120)
endif()
