# watch_events over the simulators' default scenarios: a fresh run reports
# both controllers as added, a failing member disk gives its defunct-drive
# event (for the Pelm monitor too), the ending rebuild its completion once,
# and a bad argument or events that cannot be written fail.
if(NOT TARNELL_CORE_ONLY)
    add_test(NAME WatchEvents.ScriptedChanges
             COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-watch-events.sh $<TARGET_FILE:watch_events>)
    set_tests_properties(WatchEvents.ScriptedChanges PROPERTIES ENVIRONMENT "TZ=UTC" TIMEOUT 120
                         RUN_SERIAL TRUE)
endif()
