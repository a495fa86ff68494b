#include "RaidLib/JavaInterface/StorDataProc.h"

#include <jni.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <new>

#include "RaidLib/JavaInterface/JNIConversions.h"
#include "RaidLib/JavaInterface/StorDataProcNatives.h"
#include "RaidLib/TarnellLib.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/Util/TextCopy.h"

namespace {

StorLibPlugin* newTarnellLib() { return new TarnellLib; }

// The process-wide library and everything about it, under bridgeMutex.
std::mutex bridgeMutex;
StorLibPlugin* pGlobalStorLib = nullptr;
StorDataProcLibraryFactory libraryFactory = newTarnellLib;

// The copy of the application name a host passes to GetTarnellCore.
char appNameHolder[16];

// Thrown when a buffer of the native's own cannot be allocated: the native
// answers -3 at once, without its result trace.
struct BufferUnavailable {
    const char* expression;
};

// The process-wide library, created when there is none; a new library
// builds its configuration once when buildConfig is set. Null (after the
// error entry) when none can be made. Called under bridgeMutex.
StorLibPlugin* processLibrary(bool buildConfig)
{
    if (pGlobalStorLib)
        return pGlobalStorLib;
    pGlobalStorLib = libraryFactory();
    if (!pGlobalStorLib) {
        StorErrorPrintf(STORLIB_TARNELL, __FILE__, __LINE__, "*** Resource Error: pGlobalStorLib==NULL ***");
        return nullptr;
    }
    if (buildConfig && !pGlobalStorLib->getSystem())
        pGlobalStorLib->getSystemConfig();
    return pGlobalStorLib;
}

// The skeleton of every storage native: scope trace, -2 for a missing
// argument object, the library (created lazily), the address, the
// operation, -3 for a failed allocation and -13 for any other exception, the
// result trace, a new StorRet.
template <class Operation>
jobject runStorageNative(JNIEnv* env, const char* traceName, jobject jAddr, bool buildConfig,
                         std::initializer_list<jobject> required, Operation operation)
{
    StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE, traceName);
    Ret retOUT(0);
    try {
        int index = 0;
        for (jobject arg : required) {
            if (!arg)
                break;
            ++index;
        }
        if (index < static_cast<int>(required.size())) {
            retOUT.setBadParam(index);
            StorErrorPrintf(STORLIB_TARNELL, __FILE__, __LINE__, "*** Bad Parameter: %s, paramValue=%d ***",
                            "null argument object", index);
        } else {
            std::lock_guard<std::mutex> hold(bridgeMutex);
            StorLibPlugin* lib = processLibrary(buildConfig);
            if (!lib) {
                retOUT.setNotInitialized();
                return StorRet(env, &retOUT);
            }
            Addr addr;
            if (jAddr)
                JAddrtoCAddr(env, jAddr, &addr);
            retOUT = operation(*lib, addr);
        }
    } catch (const BufferUnavailable& e) {
        StorErrorPrintf(STORLIB_TARNELL, __FILE__, __LINE__, "*** Resource Error: %s ***", e.expression);
        retOUT.setResource();
        return StorRet(env, &retOUT);
    } catch (...) {
        StorLib::setCaughtResult(STORLIB_TARNELL, retOUT, __FILE__, __LINE__);
    }
    StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE, "retOUT.getReturn()=%d, retOUT.getAPIReturn()=%d",
                    retOUT.getReturn(), retOUT.getAPIReturn());
    return StorRet(env, &retOUT);
}

// ---------------------------------------------------------------- argument conversions

Addr javaAddr(JNIEnv* env, jobject jAddr)
{
    Addr addr;
    JAddrtoCAddr(env, jAddr, &addr);
    return addr;
}

// A collection of the one address.
AddrCollection oneAddress(JNIEnv* env, jobject jAddr)
{
    AddrCollection collection;
    collection.addAddr(javaAddr(env, jAddr));
    return collection;
}

