#include "RaidLib/Util/StorDebug.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <new>

#include "RaidLib/Util/UnixLocker.h"

namespace {

const int STOR_DEBUG_TYPES = STORLIB_LAST_INDEX + 1; // entries 0 .. 14; 14 is never used
const int STOR_DEBUG_LAST_TYPE = STORLIB_GLUNT;

const char* const storDebugFilePrefix[STOR_DEBUG_TYPES] = {
    "unk", "krna", "krnad", "res1", "res2", "tarnell", "sarvo", "tl",
    "dw",  "vesk", "mavrin", "tobreck", "yub", "glunt", "last"};

const char* const pSkipTime = "                   "; // 19 blanks
const char* const pNullMethodName = "?\?\?()";
const unsigned FILE_NAME_SIZE = STOR_DEBUG_FILE_PATH_SIZE + 32;

char debugAlignChars[64];
bool debugAlignCharsInit = false;

void fillAlignChars()
{
    if (debugAlignCharsInit)
        return;
    for (int i = 0; i < 10; ++i)
        debugAlignChars[i] = static_cast<char>('0' + i);
    for (int i = 0; i < 26; ++i) {
        debugAlignChars[10 + i] = static_cast<char>('a' + i);
        debugAlignChars[36 + i] = static_cast<char>('A' + i);
    }
    debugAlignChars[62] = '|';
    debugAlignChars[63] = '|';
    debugAlignCharsInit = true;
}

void writeDateLine(osFileWriter& file, const StorTimeInfo& t)
{
    file.Printf("%s %02d%s%04d (tz=%d)\n", t.DayOfWeekAbbrev(), static_cast<int>(t.dayOfMonth), t.MonthAbbrev(),
                static_cast<int>(t.year), static_cast<int>(t.timeZone));
}

const char* appName() { return pStorLibAppName ? pStorLibAppName : ""; }

void writeTimeStamp(osFileWriter& file, const StorTimeInfo& t)
{
    file.Printf("%02d:%02d:%02d.%03d %8.8s: ", static_cast<int>(t.hour), static_cast<int>(t.minute),
                static_cast<int>(t.second), static_cast<int>(t.msecs), appName());
}

void writeBlanks(osFileWriter& file, uint32_t count)
{
    static const char blanks[] = "                                ";
    const uint32_t chunk = sizeof blanks - 1;
    for (; count > chunk; count -= chunk)
        file.Write(blanks);
    file.Write(blanks + (chunk - count));
}

// The part after the last "/", else after the last backslash, else the whole.
const char* baseName(const char* path)
{
    const char* slash = strrchr(path, '/');
    if (slash)
        return slash + 1;
    const char* backslash = strrchr(path, '\\');
    return backslash ? backslash + 1 : path;
}

} // namespace

// The second in which a thread last looked for a type's trace file and found
// none to open, and the state that looked (null after a look that found one).
struct TraceFileMissing {
    const StorDebugInfo* state;
    time_t second;
};

// The debug state of one library type.
class StorDebugInfo {
public:
    StorDebugInfo(EnumStorLibType storlibTypeIN, osThreadLocker* pThreadLockerIN);
    ~StorDebugInfo();
    StorDebugInfo(const StorDebugInfo&) = delete;
    StorDebugInfo& operator=(const StorDebugInfo&) = delete;

    bool FlagsEnabled(STORDBG_FLAG_T flagsIN) const;
    // heldIN: the thread holds the state's mutex already, in a scope of the
    // same state around this one.
    void TraceStackPush(STORDBG_FLAG_T flagsIN, const char* pMethodNameIN, TraceFileMissing& missing, bool heldIN);
    void TraceStackPop(STORDBG_FLAG_T flagsIN, const char* pMethodNameIN, bool heldIN);
    bool LookForTraceFile(STORDBG_FLAG_T flagsIN, const TraceFileMissing& missing) const;
    void TracePrintf(STORDBG_FLAG_T flagsIN, bool bStartStackIN, const char* pFormatStrIN, ...)
        __attribute__((format(printf, 4, 5)));
    void TraceVPrintf(STORDBG_FLAG_T flagsIN, const char* pFormatStrIN, va_list argptr, bool bStartStackIN);
    void ErrorVPrintf(const char* pSourceFilenameIN, int lineNumIN, const char* pFormatStrIN, va_list argptr);
    void ConfigPrintf(const char* pXmlIN);
    void EventPrintf(const char* pXmlIN);

