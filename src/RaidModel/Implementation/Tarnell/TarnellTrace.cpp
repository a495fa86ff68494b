#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"

#include <cstdio>

#include "RaidModel/Filters/FilterCollection.h"

namespace {
const uint32_t TRACE_CONSTRUCT = 0x10;
const uint32_t TRACE_DESTRUCT = 0x20;
} // namespace

void tarnellTraceConstruct(const char* className)
{
    if ((universalDebugFlag & TRACE_CONSTRUCT) != 0)
        std::fprintf(stderr, "Constructing %s\n", className);
}

void tarnellTraceDestruct(const char* className)
{
    if ((universalDebugFlag & TRACE_DESTRUCT) != 0)
        std::fprintf(stderr, "Destructing %s\n", className);
}
