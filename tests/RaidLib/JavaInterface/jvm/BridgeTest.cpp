#include "BridgeTest.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <ostream>
#include <stdexcept>

#include "RaidLib/JavaInterface/StorDataProcNatives.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "support/TestUtil.h"

namespace bridgetest {

namespace {

jclass storDataProcClass()
{
    jclass cls = env()->FindClass("com/zeq/sysmgt/raidmgr/dataproc/StorDataProc");
    expectNoException(env(), "StorDataProc");
    return cls;
}

std::string idText(STORID_T id) { return id == STORID_UNDEFINED ? "-" : std::to_string(id); }

} // namespace

const std::vector<NativeRow>& nativeRows()
{
#define BRIDGETEST_ROW(kind, result, name, params, sig, trace, required, operation) \
    NativeRow{#kind, #name, sig, trace},
    static const std::vector<NativeRow> rows{STORDATAPROC_NATIVES(BRIDGETEST_ROW)};
#undef BRIDGETEST_ROW
    return rows;
}

const NativeRow& nativeRow(const std::string& name)
{
    for (const NativeRow& row : nativeRows()) {
        if (row.name == name)
            return row;
    }
    throw std::invalid_argument("no native " + name);
}

jobject tAddr(int adapter, int array, int logicalDrive, int channel, int device)
{
    jobject a = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TAddr");
    setIntField(a, "adapter", adapter);
    setIntField(a, "array", array);
    setIntField(a, "logicalDrive", logicalDrive);
    setIntField(a, "channel", channel);
    setIntField(a, "device", device);
    return a;
}

jobject chunkSpec(jlong start, jlong count, int type, int group, int channel, int device)
{
    JNIEnv* e = env();
    jobject chunk = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TChunkSpec");
    jclass cls = e->GetObjectClass(chunk);
    e->SetLongField(chunk, e->GetFieldID(cls, "startSector", "J"), start);
    e->SetLongField(chunk, e->GetFieldID(cls, "numSector", "J"), count);
    setIntField(chunk, "type", type);
    setIntField(chunk, "group", group);
    if (channel >= 0) {
        jobject id = newObject("com/zeq/sysmgt/raidmgr/dataproc/util/DeviceID");
        setIntField(id, "adapterID", 99);
        setIntField(id, "channelID", channel);
        setIntField(id, "deviceID", device);
        jmethodID set = e->GetMethodID(cls, "setDeviceID", "(Lcom/zeq/sysmgt/raidmgr/dataproc/util/DeviceID;)V");
        e->CallVoidMethod(chunk, set, id);
        expectNoException(e, "setDeviceID");
        e->DeleteLocalRef(id);
    }
    e->DeleteLocalRef(cls);
    return chunk;
}

jobjectArray chunkArray(const std::vector<jobject>& chunks)
{
    JNIEnv* e = env();
    jclass cls = e->FindClass("com/zeq/sysmgt/raidmgr/dataproc/jni/TChunkSpec");
    expectNoException(e, "TChunkSpec");
    jobjectArray array = e->NewObjectArray(static_cast<jsize>(chunks.size()), cls, nullptr);
    expectNoException(e, "chunk array");
    for (size_t i = 0; i < chunks.size(); ++i) {
        e->SetObjectArrayElement(array, static_cast<jsize>(i), chunks[i]);
        expectNoException(e, "chunk array element");
    }
    e->DeleteLocalRef(cls);
    return array;
}

jobject callNative(jobject proc, const std::string& name, const std::vector<jvalue>& args, jint* intOut)
{
    JNIEnv* e = env();
    const NativeRow& row = nativeRow(name);
    jclass cls = storDataProcClass();
    const bool isStatic = row.name == "constructDLL";
    jmethodID m = isStatic ? e->GetStaticMethodID(cls, row.name.c_str(), row.signature.c_str())
                           : e->GetMethodID(cls, row.name.c_str(), row.signature.c_str());
    expectNoException(e, name + " " + row.signature);
    jobject out = nullptr;
    if (m) {
        const bool returnsInt = row.signature.back() == 'I';
        if (isStatic)
            out = e->CallStaticObjectMethodA(cls, m, args.data());
        else if (returnsInt && intOut)
            *intOut = e->CallIntMethodA(proc, m, args.data());
        else
            out = e->CallObjectMethodA(proc, m, args.data());
        expectNoException(e, "call of " + name);
    }
    e->DeleteLocalRef(cls);
    return out;
}

Result callForResult(jobject proc, const std::string& name, const std::vector<jvalue>& args)
{
    jobject storRet = callNative(proc, name, args);
    Result r = result(storRet);
    env()->DeleteLocalRef(storRet);
    return r;
}

std::string text(const Addr& a)
{
    std::string t = "{" + idText(a.getAdapterID()) + "," + idText(a.getArrayID()) + "," +
                    idText(a.getLogicalDriveID()) + "," + idText(a.getChannelID()) + "," + idText(a.getDeviceID());
    if (a.getChunkID() != BLOCK_UNDEFINED || a.getItemID() != STORID_UNDEFINED ||
        a.getSASPhyID() != STORID_UNDEFINED)
        t += "|" + std::to_string(a.getChunkID()) + "," + idText(a.getItemID()) + "," + idText(a.getSASPhyID());
    return t + "}";
}

std::string text(const LogicalDriveSpec& spec)
{
    std::string t = "spec(" + std::to_string(spec.raidLevel) + "," + std::to_string(spec.stripeSize) + ",'" +
                    spec.getName() + "'," + std::to_string(spec.readCacheSetting) + "," +
                    std::to_string(spec.writeCacheSetting) + "," + std::to_string(spec.initMethod) + "," +
                    std::to_string(spec.taskPriority) + ",[";
    for (size_t i = 0; i < spec.chunks.size(); ++i) {
        const ChunkSpec& c = spec.chunks[i];
        t += (i ? ";" : "") + idText(c.getLogicalDriveID()) + ":" + idText(c.getChannelID()) + ":" +
             idText(c.getDeviceID()) + ":" + std::to_string(c.getStartBlock()) + ":" +
             std::to_string(c.getNumBlocks()) + ":" + std::to_string(c.getGroupNum()) + ":" +
             std::to_string(c.getChunkType());
    }
    return t + "])";
}

std::string text(const AddrCollection& c)
{
    std::string t = "[";
    for (const Addr& a : c)
        t += (t.size() > 1 ? "," : "") + text(a);
    return t + "]";
}

// ---------------------------------------------------------------- libraries

int CountingLib::created = 0;
int CountingLib::deleted = 0;
int CountingLib::builds = 0;
CountingLib* CountingLib::last = nullptr;

CountingLib::CountingLib()
{
    ++created;
    last = this;
}

CountingLib::~CountingLib()
{
    ++deleted;
    if (last == this)
        last = nullptr;
}

System* CountingLib::newSystem()
{
    ++builds;
    return TarnellLib::newSystem();
}

void CountingLib::reset()
{
    created = deleted = builds = 0;
    last = nullptr;
}

Script script;

namespace {

std::string arg(const Addr& a) { return text(a); }
std::string arg(bool b) { return b ? "true" : "false"; }
std::string arg(long long n) { return std::to_string(n); }

template <class... Args>
std::string call(const char* operation, const Args&... args)
{
    const std::vector<std::string> parts{arg(args)...};
    std::string t = std::string(operation) + "(";
    for (size_t i = 0; i < parts.size(); ++i)
        t += (i ? "," : "") + parts[i];
    return t + ")";
}

long long n(long long v) { return v; }

} // namespace

Ret RecordingLib::record(const std::string& c)
{
    script.calls.push_back(c);
    if (script.raise)
        throw std::runtime_error("scripted failure");
    return script.answer;
}

System* RecordingLib::newSystem() { return script.noSystem ? nullptr : CountingLib::newSystem(); }

Ret RecordingLib::setControllerPhysicalDriveCache(const Addr& a, EnumHardDriveCacheMode sata,
                                                  EnumHardDriveCacheMode sas)
{
    return record(call("setControllerPhysicalDriveCache", a, n(sata), n(sas)));
}
Ret RecordingLib::testAllSpares(const Addr& a) { return record(call("testAllSpares", a)); }
Ret RecordingLib::removeSnapshot(const Addr& a) { return record(call("removeSnapshot", a)); }
Ret RecordingLib::createSnapshot(const Addr& a, const Addr& target, bool backup)
{
    return record(call("createSnapshot", a, target, backup));
}
Ret RecordingLib::setLogicalDriveState(const Addr& a, EnumLogicalDeviceState state)
{
    return record(call("setLogicalDriveState", a, n(state)));
}
Ret RecordingLib::upgradeControllerFirmware(const Addr& a, const char* path, bool skip)
{
    return record(call("upgradeControllerFirmware", a, n(static_cast<long long>(std::strlen(path))), skip) + path);
}
Ret RecordingLib::startHardDriveTask(const Addr& a, EnumHardDriveTask task)
{
    return record(call("startHardDriveTask", a, n(task)));
}
Ret RecordingLib::setCopyBack(const Addr& a, bool enabled) { return record(call("setCopyBack", a, enabled)); }
Ret RecordingLib::setLogicalDriveCache(const Addr& a, EnumLogicalDriveCacheMode read, EnumLogicalDriveCacheMode write)
{
    return record(call("setLogicalDriveCache", a, n(read), n(write)));
}
Ret RecordingLib::setAlarmState(const Addr& a, EnumAlarmState state) { return record(call("setAlarmState", a, n(state))); }
Ret RecordingLib::synchronizeLogicalDrive(const Addr& a, bool fix)
{
    return record(call("synchronizeLogicalDrive", a, fix));
}
Ret RecordingLib::startBatteryCalibration(const Addr& a) { return record(call("startBatteryCalibration", a)); }
Ret RecordingLib::identifyDevice(const Addr& a, EnumIdentifyOption option)
{
    return record(call("identifyDevice", a, n(option)));
}
Ret RecordingLib::setPhysicalDriveCache(const Addr& a, EnumHardDriveCacheMode mode)
{
    return record(call("setPhysicalDriveCache", a, n(mode)));
}
Ret RecordingLib::downHardDrive(const Addr& a, bool force) { return record(call("downHardDrive", a, force)); }
Ret RecordingLib::setDataScrubRate(const Addr& a, unsigned long days)
{
    return record(call("setDataScrubRate(days)", a, n(static_cast<long long>(days))));
}
Ret RecordingLib::setDataScrubRate(const Addr& a, EnumPriorityLevel priority)
{
    return record(call("setDataScrubRate(priority)", a, n(priority)));
}
Ret RecordingLib::setDataScrubActive(const Addr& a, bool active) { return record(call("setDataScrubActive", a, active)); }
Ret RecordingLib::syncRescan(const Addr& a) { return record(call("syncRescan", a)); }
Ret RecordingLib::asyncRescan(const Addr& a) { return record(call("asyncRescan", a)); }
Ret RecordingLib::initializeLogicalDrive(const Addr& a, EnumInitMethod method, EnumPriorityLevel priority)
{
    return record(call("initializeLogicalDrive", a, n(method), n(priority)));
}
Ret RecordingLib::initializeHardDrive(const Addr& a) { return record(call("initializeHardDrive", a)); }
Ret RecordingLib::getEvents(const Addr& a, unsigned long start, char** xml)
{
    Ret r = record(call("getEvents", a, n(static_cast<long long>(start)), xml != nullptr && *xml == nullptr));
    if (script.eventsText) {
        *xml = new char[sizeof "<events/>"];
        std::memcpy(*xml, "<events/>", sizeof "<events/>");
    }
    return r;
}
Ret RecordingLib::clearControllerLog(const Addr& a, EnumLogTypeRequest type)
{
    return record(call("clearControllerLog", a, n(type)));
}
Ret RecordingLib::getControllerLog(const Addr& a, EnumLogTypeRequest type, char* buffer, unsigned long& size)
{
    Ret r = record(call("getControllerLog", a, n(type), n(static_cast<long long>(size)), n(buffer[0])));
    if (script.logFillsBuffer)
        std::memset(buffer, 'L', size);
    else
        std::memcpy(buffer, script.logText.data(), script.logText.size());
    return r;
}
Ret RecordingLib::deleteLogicalDrive(const Addr& a) { return record(call("deleteLogicalDrive", a)); }
Ret RecordingLib::setStripeSize(const Addr& a, EnumStripeSize size) { return record(call("setStripeSize", a, n(size))); }
Ret RecordingLib::createGlobalHotSpare(const Addr& a) { return record(call("createGlobalHotSpare", a)); }
Ret RecordingLib::deleteHotSpare(const Addr& a) { return record(call("deleteHotSpare", a)); }
Ret RecordingLib::setLogicalDriveName(const Addr& a, const char* name)
{
    return record(call("setLogicalDriveName", a) + "'" + name + "'");
}
Ret RecordingLib::getTasks(const Addr& a, ProgressCollection& tasks)
{
    Ret r = record(call("getTasks", a));
    for (Progress p : script.tasks.getCollection())
        tasks.add(p);
    return r;
}
Ret RecordingLib::setTaskPriority(const Addr& a, unsigned long task, EnumPriorityLevel priority)
{
    return record(call("setTaskPriority", a, n(static_cast<long long>(task)), n(priority)));
}
Ret RecordingLib::abortTask(const Addr& a, unsigned long task)
{
    return record(call("abortTask", a, n(static_cast<long long>(task))));
}
Ret RecordingLib::modifyLogicalDrive(const Addr& a, const LogicalDriveSpec& spec)
{
    return record(call("modifyLogicalDrive", a) + text(spec));
}
Ret RecordingLib::deleteAssignedHotSpare(const Addr& a, const AddrCollection& drives)
{
    return record(call("deleteAssignedHotSpare", a) + text(drives));
}
Ret RecordingLib::createAssignedHotSpare(const Addr& a, const AddrCollection& drives)
{
    return record(call("createAssignedHotSpare", a) + text(drives));
}
Ret RecordingLib::createLogicalDrive(const Addr& a, const LogicalDriveSpec& spec)
{
    return record(call("createLogicalDrive", a) + text(spec));
}

StorLibPlugin* makeCountingLib() { return new CountingLib; }
StorLibPlugin* makeRecordingLib() { return new RecordingLib; }
StorLibPlugin* makeNoLib() { return nullptr; }

// ---------------------------------------------------------------- fixture

void BridgeTest::SetUp()
{
    SimTest::SetUp();
    TarnellEvents::resetForTest();
    TarnellLib::resetPollClocksForTest();
    savedAppName = pStorLibAppName;
    e = env();
    ASSERT_NE(nullptr, e) << "no JVM";
    ASSERT_EQ(0, e->PushLocalFrame(256));
    script.reset();
    CountingLib::reset();
    useFactory(makeCountingLib);
    proc = newObject("com/zeq/sysmgt/raidmgr/dataproc/StorDataProc");
}

void BridgeTest::TearDown()
{
    if (e) {
        callNative(proc, "destructDLL", {});
        setStorDataProcLibraryFactoryForTest(nullptr);
        e->PopLocalFrame(nullptr);
    }
    pStorLibAppName = savedAppName;
    TarnellLib::resetPollClocksForTest();
    TarnellEvents::resetForTest();
    SimTest::TearDown();
}

void BridgeTest::useFactory(StorDataProcLibraryFactory factory) { setStorDataProcLibraryFactoryForTest(factory); }

void BridgeTest::traceOn() { std::ofstream("tarnelltrace.txt").flush(); }

std::string BridgeTest::traceLog() { return testsupport::readFile("tarnelltrace.txt"); }

std::string BridgeTest::errorLog() { return testsupport::readFile("tarnellerror.txt"); }

} // namespace bridgetest