// A Java int passed as a count or id: its 32-bit pattern, as the 32-bit
// platform passed it.
unsigned long unsignedLong(jint value) { return static_cast<uint32_t>(value); }

EnumHardDriveCacheMode hardDriveCacheMode(jboolean enable)
{
    return enable != JNI_FALSE ? HARD_DRIVE_CACHE_MODE_WRITE_BACK : HARD_DRIVE_CACHE_MODE_WRITE_THROUGH;
}

// A buffer of n bytes, all 0; BufferUnavailable when there is no memory.
std::unique_ptr<char[]> zeroedBuffer(size_t n, const char* expression)
{
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[n]());
    if (!buffer)
        throw BufferUnavailable{expression};
    return buffer;
}

// ---------------------------------------------------------------- operations with their own steps

// A document the library hands out in a new[] buffer; released with the
// holder, also when an exception ends the native.
struct HandedOutText {
    char* text = nullptr;
    HandedOutText() = default;
    HandedOutText(const HandedOutText&) = delete;
    HandedOutText& operator=(const HandedOutText&) = delete;
    ~HandedOutText() { delete[] text; }
};

Ret systemConfig(JNIEnv* env, jobject self, StorLibPlugin& lib)
{
    HandedOutText document;
    const Ret ret = lib.getSystemConfig(&document.text);
    setJavaStringBuffer(env, self, "xmlConfigBuffer", document.text);
    return ret;
}

// The start event number is always 0: with the Tarnell library the document
// holds no events.
Ret events(JNIEnv* env, jobject self, StorLibPlugin& lib, const Addr& addr)
{
    HandedOutText document;
    const Ret ret = lib.getEvents(addr, 0, &document.text);
    setJavaStringBuffer(env, self, "eventsBuffer", document.text);
    return ret;
}

Ret controllerLog(JNIEnv* env, jobject self, StorLibPlugin& lib, const Addr& addr, jint logType)
{
    const unsigned long bufferSize = StorLibPlugin::CONTROLLER_LOG_BUFFER_SIZE;
    std::unique_ptr<char[]> buffer = zeroedBuffer(bufferSize, "pBuffer = new char[buffSize]");
    unsigned long size = bufferSize;
    const Ret ret = lib.getControllerLog(addr, static_cast<EnumLogTypeRequest>(logType), buffer.get(), size);
    // Whatever the library wrote, the text ends inside the buffer.
    buffer[bufferSize - 1] = '\0';
    setJavaStringBuffer(env, self, "xmlLogBuffer", buffer.get());
    return ret;
}

Ret controllerCount(JNIEnv* env, StorLibPlugin& lib, jobject jCount)
{
    unsigned long count = 0;
    const Ret ret = lib.getControllerCount(count);
    setJavaInteger(env, jCount, static_cast<int>(count));
    StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Controller count = %u", static_cast<unsigned>(count));
    return ret;
}

Ret progress(JNIEnv* env, StorLibPlugin& lib, const Addr& addr, jobject jProgress)
{
    ProgressCollection tasks;
    const Ret ret = lib.getTasks(addr, tasks);
    CProgressCollectionToSingleJTProgress(env, addr, tasks, jProgress);
    return ret;
}

// The controller is never told to skip its OEM check.
Ret flashImage(JNIEnv* env, StorLibPlugin& lib, const Addr& addr, jstring jPath)
{
    const int pathSize = 512;
    std::unique_ptr<char[]> path = zeroedBuffer(pathSize, "cstr = new char[512]");
    JStringToCString(env, jPath, path.get(), pathSize);
    return lib.upgradeControllerFirmware(addr, path.get(), false);
}

Ret logicalDriveName(JNIEnv* env, StorLibPlugin& lib, const Addr& addr, jstring jName)
{
    char name[32];
    JStringToCString(env, jName, name, sizeof name);
    return lib.setLogicalDriveName(addr, name);
}

