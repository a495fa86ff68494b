# The main-job program against the simulator's default scenario: its output
# must be well-formed XML (xmllint) naming both controllers, their drives and
# logical drives, and the running rebuild; without a usable controller
# library it is the document of an empty system, and a document that cannot
# be written fails the program.
if(NOT TARNELL_CORE_ONLY)
    find_program(XMLLINT xmllint REQUIRED)
    add_test(NAME ShowConfig.DefaultScenario
             COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-show-config.sh $<TARGET_FILE:show_config> ${XMLLINT}
                     $<TARGET_FILE_DIR:tarnellapi>)
    set_tests_properties(ShowConfig.DefaultScenario PROPERTIES ENVIRONMENT "TZ=UTC" TIMEOUT 120)
endif()