    // The table entry the state sits in.
    int tableIndex = 0;

private:
    const char* stackName(uint32_t i) const { return i < stackCapacity ? traceStack[i] : pNullMethodName; }
    void writeIndent(osFileWriter& file) const;

    EnumStorLibType storlibType;
    uint32_t instanceCounter;
    osThreadLocker* pThreadLocker;
    OSLocker* pFileLocker;

    // Names of the open scopes, outermost first; a level that could not be
    // stored (no memory) still counts and shows as "???()".
    const char** traceStack;
    uint32_t stackCapacity;
    uint32_t stackDepth;

    osFileWriter errorFile;
    osFileWriter traceFile;
    osFileWriter configFile;
    osFileWriter eventFile;
    char errorFileStr[FILE_NAME_SIZE];
    char traceFileStr[FILE_NAME_SIZE];
    char configFileStr[FILE_NAME_SIZE];
    char eventFileStr[FILE_NAME_SIZE];

    STORDBG_FLAG_T enabledFlags;
    STORDBG_FLAG_T defaultFlags;
    STORDBG_FLAG_T tempFlags;
};

namespace {

// One entry of the table of debug states. A scope or a log call pins the
// state it uses by counting itself in users before it reads info, so that
// no global lock is taken while the state stands. Changes of info and of
// deletePending are made under pStorLibGlobalThreadLocker; a state is
// deleted only by one who took info out of its entry and then saw no user
// (see finishDelete), so a user that read info before is always seen.
struct alignas(64) TableEntry {
    std::atomic<StorDebugInfo*> info{nullptr};
    // The scopes and log calls that pin the entry's state right now.
    std::atomic<uint32_t> users{0};
    // The state is to be deleted by its last user.
    std::atomic<bool> deletePending{false};
};
TableEntry storDebugTable[STOR_DEBUG_TYPES];

// Users of each type's state. Type 9 starts at 1, so its last cleanup keeps
// the state and only StorDebugDeleteAll removes it.
uint32_t storDebugInstanceCounter[STOR_DEBUG_TYPES] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};

// What a thread remembers of its scopes, in one block so that a scope reaches
// it with one look-up of the thread's storage.
struct ThreadScopes {
    // The type of the innermost scope this thread has open, -1 for none.
    int innermostType = -1;
    // The state each type's scopes pinned when this thread last opened one
    // outside a scope of the same type; while such a scope is open, the one
    // its type has (a pinned state stays until its last user goes).
    StorDebugInfo* pinned[STOR_DEBUG_TYPES] = {};
    TraceFileMissing traceFileMissing[STOR_DEBUG_TYPES] = {};
};
thread_local ThreadScopes threadScopes;

// This thread's block. A call of its own, so that a scope looks the block up
// once: the compiler would otherwise look it up again after every call.
__attribute__((noinline)) ThreadScopes& thisThreadScopes() { return threadScopes; }

// The table entry a logging call of this type writes to; -1 for none. A call
// without a type of its own (model objects before their address is set) logs
// under the innermost open scope's type, else under the default type: taking
// the default type's mutex inside another family's scope, while deleting that
// family's tree under the default type takes the family's, would let two
// threads wait for each other.
int chooseType(EnumStorLibType storlibTypeIN, int innermostType)
{
    int t = storlibTypeIN;
    if (t < 1 || t > STOR_DEBUG_LAST_TYPE)
        t = innermostType >= 0 ? innermostType : gStorDebugDefaultStorLibType;
    return (t < 0 || t > STOR_DEBUG_LAST_TYPE) ? -1 : t;
}

int chooseType(EnumStorLibType storlibTypeIN) { return chooseType(storlibTypeIN, threadScopes.innermostType); }

