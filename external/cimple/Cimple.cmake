# Build helpers of the provider framework:
#
#   cimple_class_table(<target> <table>)
#     generates the classes of the class table <table> (a .mof file) with
#     cimple_gen into the build tree and compiles them into <target>, whose
#     sources then include "<table stem>.h"; the target's property
#     CIMPLE_CLASS_TABLE names the table.
#
#   cimple_module_exports(<target> [<symbol pattern>...])
#     limits what the module <target> exports to cimple_module, the providers'
#     CMPI factories and the given extra symbols (a linker version script):
#     template code the module instantiates stays inside it.
#
#   cimple_deployment(<target> NAMESPACE <ns> SCHEMA <version>
#                     [INTEROP <class>...] [NOT_IN_SCHEMA <class>...]
#                     [VENDOR <text>] [VERSION <text>])
#     writes, whenever the module <target> (lib<target>.so) is built, its class
#     files for a CIM server and its provider registrations for sfcb and
#     OpenPegasus into deploy/ of the current build folder, with cimple_deploy
#     from the built module itself (gen/cimple_deploy.cpp tells the options and
#     the files), in the target <target>_deployment, which every build makes;
#     <target>_DEPLOYMENT_FILES lists them, the property CIMPLE_DEPLOYMENT_DIR
#     of that target names their folder.
if(NOT TARGET cimple_gen)
    add_executable(cimple_gen ${CMAKE_CURRENT_LIST_DIR}/gen/cimple_gen.cpp)
    # Built where a module's deployment needs it; it reads a module through
    # the framework's headers alone.
    add_executable(cimple_deploy EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/gen/cimple_deploy.cpp)
    target_include_directories(cimple_deploy PRIVATE ${CMAKE_CURRENT_LIST_DIR}/include
                                                     ${CMAKE_CURRENT_LIST_DIR}/../cmpi)
    target_compile_definitions(cimple_deploy PRIVATE CMPI_PLATFORM_LINUX_GENERIC_GNU)
    target_link_libraries(cimple_deploy PRIVATE ${CMAKE_DL_LIBS})
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
    set_property(TARGET ${target} PROPERTY CIMPLE_CLASS_TABLE ${table})
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

function(cimple_deployment target)
    cmake_parse_arguments(ARG "" "NAMESPACE;SCHEMA;VENDOR;VERSION" "INTEROP;NOT_IN_SCHEMA" ${ARGN})
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/deploy)
    set(files ${dir}/${target}.mof ${dir}/${target}-interop.mof ${dir}/${target}.reg ${dir}/${target}-interop.reg
              ${dir}/${target}-pegasus.mof)
    set(args --namespace ${ARG_NAMESPACE} --schema ${ARG_SCHEMA})
    foreach(class ${ARG_INTEROP})
        list(APPEND args --interop ${class})
    endforeach()
    foreach(class ${ARG_NOT_IN_SCHEMA})
        list(APPEND args --not-in-schema ${class})
    endforeach()
    if(ARG_VENDOR)
        list(APPEND args --vendor ${ARG_VENDOR})
    endif()
    if(ARG_VERSION)
        list(APPEND args --version ${ARG_VERSION})
    endif()
    file(MAKE_DIRECTORY ${dir})
    add_custom_command(OUTPUT ${files}
        COMMAND cimple_deploy $<TARGET_FILE:${target}> ${dir} ${args}
        DEPENDS cimple_deploy ${target}
        COMMENT "Writing the class files and provider registrations of lib${target}.so")
    add_custom_target(${target}_deployment ALL DEPENDS ${files})
    set_property(TARGET ${target}_deployment PROPERTY CIMPLE_DEPLOYMENT_DIR ${dir})
    set(${target}_DEPLOYMENT_FILES ${files} PARENT_SCOPE)
endfunction()
