# The JDK of the Java bridges: OpenJDK 17 from Debian (openjdk-17-jdk-headless),
# named explicitly; CMake's FindJNI does not find it without JAVA_HOME and no
# other JDK is to be used.
#   tarnell_jni_headers  jni.h for the core library, which never links libjvm
#                        (the same headers serve the 32-bit build)
#   tarnell_jvm          libjvm.so, for programs that start a JVM themselves
#   TARNELL_JAVAC        the compiler of the Java classes under java/
set(TARNELL_JDK_HOME /usr/lib/jvm/java-17-openjdk-amd64 CACHE PATH "OpenJDK 17 of the Java bridges")
if(NOT EXISTS ${TARNELL_JDK_HOME}/include/jni.h)
    message(FATAL_ERROR "no jni.h under TARNELL_JDK_HOME=${TARNELL_JDK_HOME} (install openjdk-17-jdk-headless)")
endif()

if(NOT TARGET tarnell_jni_headers)
    add_library(tarnell_jni_headers INTERFACE)
    target_include_directories(tarnell_jni_headers SYSTEM INTERFACE
        ${TARNELL_JDK_HOME}/include ${TARNELL_JDK_HOME}/include/linux)
endif()

set(TARNELL_JAVAC ${TARNELL_JDK_HOME}/bin/javac)
set(TARNELL_LIBJVM ${TARNELL_JDK_HOME}/lib/server/libjvm.so)
if(NOT TARGET tarnell_jvm AND EXISTS ${TARNELL_LIBJVM} AND NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_library(tarnell_jvm SHARED IMPORTED)
    set_target_properties(tarnell_jvm PROPERTIES IMPORTED_LOCATION ${TARNELL_LIBJVM})
    target_link_libraries(tarnell_jvm INTERFACE tarnell_jni_headers)
endif()

# tarnell_add_java(<target> OUTPUT <dir> SOURCES <file>... [CLASSPATH <dir>...] [DEPENDS <target>...])
# Compiles the Java sources with javac into the class folder <dir> (emptied
# first), warning-clean; <target> is built with everything.
function(tarnell_add_java target)
    cmake_parse_arguments(ARG "" "OUTPUT" "SOURCES;CLASSPATH;DEPENDS" ${ARGN})
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.stamp)
    set(classpath)
    if(ARG_CLASSPATH)
        list(JOIN ARG_CLASSPATH ":" joined)
        set(classpath -classpath ${joined})
    endif()
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${ARG_OUTPUT}
        COMMAND ${TARNELL_JAVAC} --release 17 -Xlint:all -Werror -encoding UTF-8 ${classpath}
                -d ${ARG_OUTPUT} ${ARG_SOURCES}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${ARG_SOURCES} ${ARG_DEPENDS}
        COMMENT "javac ${target}"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${stamp})
    if(ARG_DEPENDS)
        add_dependencies(${target} ${ARG_DEPENDS})
    endif()
endfunction()
