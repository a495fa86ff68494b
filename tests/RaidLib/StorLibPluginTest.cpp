#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RaidLib/StorLibPlugin.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/StorLibTestFamily.h"
#include "support/TestUtil.h"

using namespace storlibtest;

namespace {

enum Target { ADAPTER, CHANNEL, HARD_DRIVE, OTHER_DEVICE, ARRAY, LOGICAL_DRIVE };

const char* const targetNames[] = {"adapter", "channel", "hard drive", "other device", "array", "logical drive"};

// The address of an object of the scripted tree.
Addr addressOf(const StorLib& lib, Target target)
{
    Adapter* adapter = lib.getAdapter(0);
    switch (target) {
    case ADAPTER:
        return adapter->getAddr();
    case CHANNEL:
        return adapter->getChannel<RaidObject>(0)->getAddr();
    case HARD_DRIVE:
        return adapter->getHardDrive<RaidObject>(0)->getAddr();
    case OTHER_DEVICE:
        return adapter->getOtherPhysicalDevice<RaidObject>(0)->getAddr();
    case ARRAY:
        return adapter->getLogicalDrive(0)->getArray()->getAddr();
    case LOGICAL_DRIVE:
        return adapter->getLogicalDrive(0)->getAddr();
    }
    return Addr();
}

// The arguments of the operations, each under the name it has in the
// recorded calls.
struct Arguments {
    Arguments()
    {
        script().names = {{&spec, "spec"},         {&buffer, "buffer"}, {&logicalDrives, "lds"},
                          {&command, "command"},   {&diag, "diag"},     {&chunks, "chunks"},
                          {&events, "events"},     {&records, "records"}, {&tasks, "tasks"},
                          {logBuffer, "logBuffer"}, {&paused, "paused"}, {&target, "target"}};
    }