// The document is copied whole (n bytes and a NUL into n + 4) and parsed in
// place.
Ret createLogicalDrive(JNIEnv* env, StorLibPlugin& lib, const Addr& addr, jstring jXml)
{
    const jsize length = env->GetStringUTFLength(jXml);
    if (length < 0 || length > INT_MAX - 4)
        throw BufferUnavailable{"cstr = new char[xmlLength + 4]"};
    std::unique_ptr<char[]> xml(new (std::nothrow) char[static_cast<size_t>(length) + 4]);
    if (!xml)
        throw BufferUnavailable{"cstr = new char[xmlLength + 4]"};
    JStringToCString(env, jXml, xml.get(), length + 1);
    LogicalDriveSpec spec;
    GetLogicalDriveSpecFromXml(spec, xml.get(), static_cast<unsigned long>(length));
    return lib.createLogicalDrive(addr, spec);
}

// A null name gives an empty one; a chunk that cannot be converted gives -2
// and nothing is changed.
Ret modifyLogicalDrive(JNIEnv* env, StorLibPlugin& lib, const Addr& addr, jint raidLevel, jint stripeSize,
                       jstring jName, jobjectArray jChunks, jint readCache, jint writeCache, jint initMethod,
                       jint taskPriority)
{
    const int nameSize = 256;
    std::unique_ptr<char[]> name = zeroedBuffer(nameSize, "name = new char[256]");
    JStringToCString(env, jName, name.get(), nameSize);
    LogicalDriveSpec spec(static_cast<EnumRaidLevel>(raidLevel), static_cast<EnumStripeSize>(stripeSize), name.get());
    spec.readCacheSetting = static_cast<EnumLogicalDriveCacheMode>(readCache);
    spec.writeCacheSetting = static_cast<EnumLogicalDriveCacheMode>(writeCache);
    spec.initMethod = static_cast<EnumInitMethod>(initMethod);
    spec.taskPriority = static_cast<EnumPriorityLevel>(taskPriority);
    if (!JVectorChunkSpecsToCLogicalDriveSpec(env, jChunks, spec)) {
        Ret ret;
        ret.setBadParam(0);
        StorErrorPrintf(STORLIB_TARNELL, __FILE__, __LINE__, "*** Bad Parameter: %s, paramValue=%d ***",
                        "chunk specs", 0);
        return ret;
    }
    return lib.modifyLogicalDrive(addr, spec);
}

} // namespace

// ---------------------------------------------------------------- entry points

#define STORDATAPROC_ENTRY(name) Java_com_zeq_sysmgt_raidmgr_dataproc_StorDataProc_##name
#define STORDATAPROC_UNPAREN(...) __VA_ARGS__

// Every entry point is declared from the table, so a body written by hand
// must match its row.
#define STORDATAPROC_DECLARE(kind, result, name, params, sig, trace, required, operation) \
    extern "C" JNIEXPORT result JNICALL STORDATAPROC_ENTRY(name)(JNIEnv * env, STORDATAPROC_UNPAREN params);
STORDATAPROC_NATIVES(STORDATAPROC_DECLARE)
#undef STORDATAPROC_DECLARE

// The stubs and storage natives are made from their rows; most of them do
// not read every parameter.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define STORDATAPROC_DEFINE_OWN(result, name, params, trace, required, operation)
#define STORDATAPROC_DEFINE_STUB(result, name, params, trace, required, operation)                               \
    result STORDATAPROC_ENTRY(name)(JNIEnv * env, STORDATAPROC_UNPAREN params)                                   \
    {                                                                                                             \
        StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE, trace);                                         \
        static const Ret rtn(Ret::NOT_SUPPORTED);                                                                 \
        Ret answer = rtn;                                                                                         \
        return StorRet(env, &answer);                                                                             \
    }
#define STORDATAPROC_DEFINE_STORAGE(result, name, params, trace, required, operation)                            \
    result STORDATAPROC_ENTRY(name)(JNIEnv * env, STORDATAPROC_UNPAREN params)                                   \
    {                                                                                                             \
        return runStorageNative(env, trace, jAddr, true, {STORDATAPROC_UNPAREN required},                        \
                                [&](StorLibPlugin& lib, const Addr& addr) -> Ret { return operation; });         \
    }
