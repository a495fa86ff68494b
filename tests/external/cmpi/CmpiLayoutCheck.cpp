// The layout checks, compiled as C++ (the headers serve both languages).
#include "CmpiLayoutCheck.c"