bool validTableType(EnumStorLibType storlibTypeIN)
{
    return storlibTypeIN >= 0 && storlibTypeIN <= STOR_DEBUG_LAST_TYPE;
}

// Deletes entry t's state if it is to be deleted and nobody uses it; else
// leaves it in place for its last user. Under pStorLibGlobalThreadLocker.
// The state leaves the entry before the users are counted: a user counts
// itself before it reads the entry, so either it reads no state or it is
// counted here.
void finishDelete(int t)
{
    TableEntry& entry = storDebugTable[t];
    StorDebugInfo* info = entry.info.load();
    if (!info || !entry.deletePending.load())
        return;
    entry.info.store(nullptr);
    if (entry.users.load() == 0) {
        entry.deletePending.store(false);
        delete info;
    } else {
        entry.info.store(info);
    }
}

// Under pStorLibGlobalThreadLocker.
void deleteOrDefer(int t)
{
    TableEntry& entry = storDebugTable[t];
    if (!entry.info.load())
        return;
    entry.deletePending.store(true);
    finishDelete(t);
}

// Lets go of a pin of entry t; the last user of a state to be deleted
// deletes it. When the count comes to 0 with a deletion pending, the
// deletion's own count saw this user (see finishDelete), so the flag is seen.
void unpin(int t)
{
    TableEntry& entry = storDebugTable[t];
    if (entry.users.fetch_sub(1) == 1 && entry.deletePending.load()) {
        osThreadLockerGrabber global(pStorLibGlobalThreadLocker);
        finishDelete(t);
    }
}

// Pins the state of table entry t for the length of a scope or a log call,
// so that a cleanup on another thread cannot delete it in use. An entry
// without a state (or one a deletion has out for the moment) is read again
// under the table's lock.
StorDebugInfo* pinState(int t)
{
    if (t < 0)
        return nullptr;
    TableEntry& entry = storDebugTable[t];
    entry.users.fetch_add(1);
    StorDebugInfo* info = entry.info.load();
    if (info)
        return info;
    unpin(t);
    osThreadLockerGrabber global(pStorLibGlobalThreadLocker);
    info = entry.info.load();
    if (info)
        entry.users.fetch_add(1);
    return info;
}

// Runs a write on the chosen type's state; drops every exception.
template <typename Write> void withState(EnumStorLibType storlibTypeIN, Write write)
{
    try {
        const int t = chooseType(storlibTypeIN);
        StorDebugInfo* info = pinState(t);
        if (!info)
            return;
        try {
            write(info);
        } catch (...) {
        }
        unpin(t);
    } catch (...) {
    }
}

} // namespace

EnumStorLibType gStorDebugDefaultStorLibType = STORLIB_TARNELL;
char gStorDebugFilePath[STOR_DEBUG_FILE_PATH_SIZE];
osThreadLocker* pStorLibGlobalThreadLocker = nullptr;

// ---------------------------------------------------------------- state

StorDebugInfo::StorDebugInfo(EnumStorLibType storlibTypeIN, osThreadLocker* pThreadLockerIN)
    : storlibType(storlibTypeIN), instanceCounter(0), pThreadLocker(pThreadLockerIN), pFileLocker(nullptr),
      traceStack(nullptr), stackCapacity(0), stackDepth(0), enabledFlags(0), defaultFlags(STORDBG_DEFAULT_FLAGS),
      tempFlags(0)
{
    (void)instanceCounter;
    if (!pThreadLocker)
        pThreadLocker = new (std::nothrow) osThreadLocker;

    if (storlibType == STORLIB_PELM)
        pFileLocker = new (std::nothrow) UnixLocker(PELM, nullptr);
    else if (storlibType == STORLIB_YUB)
        pFileLocker = new (std::nothrow) UnixLocker(YUB, nullptr);

    if (storlibType == STORLIB_RESERVED1 || storlibType == STORLIB_RESERVED2 || !validTableType(storlibType))
        storlibType = STORLIB_UNKNOWN;

    gStorDebugFilePath[0] = '\0';
    const char* prefix = storDebugFilePrefix[storlibType];
    snprintf(errorFileStr, sizeof errorFileStr, "%s%s%s", gStorDebugFilePath, prefix, "error.txt");
    snprintf(traceFileStr, sizeof traceFileStr, "%s%s%s", gStorDebugFilePath, prefix, "trace.txt");
    snprintf(configFileStr, sizeof configFileStr, "%s%s%s", gStorDebugFilePath, prefix, "config.xml");
    snprintf(eventFileStr, sizeof eventFileStr, "%s%s%s", gStorDebugFilePath, prefix, "events.txt");
}

