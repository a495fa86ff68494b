# The CMPI headers' binary layout, checked at compile time in every build (the
# 32-bit build included): sizes and offsets of the records and tables in terms
# of the pointer size, and the numeric constants. Compiled as C and as C++.
add_library(cmpi_layout_check OBJECT
    ${CMAKE_CURRENT_LIST_DIR}/CmpiLayoutCheck.c
    ${CMAKE_CURRENT_LIST_DIR}/CmpiLayoutCheck.cpp)
target_link_libraries(cmpi_layout_check PRIVATE cmpi)
set_target_properties(cmpi_layout_check PROPERTIES C_STANDARD 11)
