# monitor_library(<target> <deleter name> [DEFINE <definition>...])
# One monitor library built from the one monitor core of src/monitor, with
# its own heap ownership (dllSafeMem.cpp under its deleter name) and its own
# copy of the core's 32-bit number conversions, which the core keeps hidden.
# A DEFINE is public, so the library's tests compile the headers as the
# library does. Every monitor library exports the same monitor-core names;
# in a process that loads several, the first one loaded serves them.
function(monitor_library target deleter)
    cmake_parse_arguments(ARG "" "" "DEFINE" ${ARGN})
    file(GLOB core_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/monitor/*.cpp)
    add_library(${target} SHARED ${core_sources} ${PROJECT_SOURCE_DIR}/src/RaidLib/Util/dllSafeMem.cpp
        ${PROJECT_SOURCE_DIR}/src/RaidLib/Util/StrToNum32.cpp)
    target_compile_definitions(${target} PRIVATE DLLSAFE_DELETER_NAME=${deleter} PUBLIC ${ARG_DEFINE})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    # The model, the utilities and the storage library interface.
    target_link_libraries(${target} PUBLIC tarnellcore)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
    set_target_properties(${target} PROPERTIES BUILD_RPATH "$ORIGIN" MONITOR_DELETER ${deleter})
    # The message catalogue lies beside the libraries.
    if(TARGET raidnls)
        add_dependencies(${target} raidnls)
    endif()
endfunction()