StorDebugInfo::~StorDebugInfo()
{
    if (pThreadLocker && pThreadLocker != pStorLibGlobalThreadLocker)
        delete pThreadLocker;
    delete pFileLocker;
    delete[] traceStack;
    errorFile.Close();
    traceFile.Close();
    configFile.Close();
    eventFile.Close();
}

bool StorDebugInfo::FlagsEnabled(STORDBG_FLAG_T flagsIN) const
{
    return (((defaultFlags | tempFlags) ^ enabledFlags) & flagsIN) == flagsIN;
}

void StorDebugInfo::writeIndent(osFileWriter& file) const
{
    for (uint32_t i = 0; i < stackDepth; ++i) {
        char step[5] = {i < 64 ? debugAlignChars[i] : '|', ' ', ' ', ' ', '\0'};
        file.Write(step);
    }
}

void StorDebugInfo::TraceStackPush(STORDBG_FLAG_T flagsIN, const char* pMethodNameIN, TraceFileMissing& missing,
                                   bool heldIN)
{
    if (!pMethodNameIN)
        pMethodNameIN = pNullMethodName;
    // Held until the matching pop; taking the recursive mutex again inside a
    // scope that holds it would change nothing.
    if (pThreadLocker && !heldIN)
        pThreadLocker->Lock();

    bool outermost = stackDepth == 0;
    if (outermost) {
        if (pFileLocker)
            pFileLocker->getLock();
        if (!traceFile.IsOpen()) {
            uint64_t size = 0;
            if (enabledFlags & STOR_DEBUG_TRACE) {
                traceFile.Open(traceFileStr, "a+");
            } else if (LookForTraceFile(flagsIN, missing)) {
                if (osFileWriter::Exists(traceFileStr, &size) && size < MAX_TRACE_FILE_SIZE &&
                    traceFile.Open(traceFileStr, "r+")) {
                    tempFlags |= STOR_DEBUG_TRACE;
                    missing.state = nullptr;
                } else {
                    missing = TraceFileMissing{this, StorClockSeconds()};
                }
            }
        }
    }

    // The lock is held: a closed trace log is seen without taking it again.
    if (traceFile.IsOpen())
        TracePrintf(flagsIN, outermost, "%s IN", pMethodNameIN);

    if (stackDepth >= stackCapacity) {
        uint32_t capacity = stackCapacity ? stackCapacity * 2 : 16;
        const char** grown = new (std::nothrow) const char*[capacity];
        if (grown) {
            if (stackDepth)
                memcpy(grown, traceStack, stackDepth * sizeof *traceStack);
            delete[] traceStack;
            traceStack = grown;
            stackCapacity = capacity;
        }
    }
    if (stackDepth < stackCapacity)
        traceStack[stackDepth] = pMethodNameIN;
    ++stackDepth;
}

// Whether an outermost scope looks for the trace file. A scope that writes
// lines of its own looks every time, so that a new file takes effect with
// the next library call. A scope that never does (the construction scopes
// of model objects, thousands per configuration read outside any library
// call) looks unless this thread found no file in the same second: tracing
// then starts within a second of the file appearing, without a look per
// model object.
bool StorDebugInfo::LookForTraceFile(STORDBG_FLAG_T flagsIN, const TraceFileMissing& missing) const
{
    if (((((defaultFlags | tempFlags | STOR_DEBUG_TRACE) ^ enabledFlags) & flagsIN) == flagsIN))
        return true;
    return missing.state != this || missing.second != StorClockSeconds();
}

