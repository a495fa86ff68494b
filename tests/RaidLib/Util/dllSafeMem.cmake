# Two small shared libraries built from the core library's heap-ownership
# source, each with a deleter name of its own, as two deliverables would be.
# core_tests loads them at run time.
foreach(lib A B)
    add_library(dllsafe_test${lib} SHARED ${PROJECT_SOURCE_DIR}/src/RaidLib/Util/dllSafeMem.cpp)
    target_include_directories(dllsafe_test${lib} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_compile_definitions(dllsafe_test${lib} PRIVATE DLLSAFE_DELETER_NAME=dllSafeDeleteTest${lib})
    add_dependencies(core_tests dllsafe_test${lib})
endforeach()
target_compile_definitions(core_tests PRIVATE
    DLLSAFE_TEST_LIB_A="$<TARGET_FILE:dllsafe_testA>"
    DLLSAFE_TEST_LIB_B="$<TARGET_FILE:dllsafe_testB>")

# The core library exports its deleter and the global allocation operators.
tarnell_add_heap_exports_test(tarnellcore dllSafeDeleteTarnellCore)