    LogicalDriveSpec spec;
    Buffer buffer;
    AddrCollection logicalDrives;
    SCSICommand command;
    DISK_DIAGNOSTIC_STATE diag{};
    std::vector<ChunkSpec> chunks;
    StorEventCollection events{4, 4, 64};
    std::vector<GenericRecord> records;
    ProgressCollection tasks;
    char logBuffer[64] = {};
    unsigned long logSize = sizeof logBuffer;
    bool paused = false;
    EnumAlarmState alarm = ALARM_NOT_PRESENT;
    Addr target{3};
    char* out = nullptr;
    unsigned long outSize = 0;
};

typedef std::function<Ret(StorLibPlugin&, const Addr&, Arguments&)> Operation;

// Releases what an operation handed out through a char** argument.
Ret released(StorLibPlugin& lib, Arguments& x, const Ret& r)
{
    lib.freeBuffer(x.out);
    x.out = nullptr;
    return r;
}

struct Row {
    const char* operation;
    Target target; // of an accepted class
    Target wrong;  // of a class the operation refuses
    Operation call;
    // What the family records; none for an operation that only reads the model.
    std::vector<std::string> calls;
};

typedef StorLibPlugin L;
typedef const Addr& A;
typedef Arguments& X;

const std::vector<Row>& rows()
{
    static const std::vector<Row> table = {
        {"createLogicalDrive", ADAPTER, HARD_DRIVE, [](L& l, A a, X x) { return l.createLogicalDrive(a, x.spec); },
         {"Adapter::createLogicalDrive(spec)"}},
        {"getEvents(char**)", ADAPTER, HARD_DRIVE,
         [](L& l, A a, X x) { return released(l, x, l.getEvents(a, 7, &x.out)); }, {"Adapter::getEvents(7,\"\")"}},
        {"getEvents(records)", ADAPTER, HARD_DRIVE, [](L& l, A a, X x) { return l.getEvents(a, 7, x.records); },
         {"Adapter::getEvents(7,records)"}},
        {"getEvents(collection)", ADAPTER, HARD_DRIVE, [](L& l, A a, X x) { return l.getEvents(a, x.events); },
         {"Adapter::getEvents(events)"}},
        {"setAlarmState", ADAPTER, LOGICAL_DRIVE, [](L& l, A a, X) { return l.setAlarmState(a, ALARM_SOUND); },
         {"Adapter::setAlarmState(4)"}},
        {"getAlarmState", ADAPTER, HARD_DRIVE, [](L& l, A a, X x) { return l.getAlarmState(a, x.alarm); }, {}},
        {"setControllerConfiguration", ADAPTER, HARD_DRIVE,
         [](L& l, A a, X x) { return l.setControllerConfiguration(a, CONFIG_SOURCE_ALL_DRIVES, x.buffer); },
         {"Adapter::setConfiguration(buffer)"}},
        {"getControllerConfiguration", ADAPTER, HARD_DRIVE,
         [](L& l, A a, X x) { return l.getControllerConfiguration(a, x.buffer); },
         {"Adapter::getConfiguration(buffer)"}},
        {"getControllerLog(char**)", ADAPTER, HARD_DRIVE,
         [](L& l, A a, X x) { return released(l, x, l.getControllerLog(a, LOG_EVENT, &x.out, &x.outSize)); },
         {"Adapter::getControllerLog(6,?,2097664)"}},
        {"getControllerLog(char*)", ADAPTER, HARD_DRIVE,
         [](L& l, A a, X x) { return l.getControllerLog(a, LOG_SOFT, x.logBuffer, x.logSize); },
         {"Adapter::getControllerLog(1,logBuffer,64)"}},
        {"clearControllerLog", ADAPTER, HARD_DRIVE, [](L& l, A a, X) { return l.clearControllerLog(a, LOG_HARD); },
         {"Adapter::clearControllerLog(2)"}},
        {"setDataScrubActive", ADAPTER, HARD_DRIVE, [](L& l, A a, X) { return l.setDataScrubActive(a, true); },
         {"Adapter::setDataScrubActive(true)"}},
        {"setDataScrubRate(priority)", ADAPTER, HARD_DRIVE,
         [](L& l, A a, X) { return l.setDataScrubRate(a, TASK_PRIORITY_MEDIUM); },
         {"Adapter::setDataScrubRate/priority(1)"}},
        {"setDataScrubRate(days)", ADAPTER, HARD_DRIVE, [](L& l, A a, X) { return l.setDataScrubRate(a, 30UL); },
         {"Adapter::setDataScrubRate/days(30)"}},
        {"pauseResumeIO", ADAPTER, HARD_DRIVE, [](L& l, A a, X) { return l.pauseResumeIO(a, 500); },
         {"Adapter::pauseResumeIO(500)"}},
        {"upgradeControllerFirmware", ADAPTER, HARD_DRIVE,
         [](L& l, A a, X) { return l.upgradeControllerFirmware(a, "fw.bin", true); },
         {"Adapter::upgradeControllerFirmware(fw.bin,false)"}},
        {"isControllerPaused", ADAPTER, HARD_DRIVE, [](L& l, A a, X x) { return l.isControllerPaused(a, x.paused); },
         {"Adapter::isPaused(paused)"}},
        {"setControllerPhysicalDriveCache", ADAPTER, HARD_DRIVE,
         [](L& l, A a, X) {
             return l.setControllerPhysicalDriveCache(a, HARD_DRIVE_CACHE_MODE_WRITE_THROUGH,
                                                      HARD_DRIVE_CACHE_MODE_WRITE_BACK);
         },
         {"Adapter::setPhysicalDriveCache(1,0)"}},
        {"setLogicalDriveName", LOGICAL_DRIVE, ADAPTER, [](L& l, A a, X) { return l.setLogicalDriveName(a, "data"); },
         {"LogicalDrive::setName(data)"}},
        {"setLogicalDriveCache", LOGICAL_DRIVE, ADAPTER,
         [](L& l, A a, X) { return l.setLogicalDriveCache(a, LD_CACHE_ENABLED, LD_CACHE_DISABLED); },
         {"LogicalDrive::setCache(2,1)"}},
        {"startTask", HARD_DRIVE, ADAPTER, [](L& l, A a, X) { return l.startTask(a, TASK_VERIFY); },
         {"HardDrive::startTask(2)"}},
        {"startTask", LOGICAL_DRIVE, ADAPTER, [](L& l, A a, X) { return l.startTask(a, TASK_VERIFY); },
         {"LogicalDrive::synchronize()"}},
        {"setPhysicalDriveCache", HARD_DRIVE, OTHER_DEVICE,
         [](L& l, A a, X) { return l.setPhysicalDriveCache(a, HARD_DRIVE_CACHE_MODE_WRITE_BACK); },
         {"HardDrive::setWriteCacheEnable(true)"}},
        {"synchronizeLogicalDrive(true)", LOGICAL_DRIVE, ADAPTER,
         [](L& l, A a, X) { return l.synchronizeLogicalDrive(a, true); }, {"LogicalDrive::synchronize()"}},
        {"synchronizeLogicalDrive(false)", LOGICAL_DRIVE, ADAPTER,
         [](L& l, A a, X) { return l.synchronizeLogicalDrive(a, false); }, {"LogicalDrive::verify()"}},
        {"initializeLogicalDrive", LOGICAL_DRIVE, ADAPTER,
         [](L& l, A a, X) { return l.initializeLogicalDrive(a, INIT_QUICK, TASK_PRIORITY_LOW); },
         {"LogicalDrive::initializeLogicalDrive(2,0)"}},
        {"deleteLogicalDrive", LOGICAL_DRIVE, ADAPTER, [](L& l, A a, X) { return l.deleteLogicalDrive(a); },
         {"LogicalDrive::deleteLogicalDrive()"}},
        {"deleteArray", ARRAY, LOGICAL_DRIVE, [](L& l, A a, X) { return l.deleteArray(a); }, {"Array::deleteArray()"}},
        {"setStripeSize", LOGICAL_DRIVE, ARRAY, [](L& l, A a, X) { return l.setStripeSize(a, STRIPE_64K); },
         {"LogicalDrive::setStripeSize(64)"}},
        {"increaseLogicalDriveSize", LOGICAL_DRIVE, ADAPTER,
         [](L& l, A a, X x) { return l.increaseLogicalDriveSize(a, x.chunks, TASK_PRIORITY_HIGH); },
         {"LogicalDrive::increaseSize(chunks,2)"}},
        {"modifyLogicalDrive", LOGICAL_DRIVE, ADAPTER, [](L& l, A a, X x) { return l.modifyLogicalDrive(a, x.spec); },
         {"LogicalDrive::modify(spec)"}},
        {"setLogicalDriveBootable", LOGICAL_DRIVE, ADAPTER,
         [](L& l, A a, X) { return l.setLogicalDriveBootable(a, true); }, {"LogicalDrive::setBootable(true)"}},
        {"setLogicalDriveState", LOGICAL_DRIVE, ADAPTER, [](L& l, A a, X) { return l.setLogicalDriveState(a, CRITICAL); },
         {"LogicalDrive::setState(3)"}},
        {"setDeviceState", OTHER_DEVICE, ADAPTER, [](L& l, A a, X) { return l.setDeviceState(a, DRIVE_DEAD); },
         {"PhysicalDevice::setState(2)"}},
        {"setDeviceState", HARD_DRIVE, LOGICAL_DRIVE, [](L& l, A a, X) { return l.setDeviceState(a, DRIVE_DEAD); },
         {"PhysicalDevice::setState(2)"}},
        {"createGlobalHotSpare", HARD_DRIVE, OTHER_DEVICE, [](L& l, A a, X) { return l.createGlobalHotSpare(a); },
         {"HardDrive::createGlobalHotSpare()"}},
        {"createCandidateHotSpare", HARD_DRIVE, OTHER_DEVICE,
         [](L& l, A a, X) { return l.createCandidateHotSpare(a); }, {"HardDrive::createCandidateHotSpare()"}},
        {"createAssignedHotSpare", HARD_DRIVE, OTHER_DEVICE,
         [](L& l, A a, X x) { return l.createAssignedHotSpare(a, x.logicalDrives); },
         {"HardDrive::createAssignedHotSpare(lds)"}},
        {"deleteHotSpare", HARD_DRIVE, OTHER_DEVICE, [](L& l, A a, X) { return l.deleteHotSpare(a); },
         {"HardDrive::deleteHotSpare()"}},
        {"deleteAssignedHotSpare", HARD_DRIVE, OTHER_DEVICE,
         [](L& l, A a, X x) { return l.deleteAssignedHotSpare(a, x.logicalDrives); },
         {"HardDrive::deleteAssignedHotSpare(lds)"}},
        {"identifyDevice", OTHER_DEVICE, ADAPTER, [](L& l, A a, X) { return l.identifyDevice(a, IDENTIFY_START); },
         {"PhysicalDevice::identifyDevice(true)"}},
        {"identifyDevice", LOGICAL_DRIVE, ADAPTER, [](L& l, A a, X) { return l.identifyDevice(a, IDENTIFY_STOP); },
         {"LogicalDrive::identifyDevice(false)"}},
        {"identifyDevice", CHANNEL, ARRAY, [](L& l, A a, X) { return l.identifyDevice(a, IDENTIFY_STOP_ALL); },
         {"Channel::identifyDevice(false)"}},
        {"initializeHardDrive", HARD_DRIVE, OTHER_DEVICE, [](L& l, A a, X) { return l.initializeHardDrive(a); },
         {"HardDrive::initializeHardDrive()"}},
        {"scsiPassThruCommand", OTHER_DEVICE, ADAPTER,
         [](L& l, A a, X x) { return l.scsiPassThruCommand(a, x.command); },
         {"PhysicalDevice::scsiPassThruCommand(command)"}},
        {"downHardDrive", HARD_DRIVE, OTHER_DEVICE, [](L& l, A a, X) { return l.downHardDrive(a, true); },
         {"HardDrive::downHardDrive(true)"}},
        {"syncRescan", ADAPTER, HARD_DRIVE, [](L& l, A a, X) { return l.syncRescan(a); },
         {"Adapter::scanForDrives(false)"}},
        {"asyncRescan", ADAPTER, HARD_DRIVE, [](L& l, A a, X) { return l.asyncRescan(a); },
         {"Adapter::scanForDrives(true)"}},
        {"getTasks(char**)", ADAPTER, CHANNEL, [](L& l, A a, X x) { return released(l, x, l.getTasks(a, &x.out)); },
         {"Adapter::getProgress(?)"}},
        {"getTasks(collection)", ADAPTER, CHANNEL, [](L& l, A a, X x) { return l.getTasks(a, x.tasks); },
         {"Adapter::getProgress(tasks)"}},
        {"getTasks(collection)", HARD_DRIVE, CHANNEL, [](L& l, A a, X x) { return l.getTasks(a, x.tasks); },
         {"HardDrive::getProgress(tasks)"}},
        {"getTasks(collection)", LOGICAL_DRIVE, OTHER_DEVICE, [](L& l, A a, X x) { return l.getTasks(a, x.tasks); },
         {"LogicalDrive::getProgress(tasks)"}},
        {"setTaskPriority", ADAPTER, HARD_DRIVE, [](L& l, A a, X) { return l.setTaskPriority(a, 9, TASK_PRIORITY_LOW); },
         {"Adapter::setTaskPriority(9,0)"}},
        {"abortTask", ADAPTER, HARD_DRIVE, [](L& l, A a, X) { return l.abortTask(a, 9); }, {"Adapter::abortTask(9)"}},
        {"testAllSpares", ADAPTER, HARD_DRIVE, [](L& l, A a, X) { return l.testAllSpares(a); },
         {"Adapter::testAllSpares()"}},
        {"setITNexusLossTime", HARD_DRIVE, LOGICAL_DRIVE, [](L& l, A a, X) { return l.setITNexusLossTime(a, 30); },
         {"PhysicalDevice::setITNexusLossTime(30)"}},
        {"setITNexusLossTime", ADAPTER, CHANNEL, [](L& l, A a, X) { return l.setITNexusLossTime(a, 30); },
         {"PhysicalDevice::setITNexusLossTime(30)", "PhysicalDevice::setITNexusLossTime(30)"}},
        {"createSnapshot", LOGICAL_DRIVE, ADAPTER, [](L& l, A a, X x) { return l.createSnapshot(a, x.target, true); },
         {"LogicalDrive::createSnapshot(target,true)"}},
        {"removeSnapshot", LOGICAL_DRIVE, ADAPTER, [](L& l, A a, X) { return l.removeSnapshot(a); },
         {"LogicalDrive::removeSnapshot()"}},
        {"setCopyBack", ADAPTER, HARD_DRIVE, [](L& l, A a, X) { return l.setCopyBack(a, true); },
         {"Adapter::setCopyBack(true)"}},
        {"startDiskDiagnostic", HARD_DRIVE, OTHER_DEVICE,
         [](L& l, A a, X) { return l.startDiskDiagnostic(a, DISK_DIAG_LONG_SELF_TEST); },
         {"HardDrive::startDiskDiagnostic(2)"}},
        {"abortDiskDiagnostic", HARD_DRIVE, OTHER_DEVICE, [](L& l, A a, X) { return l.abortDiskDiagnostic(a); },
         {"HardDrive::abortDiskDiagnostic()"}},
        {"getDiskDiagnosticProgress", HARD_DRIVE, OTHER_DEVICE,
         [](L& l, A a, X x) { return l.getDiskDiagnosticProgress(a, x.diag); },
         {"HardDrive::getDiskDiagnosticProgress(diag)"}},
        {"getDiskDiagnosticResults", HARD_DRIVE, OTHER_DEVICE,
         [](L& l, A a, X x) { return l.getDiskDiagnosticResults(a, x.diag); },
         {"HardDrive::getDiskDiagnosticResults(diag)"}},
        {"startControllerDiagnostic", ADAPTER, HARD_DRIVE,
         [](L& l, A a, X) { return l.startControllerDiagnostic(a, ADAPTER_DIAG_DEFAULT); },
         {"Adapter::startControllerDiagnostic(0)"}},
        {"startBatteryCalibration", ADAPTER, HARD_DRIVE, [](L& l, A a, X) { return l.startBatteryCalibration(a); },
         {"Adapter::startBatteryCalibration()"}},
        {"startHardDriveTask", HARD_DRIVE, OTHER_DEVICE,
         [](L& l, A a, X) { return l.startHardDriveTask(a, HD_TASK_SECURE_ERASE); }, {"HardDrive::startTask(4)"}},
        {"clearPPITable", ADAPTER, HARD_DRIVE, [](L& l, A a, X) { return l.clearPPITable(a); },
         {"Adapter::clearPPITable()"}},
    };
    return table;
}

class StorLibPluginTest : public ::testing::Test {
protected:
    void SetUp() override { script().reset(); }
    void TearDown() override { script().reset(); }

