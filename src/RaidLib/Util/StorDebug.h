#ifndef STORDEBUG_H
#define STORDEBUG_H

// Debug logs per storage library type: an error log, a trace log, a
// configuration log and an event log in the current directory, named by a
// prefix for the type ("tarnellerror.txt", "tarnelltrace.txt",
// "tarnellconfig.xml", "tarnellevents.txt" for the Tarnell type).
//
// The error log is created when missing; the configuration log is rewritten
// with every configuration; the trace and event logs are written only while
// a file of that name exists, so an operator switches tracing on by creating
// an empty trace file.
//
// Every traced scope of a type holds that type's recursive mutex from its
// start to its end, which serializes the storage library operations of one
// type. Lock order: the type's mutex, the inter-process lock (types 7 and 12,
// outermost scopes only), then the advisory lock of the file written.

#include <cstdint>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/StorOS.h"

typedef uint64_t STORDBG_FLAG_T;

static const STORDBG_FLAG_T STOR_DEBUG_ERROR = 0x1ULL;
static const STORDBG_FLAG_T STOR_DEBUG_TRACE = 0x20ULL;
static const STORDBG_FLAG_T STOR_DEBUG_TRACE_LEVEL2 = 0x60ULL;
static const STORDBG_FLAG_T STOR_DEBUG_TRACE_PARAMETERS_IN = 0x1020ULL;
static const STORDBG_FLAG_T STOR_DEBUG_TRACE_PARAMETERS_OUT = 0x2020ULL;
static const STORDBG_FLAG_T STOR_DEBUG_TRACE_CORE_CONSTRUCT = 0x4020ULL;
static const STORDBG_FLAG_T STOR_DEBUG_TRACE_IMPL_CONSTRUCT = 0x8020ULL;
static const STORDBG_FLAG_T STOR_DEBUG_ERROR_APPLICATION = 0x10001ULL;
static const STORDBG_FLAG_T STOR_DEBUG_TRACE_APPLICATION = 0x20020ULL;
static const STORDBG_FLAG_T STOR_DEBUG_TRACE_APPLICATION_L2 = 0x20060ULL;
static const STORDBG_FLAG_T STOR_DEBUG_CONFIG = 0x1000000ULL;
static const STORDBG_FLAG_T STOR_DEBUG_EVENTS = 0x2000000ULL;
static const STORDBG_FLAG_T STOR_DEBUG_TASKS = 0x4000000ULL;
static const STORDBG_FLAG_T STOR_DEBUG_SES = 0x8000000ULL;
static const STORDBG_FLAG_T STOR_DEBUG_TRACE_QORL_API = 0x20ULL;
static const STORDBG_FLAG_T STOR_DEBUG_TRACE_FIBS = 0x60ULL;

static const STORDBG_FLAG_T STORDBG_DEFAULT_FLAGS = STOR_DEBUG_ERROR | STOR_DEBUG_CONFIG;

static const uint64_t MAX_ERROR_FILE_SIZE = 0x100000ULL;
static const uint64_t MAX_TRACE_FILE_SIZE = 0xA00000ULL;
static const uint64_t MAX_CONFIG_FILE_SIZE = 0xA00000ULL;
static const uint64_t MAX_EVENT_FILE_SIZE = 0xA00000ULL;

// Size of gStorDebugFilePath.
static const unsigned STOR_DEBUG_FILE_PATH_SIZE = 528;

// The type used by the logging calls for type 0 and for types above 13.
extern STOR_EXPORT EnumStorLibType gStorDebugDefaultStorLibType;
// Directory prefix of the log names; emptied whenever a type's state is made.
extern STOR_EXPORT char gStorDebugFilePath[STOR_DEBUG_FILE_PATH_SIZE];
// Guards the table of debug states; created by the library's load hook.
extern STOR_EXPORT osThreadLocker* pStorLibGlobalThreadLocker;
// Application name shown in every time stamp (its first 8 characters).
extern STOR_EXPORT const char* pStorLibAppName;

// Counts one user of the type's debug state and creates it on first use.
STOR_EXPORT void doStorDebugInitialization(EnumStorLibType storlibTypeIN);
// Counts one user less and deletes the state when no user is left. A state
// that an open scope or a running log call still uses is deleted when that
// use ends.
STOR_EXPORT void doStorDebugCleanup(EnumStorLibType storlibTypeIN);
// Deletes the debug state of every type (at unload).
STOR_EXPORT void StorDebugDeleteAll();

class StorDebugInfo;

// Scope tracer: writes "<name> IN" at construction and "<name> OUT" at
// destruction to the trace log, indented by the depth of open scopes, and
// holds the type's mutex in between. The name must outlive the scope (a
// string literal).
class STOR_EXPORT StorDebugTracer {
public:
    StorDebugTracer(EnumStorLibType storlibTypeIN, STORDBG_FLAG_T flagsIN, const char* pMethodNameIN);
    ~StorDebugTracer();
    StorDebugTracer(const StorDebugTracer&) = delete;
    StorDebugTracer& operator=(const StorDebugTracer&) = delete;

private:
    const char* pMethodName;
    STORDBG_FLAG_T debugFlags;
    StorDebugInfo* pDebugInfo;
    // The innermost scope type of the thread when this scope opened.
    int outerScopeType;
};

// Logging entry points. Types outside 1..13 log under the type of the
// thread's innermost open scope, else under the default type; a
// type without a debug state logs nothing; nothing is ever reported back.
STOR_EXPORT void StorTracePrintf(EnumStorLibType storlibTypeIN, STORDBG_FLAG_T flagsIN, const char* pFormatStrIN, ...)
    __attribute__((format(printf, 3, 4)));
STOR_EXPORT void STORDBG(EnumStorLibType storlibTypeIN, const char* pFormatStrIN, ...)
    __attribute__((format(printf, 2, 3)));
STOR_EXPORT void STORDBGL2(EnumStorLibType storlibTypeIN, const char* pFormatStrIN, ...)
    __attribute__((format(printf, 2, 3)));
STOR_EXPORT void TarnellTracePrintf(const char* pFormatStrIN, ...) __attribute__((format(printf, 1, 2)));
STOR_EXPORT void TarnellTracePrintfL2(const char* pFormatStrIN, ...) __attribute__((format(printf, 1, 2)));
// Appends an error entry: date, time stamp with "<file>: Line #: <line>", the
// open scopes as the call path, and the message; echoed to the trace log.
STOR_EXPORT void StorErrorPrintf(EnumStorLibType storlibTypeIN, const char* pFilenameIN, int lineNumIN,
                                 const char* pFormatStrIN, ...) __attribute__((format(printf, 4, 5)));
STOR_EXPORT void TarnellErrorPrintf(const char* pFilenameIN, int lineNumIN, const char* pFormatStrIN, ...)
    __attribute__((format(printf, 3, 4)));
// Rewrites the configuration log with the text, written as it is.
STOR_EXPORT void StorConfigPrintf(EnumStorLibType storlibTypeIN, const char* pXmlIN);
// Appends the text, as it is, to the event log.
STOR_EXPORT void StorEventPrintf(EnumStorLibType storlibTypeIN, const char* pXmlIN);

#endif
