#ifndef TARNELLTRACE_H
#define TARNELLTRACE_H

// The life-cycle lines of the Tarnell model classes on standard error:
// "Constructing <class>" while bit 0x10 of universalDebugFlag is set,
// "Destructing <class>" while bit 0x20 is set.

#include "RaidLib/Util/StorExport.h"

STOR_EXPORT void tarnellTraceConstruct(const char* className);
STOR_EXPORT void tarnellTraceDestruct(const char* className);

#endif
