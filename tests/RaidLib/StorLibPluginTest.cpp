#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RaidLib/StorLibPlugin.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/StorLibTestFamily.h"
#include "RaidModel/Serialization/XMLWriter.h"
#include "support/TestUtil.h"

using namespace storlibtest;

namespace {

enum Target { kAdapter, kChannel, kHardDrive, kOtherDevice, kEnclosure, kSES2Enclosure, kArray, kLogicalDrive };

const char* const targetNames[] = {"adapter",   "channel",          "hard drive", "other device",
                                   "enclosure", "SES-2 enclosure", "array",      "logical drive"};

// The address of an object of the scripted tree.
Addr addressOf(const StorLib& lib, Target target)
{
    Adapter* adapter = lib.getAdapter(0);
    switch (target) {
    case kAdapter:
        return adapter->getAddr();
    case kChannel:
        return adapter->getChannel<RaidObject>(0)->getAddr();
    case kHardDrive:
        return adapter->getHardDrive<RaidObject>(0)->getAddr();
    case kOtherDevice:
        return adapter->getOtherPhysicalDevice<RaidObject>(0)->getAddr();
    case kEnclosure:
        return adapter->getEnclosure<RaidObject>(0)->getAddr();
    case kSES2Enclosure:
        return adapter->getSES2EnclosureDevice<RaidObject>(0)->getAddr();
    case kArray:
        return adapter->getLogicalDrive(0)->getArray()->getAddr();
    case kLogicalDrive:
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
        {"createLogicalDrive", kAdapter, kHardDrive, [](L& l, A a, X x) { return l.createLogicalDrive(a, x.spec); },
         {"Adapter::createLogicalDrive(spec)"}},
        {"getEvents(char**)", kAdapter, kHardDrive,
         [](L& l, A a, X x) { return released(l, x, l.getEvents(a, 7, &x.out)); }, {"Adapter::getEvents(7,\"\")"}},
        {"getEvents(records)", kAdapter, kHardDrive, [](L& l, A a, X x) { return l.getEvents(a, 7, x.records); },
         {"Adapter::getEvents(7,records)"}},
        {"getEvents(collection)", kAdapter, kHardDrive, [](L& l, A a, X x) { return l.getEvents(a, x.events); },
         {"Adapter::getEvents(events)"}},
        {"setAlarmState", kAdapter, kLogicalDrive, [](L& l, A a, X) { return l.setAlarmState(a, ALARM_SOUND); },
         {"Adapter::setAlarmState(4)"}},
        {"setAlarmState", kEnclosure, kHardDrive, [](L& l, A a, X) { return l.setAlarmState(a, ALARM_SOUND); },
         {"Enclosure::setAlarmState(4)"}},
        {"setAlarmState", kSES2Enclosure, kChannel, [](L& l, A a, X) { return l.setAlarmState(a, ALARM_SOUND); },
         {"SES2EnclosureDevice::setAlarmState(4)"}},
        {"getAlarmState", kAdapter, kHardDrive, [](L& l, A a, X x) { return l.getAlarmState(a, x.alarm); }, {}},
        {"setControllerConfiguration", kAdapter, kHardDrive,
         [](L& l, A a, X x) { return l.setControllerConfiguration(a, CONFIG_SOURCE_ALL_DRIVES, x.buffer); },
         {"Adapter::setConfiguration(buffer)"}},
        {"getControllerConfiguration", kAdapter, kHardDrive,
         [](L& l, A a, X x) { return l.getControllerConfiguration(a, x.buffer); },
         {"Adapter::getConfiguration(buffer)"}},
        {"getControllerLog(char**)", kAdapter, kHardDrive,
         [](L& l, A a, X x) { return released(l, x, l.getControllerLog(a, LOG_EVENT, &x.out, &x.outSize)); },
         {"Adapter::getControllerLog(6,?,2097664)"}},
        {"getControllerLog(char*)", kAdapter, kHardDrive,
         [](L& l, A a, X x) { return l.getControllerLog(a, LOG_SOFT, x.logBuffer, x.logSize); },
         {"Adapter::getControllerLog(1,logBuffer,64)"}},
        {"clearControllerLog", kAdapter, kHardDrive, [](L& l, A a, X) { return l.clearControllerLog(a, LOG_HARD); },
         {"Adapter::clearControllerLog(2)"}},
        {"setDataScrubActive", kAdapter, kHardDrive, [](L& l, A a, X) { return l.setDataScrubActive(a, true); },
         {"Adapter::setDataScrubActive(true)"}},
        {"setDataScrubRate(priority)", kAdapter, kHardDrive,
         [](L& l, A a, X) { return l.setDataScrubRate(a, TASK_PRIORITY_MEDIUM); },
         {"Adapter::setDataScrubRate/priority(1)"}},
        {"setDataScrubRate(days)", kAdapter, kHardDrive, [](L& l, A a, X) { return l.setDataScrubRate(a, 30UL); },
         {"Adapter::setDataScrubRate/days(30)"}},
        {"pauseResumeIO", kAdapter, kHardDrive, [](L& l, A a, X) { return l.pauseResumeIO(a, 500); },
         {"Adapter::pauseResumeIO(500)"}},
        {"upgradeControllerFirmware", kAdapter, kHardDrive,
         [](L& l, A a, X) { return l.upgradeControllerFirmware(a, "fw.bin", true); },
         {"Adapter::upgradeControllerFirmware(fw.bin,false)"}},
        {"isControllerPaused", kAdapter, kHardDrive, [](L& l, A a, X x) { return l.isControllerPaused(a, x.paused); },
         {"Adapter::isPaused(paused)"}},
        {"setControllerPhysicalDriveCache", kAdapter, kHardDrive,
         [](L& l, A a, X) {
             return l.setControllerPhysicalDriveCache(a, HARD_DRIVE_CACHE_MODE_WRITE_THROUGH,
                                                      HARD_DRIVE_CACHE_MODE_WRITE_BACK);
         },
         {"Adapter::setPhysicalDriveCache(1,0)"}},
        {"setLogicalDriveName", kLogicalDrive, kAdapter, [](L& l, A a, X) { return l.setLogicalDriveName(a, "data"); },
         {"LogicalDrive::setName(data)"}},
        {"setLogicalDriveCache", kLogicalDrive, kAdapter,
         [](L& l, A a, X) { return l.setLogicalDriveCache(a, LD_CACHE_ENABLED, LD_CACHE_DISABLED); },
         {"LogicalDrive::setCache(2,1)"}},
        {"startTask", kHardDrive, kAdapter, [](L& l, A a, X) { return l.startTask(a, TASK_VERIFY); },
         {"HardDrive::startTask(2)"}},
        {"startTask", kLogicalDrive, kAdapter, [](L& l, A a, X) { return l.startTask(a, TASK_VERIFY); },
         {"LogicalDrive::synchronize()"}},
        {"setPhysicalDriveCache", kHardDrive, kOtherDevice,
         [](L& l, A a, X) { return l.setPhysicalDriveCache(a, HARD_DRIVE_CACHE_MODE_WRITE_BACK); },
         {"HardDrive::setWriteCacheEnable(true)"}},
        {"synchronizeLogicalDrive(true)", kLogicalDrive, kAdapter,
         [](L& l, A a, X) { return l.synchronizeLogicalDrive(a, true); }, {"LogicalDrive::synchronize()"}},
        {"synchronizeLogicalDrive(false)", kLogicalDrive, kAdapter,
         [](L& l, A a, X) { return l.synchronizeLogicalDrive(a, false); }, {"LogicalDrive::verify()"}},
        {"initializeLogicalDrive", kLogicalDrive, kAdapter,
         [](L& l, A a, X) { return l.initializeLogicalDrive(a, INIT_QUICK, TASK_PRIORITY_LOW); },
         {"LogicalDrive::initializeLogicalDrive(2,0)"}},
        {"deleteLogicalDrive", kLogicalDrive, kAdapter, [](L& l, A a, X) { return l.deleteLogicalDrive(a); },
         {"LogicalDrive::deleteLogicalDrive()"}},
        {"deleteArray", kArray, kLogicalDrive, [](L& l, A a, X) { return l.deleteArray(a); }, {"Array::deleteArray()"}},
        {"setStripeSize", kLogicalDrive, kArray, [](L& l, A a, X) { return l.setStripeSize(a, STRIPE_64K); },
         {"LogicalDrive::setStripeSize(64)"}},
        {"increaseLogicalDriveSize", kLogicalDrive, kAdapter,
         [](L& l, A a, X x) { return l.increaseLogicalDriveSize(a, x.chunks, TASK_PRIORITY_HIGH); },
         {"LogicalDrive::increaseSize(chunks,2)"}},
        {"modifyLogicalDrive", kLogicalDrive, kAdapter, [](L& l, A a, X x) { return l.modifyLogicalDrive(a, x.spec); },
         {"LogicalDrive::modify(spec)"}},
        {"setLogicalDriveBootable", kLogicalDrive, kAdapter,
         [](L& l, A a, X) { return l.setLogicalDriveBootable(a, true); }, {"LogicalDrive::setBootable(true)"}},
        {"setLogicalDriveState", kLogicalDrive, kAdapter,
         [](L& l, A a, X) { return l.setLogicalDriveState(a, CRITICAL); },
         {"LogicalDrive::setState(3)"}},
        {"setDeviceState", kOtherDevice, kAdapter, [](L& l, A a, X) { return l.setDeviceState(a, DRIVE_DEAD); },
         {"PhysicalDevice::setState(2)"}},
        {"setDeviceState", kHardDrive, kLogicalDrive, [](L& l, A a, X) { return l.setDeviceState(a, DRIVE_DEAD); },
         {"PhysicalDevice::setState(2)"}},
        {"createGlobalHotSpare", kHardDrive, kOtherDevice, [](L& l, A a, X) { return l.createGlobalHotSpare(a); },
         {"HardDrive::createGlobalHotSpare()"}},
        {"createCandidateHotSpare", kHardDrive, kOtherDevice,
         [](L& l, A a, X) { return l.createCandidateHotSpare(a); }, {"HardDrive::createCandidateHotSpare()"}},
        {"createAssignedHotSpare", kHardDrive, kOtherDevice,
         [](L& l, A a, X x) { return l.createAssignedHotSpare(a, x.logicalDrives); },
         {"HardDrive::createAssignedHotSpare(lds)"}},
        {"deleteHotSpare", kHardDrive, kOtherDevice, [](L& l, A a, X) { return l.deleteHotSpare(a); },
         {"HardDrive::deleteHotSpare()"}},
        {"deleteAssignedHotSpare", kHardDrive, kOtherDevice,
         [](L& l, A a, X x) { return l.deleteAssignedHotSpare(a, x.logicalDrives); },
         {"HardDrive::deleteAssignedHotSpare(lds)"}},
        {"identifyDevice", kOtherDevice, kAdapter, [](L& l, A a, X) { return l.identifyDevice(a, IDENTIFY_START); },
         {"PhysicalDevice::identifyDevice(true)"}},
        {"identifyDevice", kLogicalDrive, kAdapter, [](L& l, A a, X) { return l.identifyDevice(a, IDENTIFY_STOP); },
         {"LogicalDrive::identifyDevice(false)"}},
        {"identifyDevice", kChannel, kArray, [](L& l, A a, X) { return l.identifyDevice(a, IDENTIFY_STOP_ALL); },
         {"Channel::identifyDevice(false)"}},
        {"initializeHardDrive", kHardDrive, kOtherDevice, [](L& l, A a, X) { return l.initializeHardDrive(a); },
         {"HardDrive::initializeHardDrive()"}},
        {"scsiPassThruCommand", kOtherDevice, kAdapter,
         [](L& l, A a, X x) { return l.scsiPassThruCommand(a, x.command); },
         {"PhysicalDevice::scsiPassThruCommand(command)"}},
        {"downHardDrive", kHardDrive, kOtherDevice, [](L& l, A a, X) { return l.downHardDrive(a, true); },
         {"HardDrive::downHardDrive(true)"}},
        {"syncRescan", kAdapter, kHardDrive, [](L& l, A a, X) { return l.syncRescan(a); },
         {"Adapter::scanForDrives(false)"}},
        {"asyncRescan", kAdapter, kHardDrive, [](L& l, A a, X) { return l.asyncRescan(a); },
         {"Adapter::scanForDrives(true)"}},
        {"getTasks(char**)", kAdapter, kChannel, [](L& l, A a, X x) { return released(l, x, l.getTasks(a, &x.out)); },
         {"Adapter::getProgress(?)"}},
        {"getTasks(collection)", kAdapter, kChannel, [](L& l, A a, X x) { return l.getTasks(a, x.tasks); },
         {"Adapter::getProgress(tasks)"}},
        {"getTasks(collection)", kHardDrive, kChannel, [](L& l, A a, X x) { return l.getTasks(a, x.tasks); },
         {"HardDrive::getProgress(tasks)"}},
        {"getTasks(collection)", kLogicalDrive, kOtherDevice, [](L& l, A a, X x) { return l.getTasks(a, x.tasks); },
         {"LogicalDrive::getProgress(tasks)"}},
        {"setTaskPriority", kAdapter, kHardDrive,
         [](L& l, A a, X) { return l.setTaskPriority(a, 9, TASK_PRIORITY_LOW); },
         {"Adapter::setTaskPriority(9,0)"}},
        {"abortTask", kAdapter, kHardDrive, [](L& l, A a, X) { return l.abortTask(a, 9); }, {"Adapter::abortTask(9)"}},
        {"testAllSpares", kAdapter, kHardDrive, [](L& l, A a, X) { return l.testAllSpares(a); },
         {"Adapter::testAllSpares()"}},
        {"setITNexusLossTime", kHardDrive, kLogicalDrive, [](L& l, A a, X) { return l.setITNexusLossTime(a, 30); },
         {"PhysicalDevice::setITNexusLossTime(30)"}},
        {"setITNexusLossTime", kAdapter, kChannel, [](L& l, A a, X) { return l.setITNexusLossTime(a, 30); },
         std::vector<std::string>(4, "PhysicalDevice::setITNexusLossTime(30)")},
        {"createSnapshot", kLogicalDrive, kAdapter, [](L& l, A a, X x) { return l.createSnapshot(a, x.target, true); },
         {"LogicalDrive::createSnapshot(target,true)"}},
        {"removeSnapshot", kLogicalDrive, kAdapter, [](L& l, A a, X) { return l.removeSnapshot(a); },
         {"LogicalDrive::removeSnapshot()"}},
        {"setCopyBack", kAdapter, kHardDrive, [](L& l, A a, X) { return l.setCopyBack(a, true); },
         {"Adapter::setCopyBack(true)"}},
        {"startDiskDiagnostic", kHardDrive, kOtherDevice,
         [](L& l, A a, X) { return l.startDiskDiagnostic(a, DISK_DIAG_LONG_SELF_TEST); },
         {"HardDrive::startDiskDiagnostic(2)"}},
        {"abortDiskDiagnostic", kHardDrive, kOtherDevice, [](L& l, A a, X) { return l.abortDiskDiagnostic(a); },
         {"HardDrive::abortDiskDiagnostic()"}},
        {"getDiskDiagnosticProgress", kHardDrive, kOtherDevice,
         [](L& l, A a, X x) { return l.getDiskDiagnosticProgress(a, x.diag); },
         {"HardDrive::getDiskDiagnosticProgress(diag)"}},
        {"getDiskDiagnosticResults", kHardDrive, kOtherDevice,
         [](L& l, A a, X x) { return l.getDiskDiagnosticResults(a, x.diag); },
         {"HardDrive::getDiskDiagnosticResults(diag)"}},
        {"startControllerDiagnostic", kAdapter, kHardDrive,
         [](L& l, A a, X) { return l.startControllerDiagnostic(a, ADAPTER_DIAG_DEFAULT); },
         {"Adapter::startControllerDiagnostic(0)"}},
        {"startBatteryCalibration", kAdapter, kHardDrive, [](L& l, A a, X) { return l.startBatteryCalibration(a); },
         {"Adapter::startBatteryCalibration()"}},
        {"startHardDriveTask", kHardDrive, kOtherDevice,
         [](L& l, A a, X) { return l.startHardDriveTask(a, HD_TASK_SECURE_ERASE); }, {"HardDrive::startTask(4)"}},
        {"clearPPITable", kAdapter, kHardDrive, [](L& l, A a, X) { return l.clearPPITable(a); },
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
        EXPECT_TRUE(
            contains(newErrors(), "*** Bad Parameter: addrIN identified invalid object type, paramValue=0 ***"));
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

// -------------------------------------------- operations beyond the dispatch

namespace {

// A library with its scripted tree built.
class BuiltLibTest : public StorLibPluginTest {
protected:
    void SetUp() override
    {
        StorLibPluginTest::SetUp();
        ASSERT_EQ(lib.getSystemConfig().getReturn(), 0);
        newErrors();
    }
    Addr at(Target target) const { return addressOf(lib, target); }
    static char* earlierBuffer()
    {
        char* p = new char[8];
        std::strcpy(p, "earlier");
        return p;
    }

    ScriptedLib lib;
};

} // namespace

// The adapter fills the whole 2,097,664-byte buffer (the sanitizer checks
// the size); the size it reports is handed out; the earlier buffer is
// released on success and on failure alike.
TEST_F(BuiltLibTest, ControllerLogIntoALibraryBuffer)
{
    char* log = earlierBuffer();
    unsigned long size = 0;
    ASSERT_EQ(lib.getControllerLog(at(kAdapter), LOG_UART, &log, &size).getReturn(), 0);
    EXPECT_EQ(script().logSizeSeen, 2097664u);
    EXPECT_EQ(size, 3u);
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log[0], 'L');

    script().answer = Ret(-1);
    EXPECT_EQ(lib.getControllerLog(at(kAdapter), LOG_UART, &log, &size).getReturn(), -1);
    EXPECT_EQ(log, nullptr);
    EXPECT_EQ(size, 0u);
}

// The lookup comes first, then the out-pointers, then the class test.
TEST_F(BuiltLibTest, ControllerLogChecksInOrder)
{
    char* log = nullptr;
    unsigned long size = 0;
    EXPECT_EQ(lib.getControllerLog(Addr(9), LOG_UART, &log, nullptr).getReturn(), -12);

    Ret r = lib.getControllerLog(at(kHardDrive), LOG_UART, nullptr, &size);
    EXPECT_EQ(r.getReturn(), -2);
    EXPECT_TRUE(contains(newErrors(), "*** Bad Parameter: pBufferOUT==NULL, paramValue=0 ***"));
    r = lib.getControllerLog(at(kHardDrive), LOG_UART, &log, nullptr);
    EXPECT_EQ(r.getReturn(), -2);
    const std::string entries = newErrors();
    EXPECT_TRUE(contains(entries, "*** Bad Parameter: buffSizeOUT==NULL, paramValue=0 ***"));
    EXPECT_FALSE(contains(entries, "invalid object type"));
    EXPECT_TRUE(script().calls.empty());
}

// A failing adapter leaves the earlier buffer in place; an empty text still
// gives a buffer of its own. The class test comes before the out-pointer test.
TEST_F(BuiltLibTest, EventTextIntoALibraryBuffer)
{
    char* const earlier = earlierBuffer();
    char* xml = earlier;
    script().eventText = "";
    ASSERT_EQ(lib.getEvents(at(kAdapter), 0, &xml).getReturn(), 0);
    ASSERT_NE(xml, earlier);
    EXPECT_STREQ(xml, "");

    char* const kept = xml;
    script().answer = Ret(-5);
    EXPECT_EQ(lib.getEvents(at(kAdapter), 0, &xml).getReturn(), -5);
    EXPECT_EQ(xml, kept);
    lib.freeBuffer(xml);

    EXPECT_EQ(lib.getEvents(at(kAdapter), 0, nullptr).getReturn(), -2);
    EXPECT_TRUE(contains(newErrors(), "*** Bad Parameter: xmlINOUT == NULL, paramValue=0 ***"));
    EXPECT_EQ(lib.getEvents(at(kHardDrive), 0, nullptr).getReturn(), -2);
    EXPECT_TRUE(contains(newErrors(), "addrIN identified invalid object type"));
}

// The document is handed out whatever the collection call answers; a null
// out-pointer is refused.
TEST_F(BuiltLibTest, TasksAsADocument)
{
    const std::string empty = "<ProgressCollection>\n\n</ProgressCollection>";
    char* xml = earlierBuffer();
    ScriptedLib unbuilt;
    EXPECT_EQ(unbuilt.getTasks(Addr(0), &xml).getReturn(), -2);
    EXPECT_EQ(std::string(xml), empty);
    EXPECT_EQ(lib.getTasks(Addr(9), &xml).getReturn(), -12);
    EXPECT_EQ(std::string(xml), empty);

    ASSERT_EQ(lib.getTasks(at(kAdapter), &xml).getReturn(), 0);
    ProgressCollection one;
    Progress task(TASK_VERIFY, 0u, TASK_STATE_IN_PROGRESS, 50u);
    one.add(task);
    char* entries = nullptr;
    {
        XMLWriter w(&entries);
        one.writeTo(&w);
    }
    EXPECT_EQ(std::string(xml), "<ProgressCollection>\n" + std::string(entries) + "\n</ProgressCollection>");
    delete[] entries;
    lib.freeBuffer(xml);

    Ret r = lib.getTasks(at(kAdapter), nullptr);
    EXPECT_EQ(r.getReturn(), -2);
    EXPECT_TRUE(contains(newErrors(), "*** Bad Parameter: xmlINOUT == NULL, paramValue=0 ***"));
}

TEST_F(BuiltLibTest, TasksAreAppendedToTheCallersCollection)
{
    ProgressCollection tasks;
    Progress earlier(TASK_REBUILD, 1u, TASK_STATE_IN_PROGRESS, 10u);
    tasks.add(earlier);
    ASSERT_EQ(lib.getTasks(at(kAdapter), tasks).getReturn(), 0);
    ASSERT_EQ(tasks.getSize(), 2);
    EXPECT_EQ(tasks.getProgress(0).getType(), TASK_REBUILD);
    EXPECT_EQ(tasks.getProgress(1).getType(), TASK_VERIFY);
}

// The task types each class knows; any other gives -1 and starts nothing.
TEST_F(BuiltLibTest, StartTaskMapsTheTaskType)
{
    const struct {
        Target target;
        EnumTaskType type;
        const char* call; // null: nothing is started
    } cases[] = {
        {kHardDrive, TASK_VERIFY, "HardDrive::startTask(2)"},
        {kHardDrive, TASK_CLEAR, "HardDrive::startTask(3)"},
        {kHardDrive, TASK_VERIFY_NO_FIX, "HardDrive::startTask(1)"},
        {kHardDrive, TASK_SECURE_ERASE, "HardDrive::startTask(4)"},
        {kHardDrive, TASK_FORMAT, nullptr},
        {kLogicalDrive, TASK_VERIFY_NO_FIX, "LogicalDrive::verify()"},
        {kLogicalDrive, TASK_VERIFY, "LogicalDrive::synchronize()"},
        {kLogicalDrive, TASK_CLEAR, "LogicalDrive::initializeLogicalDrive(1,2)"},
        {kLogicalDrive, TASK_FORMAT, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(targetNames[c.target]) + " task " + std::to_string(c.type));
        script().calls.clear();
        Ret r = lib.startTask(at(c.target), c.type);
        if (c.call) {
            EXPECT_EQ(r.getReturn(), 0);
            EXPECT_EQ(script().calls, std::vector<std::string>{c.call});
        } else {
            EXPECT_EQ(r.getReturn(), -1);
            EXPECT_TRUE(script().calls.empty());
        }
    }
}

TEST_F(BuiltLibTest, ModesBecomeFlags)
{
    lib.setPhysicalDriveCache(at(kHardDrive), HARD_DRIVE_CACHE_MODE_UNKNOWN);
    lib.identifyDevice(at(kOtherDevice), IDENTIFY_STOP_ALL);
    EXPECT_EQ(script().calls,
              (std::vector<std::string>{"HardDrive::setWriteCacheEnable(false)",
                                        "PhysicalDevice::identifyDevice(false)"}));
}

// The model's value; the controller is not asked.
TEST_F(BuiltLibTest, AlarmStateIsReadFromTheModel)
{
    EnumAlarmState state = ALARM_NOT_PRESENT;
    ASSERT_EQ(lib.getAlarmState(at(kAdapter), state).getReturn(), 0);
    EXPECT_EQ(state, ALARM_QUIET);
    EXPECT_EQ(lib.getAlarmState(at(kEnclosure), state).getReturn(), -2);
    EXPECT_TRUE(script().calls.empty());
}

// Every device is asked; the last record that is not a plain success is
// the answer, or success when there is none.
TEST_F(BuiltLibTest, ITNexusLossTimeOverEveryDevice)
{
    Ret second(-7);
    second.setSenseKey(5);
    script().answers = {Ret(-5), second, Ret(0)};
    Ret r = lib.setITNexusLossTime(at(kAdapter), 60);
    EXPECT_TRUE(r == second) << r.getReturn();
    EXPECT_EQ(script().calls.size(), lib.getAdapter(0)->getNumPhysicalDevices());
    EXPECT_GE(script().calls.size(), 3u);

    script().calls.clear();
    EXPECT_TRUE(lib.setITNexusLossTime(at(kAdapter), 60) == Ret(0));
    EXPECT_EQ(script().calls.size(), lib.getAdapter(0)->getNumPhysicalDevices());
}