void StorDebugInfo::TraceStackPop(STORDBG_FLAG_T flagsIN, const char* pMethodNameIN, bool heldIN)
{
    // A pop without a push holds nothing and releases nothing.
    if (stackDepth == 0)
        return;
    if (!pMethodNameIN)
        pMethodNameIN = pNullMethodName;
    --stackDepth;

    if (traceFile.IsOpen())
        TracePrintf(flagsIN, false, "%s OUT", pMethodNameIN);

    if (stackDepth == 0) {
        if (tempFlags & STOR_DEBUG_TRACE) {
            tempFlags &= ~STOR_DEBUG_TRACE;
            traceFile.Close();
        }
        if (pFileLocker)
            pFileLocker->releaseLock();
    }
    if (pThreadLocker && !heldIN)
        pThreadLocker->UnLock();
}

void StorDebugInfo::TracePrintf(STORDBG_FLAG_T flagsIN, bool bStartStackIN, const char* pFormatStrIN, ...)
{
    va_list args;
    va_start(args, pFormatStrIN);
    TraceVPrintf(flagsIN, pFormatStrIN, args, bStartStackIN);
    va_end(args);
}

void StorDebugInfo::TraceVPrintf(STORDBG_FLAG_T flagsIN, const char* pFormatStrIN, va_list argptr,
                                 bool bStartStackIN)
{
    osThreadLockerGrabber typeLock(pThreadLocker);
    if (!traceFile.IsOpen() || !FlagsEnabled(flagsIN))
        return;
    osFileLockGrabber fileLock(traceFile);
    traceFile.SeekEnd();
    StorTimeInfo now(STOR_LOCAL_TIME);
    if (bStartStackIN)
        writeDateLine(traceFile, now);
    writeTimeStamp(traceFile, now);
    writeIndent(traceFile);
    traceFile.VPrintf(pFormatStrIN, argptr);
    traceFile.Write("\n");
    traceFile.Flush();
}

void StorDebugInfo::ErrorVPrintf(const char* pSourceFilenameIN, int lineNumIN, const char* pFormatStrIN,
                                 va_list argptr)
{
    osThreadLockerGrabber typeLock(pThreadLocker);
    if (!FlagsEnabled(STOR_DEBUG_ERROR))
        return;
    if (!pSourceFilenameIN)
        pSourceFilenameIN = "???";

    va_list echo;
    va_copy(echo, argptr);

    if (!errorFile.IsOpen() && osFileWriter::Size(errorFileStr) < MAX_ERROR_FILE_SIZE)
        errorFile.Open(errorFileStr, "a+");
    if (errorFile.IsOpen()) {
        osFileLockGrabber fileLock(errorFile);
        errorFile.SeekEnd();
        StorTimeInfo now(STOR_LOCAL_TIME);
        writeDateLine(errorFile, now);
        writeTimeStamp(errorFile, now);
        errorFile.Printf("%s: Line #: %d\n", baseName(pSourceFilenameIN), lineNumIN);
        for (uint32_t i = 0; i < stackDepth; ++i) {
            errorFile.Write(pSkipTime);
            writeBlanks(errorFile, 4 * i);
            errorFile.Printf("%s\n", stackName(i));
        }
        errorFile.Write(pSkipTime);
        writeBlanks(errorFile, 4 * stackDepth);
        errorFile.VPrintf(pFormatStrIN, argptr);
        errorFile.Write("\n");
        errorFile.Flush();
        // Closing releases the file lock as well.
        errorFile.Close();
    }

    TraceVPrintf(STOR_DEBUG_TRACE, pFormatStrIN, echo, false);
    va_end(echo);
}

