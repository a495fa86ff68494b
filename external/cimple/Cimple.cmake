# Build helpers of the provider framework:
#
#   cimple_class_table(<target> <table>)
#     generates the classes of the class table <table> (a .mof file) with
#     cimple_gen into the build tree and compiles them into <target>, whose
#     sources then include "<table stem>.h".
#
#   cimple_module_exports(<target> [<symbol pattern>...])
#     limits what the module <target> exports to cimple_module, the providers'
#     CMPI factories and the given extra symbols (a linker version script):
#     template code the module instantiates stays inside it.
if(NOT TARGET cimple_gen)
    add_executable(cimple_gen ${CMAKE_CURRENT_LIST_DIR}/gen/cimple_gen.cpp)
endif()

function(cimple_class_table target table)
    get_filename_component(table ${table} ABSOLUTE)
    get_filename_component(stem ${table} NAME_WE)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/cimple_gen_${target})
    file(MAKE_DIRECTORY ${dir})
    add_custom_command(OUTPUT ${dir}/${stem}.h ${dir}/${stem}.cpp
        COMMAND cimple_gen ${table} ${dir} ${stem}
        DEPENDS cimple_gen ${table}
        COMMENT "Generating the classes of ${stem}")
    target_sources(${target} PRIVATE ${dir}/${stem}.cpp ${dir}/${stem}.h)
    target_include_directories(${target} PUBLIC ${dir})
endfunction()

function(cimple_module_exports target)
    set(symbols cimple_module *_Create_InstanceMI *_Create_MethodMI *_Create_AssociationMI
                *_Create_IndicationMI ${ARGN})
    list(JOIN symbols "; " global)
    set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.exports)
    file(WRITE ${map} "{ global: ${global}; local: *; };\n")
    target_link_options(${target} PRIVATE -Wl,--version-script=${map})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
endfunction()