#define STORDATAPROC_DEFINE_NOADDR(result, name, params, trace, required, operation)                             \
    result STORDATAPROC_ENTRY(name)(JNIEnv * env, STORDATAPROC_UNPAREN params)                                   \
    {                                                                                                             \
        return runStorageNative(env, trace, nullptr, false, {STORDATAPROC_UNPAREN required},                     \
                                [&](StorLibPlugin& lib, const Addr&) -> Ret { return operation; });              \
    }
#define STORDATAPROC_DEFINE(kind, result, name, params, sig, trace, required, operation) \
    STORDATAPROC_DEFINE_##kind(result, name, params, trace, required, operation)
STORDATAPROC_NATIVES(STORDATAPROC_DEFINE)
#undef STORDATAPROC_DEFINE
#pragma GCC diagnostic pop

// Flushes standard I/O, then creates the library and builds its
// configuration when there is none.
jobject STORDATAPROC_ENTRY(constructDLL)(JNIEnv* env, jclass)
{
    StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE, "JNI: constructDLL()");
    Ret retOUT(0);
    std::fflush(nullptr);
    try {
        std::lock_guard<std::mutex> hold(bridgeMutex);
        if (!processLibrary(true))
            retOUT.setNotInitialized();
    } catch (...) {
        StorLib::setCaughtResult(STORLIB_TARNELL, retOUT, __FILE__, __LINE__);
    }
    return StorRet(env, &retOUT);
}

jobject STORDATAPROC_ENTRY(destructDLL)(JNIEnv* env, jobject)
{
    StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE, "JNI: destructDLL()");
    Ret retOUT(0);
    try {
        std::lock_guard<std::mutex> hold(bridgeMutex);
        delete pGlobalStorLib;
        pGlobalStorLib = nullptr;
    } catch (...) {
        pGlobalStorLib = nullptr;
        StorLib::setCaughtResult(STORLIB_TARNELL, retOUT, __FILE__, __LINE__);
    }
    return StorRet(env, &retOUT);
}

jint STORDATAPROC_ENTRY(checkVersions)(JNIEnv*, jobject, jint)
{
    StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE, "JNI: checkVersions()");
    return 404;
}

// ---------------------------------------------------------------- host entry points

StorLib* GetTarnellCore(const char* appName)
{
    StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE, "GetStorLib()");
    if (appName) {
        copyText(appNameHolder, 9, appName);
        pStorLibAppName = appNameHolder;
    } else {
        pStorLibAppName = "DYNAMIC";
    }
    std::lock_guard<std::mutex> hold(bridgeMutex);
    if (!pGlobalStorLib) {
        try {
            pGlobalStorLib = libraryFactory();
        } catch (...) {
            pGlobalStorLib = nullptr;
        }
        if (!pGlobalStorLib)
            StorErrorPrintf(STORLIB_TARNELL, __FILE__, __LINE__, "*** Resource Error: pGlobalStorLib = new SL_LIB; ***");
    }
    return pGlobalStorLib;
}

void ReleaseTarnellCore() { StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE, "ReleaseStorLib()"); }

void deleteStorDataProcLibrary()
{
    // A native still running on another thread keeps its library. The
    // library is deleted without the mutex: its destructor traces, and a
    // native entered meanwhile holds the trace lock while it waits for the
    // mutex.
    StorLibPlugin* lib = nullptr;
    {
        std::unique_lock<std::mutex> hold(bridgeMutex, std::try_to_lock);
        if (!hold.owns_lock())
            return;
        lib = pGlobalStorLib;
        pGlobalStorLib = nullptr;
    }
    delete lib;
}

StorDataProcLibraryFactory setStorDataProcLibraryFactoryForTest(StorDataProcLibraryFactory factory)
{
    std::lock_guard<std::mutex> hold(bridgeMutex);
    StorDataProcLibraryFactory previous = libraryFactory;
    libraryFactory = factory ? factory : newTarnellLib;
    return previous;
}