    // The error entries written since the last call.
    std::string newErrors()
    {
        const std::string log = testsupport::readFile("tarnellerror.txt");
        const std::string fresh = log.size() > seen ? log.substr(seen) : std::string();
        seen = log.size();
        return fresh;
    }
    static bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

    size_t seen = 0;
};

// A record that differs from a plain success in every field it sets.
Ret scriptedAnswer()
{
    Ret r(-5);
    r.setAPIReturn(17);
    r.setIOCTLReturn(-4);
    r.setSignedReturn(-9);
    r.setIOCLogInfo(0xABCD);
    r.setSenseKey(3);
    r.setSenseCodeQualifier(2);
    return r;
}

} // namespace

TEST_F(StorLibPluginTest, EveryOperationRunsTheSharedDispatch)
{
    for (const Row& row : rows()) {
        SCOPED_TRACE(std::string(row.operation) + " on the " + targetNames[row.target]);
        script().reset();
        Arguments x;

        ScriptedLib empty;
        Ret r = row.call(empty, Addr(0), x);
        EXPECT_EQ(r.getReturn(), -2);
        EXPECT_EQ(r.getSignedReturn(), 0);
        EXPECT_TRUE(contains(newErrors(), "*** Bad Parameter: curSystem==NULL ***"));

        ScriptedLib lib;
        ASSERT_EQ(lib.getSystemConfig().getReturn(), 0);
        newErrors();

        r = row.call(lib, Addr(9), x);
        EXPECT_EQ(r.getReturn(), -12);
        EXPECT_TRUE(contains(newErrors(), "*** Object Not Found ***"));

        r = row.call(lib, addressOf(lib, row.wrong), x);
        EXPECT_EQ(r.getReturn(), -2);
        EXPECT_EQ(r.getSignedReturn(), 0);
        EXPECT_TRUE(contains(newErrors(), "*** Bad Parameter: addrIN identified invalid object type, paramValue=0 ***"));
        EXPECT_TRUE(script().calls.empty());

        script().answer = scriptedAnswer();
        r = row.call(lib, addressOf(lib, row.target), x);
        EXPECT_EQ(script().calls, row.calls);
        if (row.calls.empty()) {
            EXPECT_TRUE(r == Ret(0));
            continue;
        }
        EXPECT_TRUE(r == scriptedAnswer()) << "code " << r.getReturn();

        script().calls.clear();
        script().raise = true;
        r = row.call(lib, addressOf(lib, row.target), x);
        script().raise = false;
        EXPECT_EQ(r.getReturn(), -13);
        EXPECT_TRUE(contains(newErrors(), "*** Exception Caught ***"));
        script().calls.clear();
    }
}