void StorDebugInfo::ConfigPrintf(const char* pXmlIN)
{
    osThreadLockerGrabber typeLock(pThreadLocker);
    if (!FlagsEnabled(STOR_DEBUG_CONFIG))
        return;
    if (!configFile.IsOpen() && !configFile.Open(configFileStr, "w+"))
        return;
    osFileLockGrabber fileLock(configFile);
    StorTimeInfo now(STOR_LOCAL_TIME);
    configFile.Write("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n");
    configFile.Printf("<!-- %s %02d%s%04d (tz=%d) -->\n", now.DayOfWeekAbbrev(), static_cast<int>(now.dayOfMonth),
                      now.MonthAbbrev(), static_cast<int>(now.year), static_cast<int>(now.timeZone));
    configFile.Printf("<!-- %02d:%02d:%02d.%03d %8.8s: -->\n", static_cast<int>(now.hour),
                      static_cast<int>(now.minute), static_cast<int>(now.second), static_cast<int>(now.msecs),
                      appName());
    configFile.Write(pXmlIN);
    configFile.Write("\n");
    configFile.Flush();
    configFile.Close();
}

void StorDebugInfo::EventPrintf(const char* pXmlIN)
{
    osThreadLockerGrabber typeLock(pThreadLocker);
    if (!eventFile.IsOpen()) {
        uint64_t size = 0;
        if (enabledFlags & STOR_DEBUG_EVENTS)
            eventFile.Open(eventFileStr, "a+");
        else if (osFileWriter::Exists(eventFileStr, &size) && size < MAX_EVENT_FILE_SIZE &&
                 eventFile.Open(eventFileStr, "r+"))
            tempFlags |= STOR_DEBUG_EVENTS;
    }
    if (!eventFile.IsOpen())
        return;
    osFileLockGrabber fileLock(eventFile);
    eventFile.SeekEnd();
    if (eventFile.Size() > MAX_EVENT_FILE_SIZE) {
        eventFile.Write("<!-- File size limit exceeded.  Event logging stopped. -->\n");
        eventFile.Flush();
        eventFile.Close();
    } else {
        eventFile.Write(pXmlIN);
        eventFile.Flush();
    }
}

// ---------------------------------------------------------------- table

void doStorDebugInitialization(EnumStorLibType storlibTypeIN)
{
    if (!validTableType(storlibTypeIN))
        return;
    try {
        osThreadLockerGrabber global(pStorLibGlobalThreadLocker);
        fillAlignChars();
        int t = storlibTypeIN;
        TableEntry& entry = storDebugTable[t];
        if (!entry.info.load()) {
            StorDebugInfo* info = new (std::nothrow) StorDebugInfo(storlibTypeIN, nullptr);
            if (info)
                info->tableIndex = t;
            entry.info.store(info);
        } else {
            entry.deletePending.store(false);
        }
        ++storDebugInstanceCounter[t];
    } catch (...) {
    }
}

void doStorDebugCleanup(EnumStorLibType storlibTypeIN)
{
    if (!validTableType(storlibTypeIN))
        return;
    try {
        osThreadLockerGrabber global(pStorLibGlobalThreadLocker);
        int t = storlibTypeIN;
        if (storDebugInstanceCounter[t] > 0 && --storDebugInstanceCounter[t] == 0)
            deleteOrDefer(t);
    } catch (...) {
    }
}

void StorDebugDeleteAll()
{
    try {
        osThreadLockerGrabber global(pStorLibGlobalThreadLocker);
        for (int t = 0; t <= STOR_DEBUG_LAST_TYPE; ++t)
            deleteOrDefer(t);
    } catch (...) {
    }
}

// ---------------------------------------------------------------- entry points

StorDebugTracer::StorDebugTracer(EnumStorLibType storlibTypeIN, STORDBG_FLAG_T flagsIN, const char* pMethodNameIN)
    : pMethodName(pMethodNameIN), debugFlags(flagsIN), pDebugInfo(nullptr), outerScopeType(-1)
{
    try {
        ThreadScopes& scopes = thisThreadScopes();
        const int t = chooseType(storlibTypeIN, scopes.innermostType);
        // Inside a scope of the same type on this thread, its state is
        // pinned and its mutex held already: this scope takes neither again.
        const bool nested = t >= 0 && t == scopes.innermostType;
        if (nested) {
            pDebugInfo = scopes.pinned[t];
        } else {
            pDebugInfo = pinState(t);
            if (pDebugInfo)
                scopes.pinned[t] = pDebugInfo;
        }
        if (pDebugInfo) {
            // Noted first: the destructor tells a nested scope by it.
            outerScopeType = scopes.innermostType;
            pDebugInfo->TraceStackPush(debugFlags, pMethodName, scopes.traceFileMissing[t], nested);
            scopes.innermostType = t;
        }
    } catch (...) {
    }
}

