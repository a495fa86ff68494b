#ifndef TESTS_JAVAINTERFACE_BRIDGETEST_H
#define TESTS_JAVAINTERFACE_BRIDGETEST_H

// Support of the Java storage bridge tests. The process starts one JVM
// (support/jvm) with -Xcheck:jni, loads the core into it from a Java class and
// calls the natives as Java methods through JNI. The tests link the core and
// the simulated controller library once each.
//
// Every test runs inside a JNI local frame of its own, and no test leaves a
// process-wide library behind, so the tests also pass all in one process.

#include <jni.h>

#include <cstdint>
#include <string>
#include <vector>

#include "RaidLib/JavaInterface/StorDataProc.h"
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "support/jvm/JvmTest.h"

namespace bridgetest {

using namespace jvmtest;

// One row of the natives table.
struct NativeRow {
    std::string kind, name, signature, trace;
};
const std::vector<NativeRow>& nativeRows();
const NativeRow& nativeRow(const std::string& name);

// Java objects (local references of the current frame).
jobject tAddr(int adapter, int array, int logicalDrive, int channel, int device);
// A chunk spec; a negative channel gives it no drive.
jobject chunkSpec(jlong start, jlong count, int type, int group, int channel, int device);
jobjectArray chunkArray(const std::vector<jobject>& chunks);


// Calls the native of that row on the StorDataProc object (its class for a
// static one) with the arguments and checks that it bound and raised
// nothing. Object results are returned; an int result comes back in intOut.
jobject callNative(jobject proc, const std::string& name, const std::vector<jvalue>& args, jint* intOut = nullptr);
Result callForResult(jobject proc, const std::string& name, const std::vector<jvalue>& args);

// Readable text of library arguments, as the recording library records them.
std::string text(const Addr& a);
std::string text(const LogicalDriveSpec& spec);
std::string text(const AddrCollection& c);

// A Tarnell library that counts its configuration builds. Made by the
// bridge through the test factory; the newest one is `last`.
class CountingLib : public TarnellLib {
public:
    CountingLib();
    ~CountingLib() override;
    System* newSystem() override;

    static int created;
    static int deleted;
    static int builds;
    static CountingLib* last;
    static void reset();
};

// What the recording library was asked and answers.
struct Script {
    std::vector<std::string> calls;
    Ret answer;
    bool raise = false;               // operations throw
    std::string logText;              // written into the controller-log buffer
    bool logFillsBuffer = false;      // the log fills the whole buffer, no NUL
    bool eventsText = false;          // getEvents hands out "<events/>"
    bool noSystem = false;            // the library makes no System to build
    ProgressCollection tasks;         // what getTasks appends
    void reset() { *this = Script(); }
};
extern Script script;

// A Tarnell library whose storage operations only record their arguments
// ("operation(arg,arg,...)") and answer script.answer.
class RecordingLib : public CountingLib {
public:
    using StorLibPlugin::getControllerLog;
    using StorLibPlugin::getEvents;
    using TarnellLib::getTasks;
    System* newSystem() override;
    Ret setControllerPhysicalDriveCache(const Addr& a, EnumHardDriveCacheMode sata, EnumHardDriveCacheMode sas) override;
    Ret testAllSpares(const Addr& a) override;
    Ret removeSnapshot(const Addr& a) override;
    Ret createSnapshot(const Addr& a, const Addr& target, bool backup) override;
    Ret setLogicalDriveState(const Addr& a, EnumLogicalDeviceState state) override;
    Ret upgradeControllerFirmware(const Addr& a, const char* path, bool skip) override;
    Ret startHardDriveTask(const Addr& a, EnumHardDriveTask task) override;
    Ret setCopyBack(const Addr& a, bool enabled) override;
    Ret setLogicalDriveCache(const Addr& a, EnumLogicalDriveCacheMode read, EnumLogicalDriveCacheMode write) override;
    Ret setAlarmState(const Addr& a, EnumAlarmState state) override;
    Ret synchronizeLogicalDrive(const Addr& a, bool fix) override;
    Ret startBatteryCalibration(const Addr& a) override;
    Ret identifyDevice(const Addr& a, EnumIdentifyOption option) override;
    Ret setPhysicalDriveCache(const Addr& a, EnumHardDriveCacheMode mode) override;
    Ret downHardDrive(const Addr& a, bool force) override;
    Ret setDataScrubRate(const Addr& a, unsigned long days) override;
    Ret setDataScrubRate(const Addr& a, EnumPriorityLevel priority) override;
    Ret setDataScrubActive(const Addr& a, bool active) override;
    Ret syncRescan(const Addr& a) override;
    Ret asyncRescan(const Addr& a) override;
    Ret initializeLogicalDrive(const Addr& a, EnumInitMethod method, EnumPriorityLevel priority) override;
    Ret initializeHardDrive(const Addr& a) override;
    Ret getEvents(const Addr& a, unsigned long start, char** xml) override;
    Ret clearControllerLog(const Addr& a, EnumLogTypeRequest type) override;
    Ret getControllerLog(const Addr& a, EnumLogTypeRequest type, char* buffer, unsigned long& size) override;
    Ret deleteLogicalDrive(const Addr& a) override;
    Ret setStripeSize(const Addr& a, EnumStripeSize size) override;
    Ret createGlobalHotSpare(const Addr& a) override;
    Ret deleteHotSpare(const Addr& a) override;
    Ret setLogicalDriveName(const Addr& a, const char* name) override;
    Ret getTasks(const Addr& a, ProgressCollection& tasks) override;
    Ret setTaskPriority(const Addr& a, unsigned long task, EnumPriorityLevel priority) override;
    Ret abortTask(const Addr& a, unsigned long task) override;
    Ret modifyLogicalDrive(const Addr& a, const LogicalDriveSpec& spec) override;
    Ret deleteAssignedHotSpare(const Addr& a, const AddrCollection& drives) override;
    Ret createAssignedHotSpare(const Addr& a, const AddrCollection& drives) override;
    Ret createLogicalDrive(const Addr& a, const LogicalDriveSpec& spec) override;

private:
    Ret record(const std::string& call);
};

StorLibPlugin* makeCountingLib();
StorLibPlugin* makeRecordingLib();
StorLibPlugin* makeNoLib();

// The fixture: the simulator in its default scenario, a fresh StorDataProc
// object `proc`, the bridge creating CountingLibs; afterwards the bridge's
// library is deleted (destructDLL), the default factory and the application
// name are back.
class BridgeTest : public tarnelltest::SimTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the bridge create its library with the factory from now on.
    void useFactory(StorDataProcLibraryFactory factory);
    // The trace log of the Tarnell type is on from now on.
    static void traceOn();
    static std::string traceLog();
    static std::string errorLog();

    JNIEnv* e = nullptr;
    jobject proc = nullptr;

private:
    const char* savedAppName = nullptr;
};

} // namespace bridgetest

#endif