StorDebugTracer::~StorDebugTracer()
{
    if (!pDebugInfo)
        return;
    const int t = pDebugInfo->tableIndex;
    const bool nested = outerScopeType == t;
    threadScopes.innermostType = outerScopeType;
    try {
        pDebugInfo->TraceStackPop(debugFlags, pMethodName, nested);
    } catch (...) {
    }
    if (!nested)
        unpin(t);
}

void StorTracePrintf(EnumStorLibType storlibTypeIN, STORDBG_FLAG_T flagsIN, const char* pFormatStrIN, ...)
{
    va_list args;
    va_start(args, pFormatStrIN);
    withState(storlibTypeIN, [&](StorDebugInfo* info) { info->TraceVPrintf(flagsIN, pFormatStrIN, args, false); });
    va_end(args);
}

void STORDBG(EnumStorLibType storlibTypeIN, const char* pFormatStrIN, ...)
{
    va_list args;
    va_start(args, pFormatStrIN);
    withState(storlibTypeIN,
              [&](StorDebugInfo* info) { info->TraceVPrintf(STOR_DEBUG_TRACE, pFormatStrIN, args, false); });
    va_end(args);
}

void STORDBGL2(EnumStorLibType storlibTypeIN, const char* pFormatStrIN, ...)
{
    va_list args;
    va_start(args, pFormatStrIN);
    withState(storlibTypeIN,
              [&](StorDebugInfo* info) { info->TraceVPrintf(STOR_DEBUG_TRACE_LEVEL2, pFormatStrIN, args, false); });
    va_end(args);
}

void TarnellTracePrintf(const char* pFormatStrIN, ...)
{
    va_list args;
    va_start(args, pFormatStrIN);
    withState(STORLIB_TARNELL,
              [&](StorDebugInfo* info) { info->TraceVPrintf(STOR_DEBUG_TRACE, pFormatStrIN, args, false); });
    va_end(args);
}

void TarnellTracePrintfL2(const char* pFormatStrIN, ...)
{
    va_list args;
    va_start(args, pFormatStrIN);
    withState(STORLIB_TARNELL,
              [&](StorDebugInfo* info) { info->TraceVPrintf(STOR_DEBUG_TRACE_LEVEL2, pFormatStrIN, args, false); });
    va_end(args);
}

void StorErrorPrintf(EnumStorLibType storlibTypeIN, const char* pFilenameIN, int lineNumIN, const char* pFormatStrIN,
                     ...)
{
    va_list args;
    va_start(args, pFormatStrIN);
    withState(storlibTypeIN,
              [&](StorDebugInfo* info) { info->ErrorVPrintf(pFilenameIN, lineNumIN, pFormatStrIN, args); });
    va_end(args);
}

void TarnellErrorPrintf(const char* pFilenameIN, int lineNumIN, const char* pFormatStrIN, ...)
{
    va_list args;
    va_start(args, pFormatStrIN);
    withState(STORLIB_TARNELL,
              [&](StorDebugInfo* info) { info->ErrorVPrintf(pFilenameIN, lineNumIN, pFormatStrIN, args); });
    va_end(args);
}

void StorConfigPrintf(EnumStorLibType storlibTypeIN, const char* pXmlIN)
{
    withState(storlibTypeIN, [&](StorDebugInfo* info) { info->ConfigPrintf(pXmlIN); });
}

void StorEventPrintf(EnumStorLibType storlibTypeIN, const char* pXmlIN)
{
    withState(storlibTypeIN, [&](StorDebugInfo* info) { info->EventPrintf(pXmlIN); });
}
