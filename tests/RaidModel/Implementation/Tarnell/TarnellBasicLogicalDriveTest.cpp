#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/ModelTestUtil.h"

// The basic logical drive's requests against the simulated controllers; what
// was sent is read from the simulator's call log.

using namespace tarnelltest;

namespace {

typedef std::function<Ret(TarnellBasicLogicalDrive&)> DriveOp;

struct OpCase {
    const char* label;
    DriveOp op;
    int expected;
};

// Controller 2 of the default scenario: array 0 holds drives 0 (RAID-5) and
// 1 (RAID-0, the last), array 1 drive 2 (RAID-1); the spanned drive 4 has
// its sub-logical drives 0 and 1 in arrays 3 and 4.
class TarnellBasicLogicalDriveTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        ctl.reset(new SimController(CONTROLLER_A, TARNELL_B2));
        array0 = ctl->array(0);
        drive0 = ctl->drive(array0, 0, 0, RAID5, {{0, 0}, {0, 1}, {0, 2}});
        drive1 = ctl->drive(array0, 1, 1, RAID0, {{0, 0}, {0, 1}, {0, 2}});
        sub1 = ctl->drive(ctl->array(4, ctl->spannedArray(4)), 9, 1, RAID1, {{2, 2}, {2, 3}}, true);
        tarnellsim::clearCalls();
    }
    void TearDown() override
    {
        ctl.reset();
        SimTest::TearDown();
    }

    std::unique_ptr<SimController> ctl;
    TarnellBasicArray* array0 = nullptr;
    TarnellBasicLogicalDrive* drive0 = nullptr;
    TarnellBasicLogicalDrive* drive1 = nullptr;
    TarnellBasicLogicalDrive* sub1 = nullptr;
};

// A scenario whose controller `number` runs one queued task.
void runTask(int number, const tarnellsim::Task& task)
{
    tarnellsim::Scenario s = tarnellsim::defaultScenario();
    for (auto& c : s.controllers) {
        if (c.number == number) {
            c.tasks.assign(1, task);
            c.hasLastTask = false;
        }
    }
    tarnellsim::reset(s);
}

} // namespace

TEST_F(TarnellBasicLogicalDriveTest, OnlyTheLastDriveOfItsArrayIsDeleted)
{
    std::string out = stdoutOf([&] { EXPECT_EQ(Ret::BAD_PARAM, drive0->deleteLogicalDrive().getReturn()); });
    EXPECT_EQ("Cannot delete Logical Drive: Not last in the Array\n", out);
    ASSERT_EQ(1u, callsOf("GetLastVirtDev").size());
    EXPECT_EQ(2, callsOf("GetLastVirtDev")[0].address.usAdapterID);
    EXPECT_EQ(0, callsOf("GetLastVirtDev")[0].address.usArrayID);
    EXPECT_TRUE(callsOf("DeleteVirtDev").empty());

    // The last one goes; the adapter's tables are read again and show it gone,
    // and its id is free again.
    ctl->adapter->getHLDdllIDs()[1] = 1;
    EXPECT_EQ(Ret::SUCCESS, drive1->deleteLogicalDrive().getReturn());
    ASSERT_EQ(1u, callsOf("DeleteVirtDev").size());
    const _STORAGE_ADDRESS_ID sent = callsOf("DeleteVirtDev")[0].address;
    EXPECT_EQ(2, sent.usAdapterID);
    EXPECT_EQ(1, sent.usVirtDevID);
    EXPECT_EQ(0, sent.usArrayID);
    const _VIRT_DRV_PARMS* table = ctl->adapter->getHLDTable();
    ASSERT_NE(nullptr, table);
    int used = 0;
    for (int i = 0; i < ctl->adapter->getHLDTableSize() / static_cast<int>(sizeof *table); ++i)
        used += table[i].ucState != 0 ? 1 : 0;
    EXPECT_EQ(4, used) << "five drives before";
    EXPECT_NE(nullptr, ctl->adapter->getSLDTable());
    EXPECT_EQ(0, ctl->adapter->getHLDdllIDs()[1]);
}

TEST_F(TarnellBasicLogicalDriveTest, DeleteWithoutAnAnswerWhichDriveIsLastDeletesNothing)
{
    // Drive 0 would match the record's untouched id 0.
    tarnellsim::injectFailure("GetLastVirtDev", tarnellsim::RC_BUSY);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, drive0->deleteLogicalDrive().getReturn());
    EXPECT_TRUE(callsOf("DeleteVirtDev").empty());
    EXPECT_EQ(5u, tarnellsim::current().controllers[0].drives.size());
}

TEST_F(TarnellBasicLogicalDriveTest, RequestsCarryTheDriveAddressAndTheirCodes)
{
    struct Sent {
        const char* label;
        DriveOp op;
        const char* entry;
        long long argument;
        uint32_t map;
    };
    const Sent cases[] = {
        {"initialize", [](TarnellBasicLogicalDrive& d) { return d.initialize(); }, "InitializeVirtDev", 0, 0},
        {"synchronize", [](TarnellBasicLogicalDrive& d) { return d.synchronize(); }, "SynchronizeVirtDev", 1, 0},
        {"identify on", [](TarnellBasicLogicalDrive& d) { return d.identifyDevice(true); }, "IdentifyPhysicalDrive",
         2, 0},
        {"identify off", [](TarnellBasicLogicalDrive& d) { return d.identifyDevice(false); },
         "IdentifyPhysicalDrive", 3, 0},
        {"write back", [](TarnellBasicLogicalDrive& d) { return d.setWriteCacheEnable(true); }, "SetWritePolicy", 1,
         0x200},
        {"write through", [](TarnellBasicLogicalDrive& d) { return d.setWriteCacheEnable(false); },
         "SetWritePolicy", 0, 0x200},
    };
    for (const Sent& c : cases) {
        SCOPED_TRACE(c.label);
        tarnellsim::reset();
        EXPECT_EQ(Ret::SUCCESS, c.op(*drive0).getReturn());
        const auto sent = callsOf(c.entry);
        ASSERT_EQ(1u, sent.size());
        EXPECT_EQ(2, sent[0].address.usAdapterID);
        EXPECT_EQ(0, sent[0].address.usVirtDevID);
        EXPECT_EQ(0, sent[0].address.usArrayID);
        EXPECT_EQ(c.map, sent[0].address.ulMap);
        ASSERT_EQ(1u, sent[0].args.size());
        EXPECT_EQ(c.argument, sent[0].args[0]);
    }
    EXPECT_FALSE(tarnellsim::current().controllers[0].drives[0].writeCache);

    // A sub-logical drive's write cache is set too, under its own number and array.
    tarnellsim::clearCalls();
    EXPECT_EQ(Ret::SUCCESS, sub1->setWriteCacheEnable(true).getReturn());
    ASSERT_EQ(1u, callsOf("SetWritePolicy").size());
    EXPECT_EQ(1, callsOf("SetWritePolicy")[0].address.usVirtDevID);
    EXPECT_EQ(4, callsOf("SetWritePolicy")[0].address.usArrayID);
}

TEST_F(TarnellBasicLogicalDriveTest, RefusedRequestsSendNothing)
{
    TarnellBasicLogicalDrive* raid10 = ctl->drive(ctl->array(5), 5, 5, RAID10, {});
    const OpCase cases[] = {
        {"sub initialize", [&](TarnellBasicLogicalDrive&) { return sub1->initialize(); }, Ret::NOT_SUPPORTED},
        {"sub synchronize", [&](TarnellBasicLogicalDrive&) { return sub1->synchronize(); }, Ret::NOT_SUPPORTED},
        {"sub delete", [&](TarnellBasicLogicalDrive&) { return sub1->deleteLogicalDrive(); }, Ret::NOT_SUPPORTED},
        {"sub identify", [&](TarnellBasicLogicalDrive&) { return sub1->identifyDevice(true); }, Ret::NOT_SUPPORTED},
        {"sub unblock", [&](TarnellBasicLogicalDrive&) { return sub1->unblockLogicalDrive(); }, Ret::BAD_PARAM},
        {"RAID-10 synchronize", [&](TarnellBasicLogicalDrive&) { return raid10->synchronize(); }, Ret::BAD_PARAM},
        {"RAID-0 synchronize", [&](TarnellBasicLogicalDrive&) { return drive1->synchronize(); },
         Ret::NOT_SUPPORTED},
    };
    for (const OpCase& c : cases) {
        SCOPED_TRACE(c.label);
        tarnellsim::clearCalls();
        EXPECT_EQ(c.expected, c.op(*drive0).getReturn());
        EXPECT_TRUE(tarnellsim::calls().empty());
    }
}

TEST_F(TarnellBasicLogicalDriveTest, WithoutControllerAccess)
{
    withoutControllerAccess();
    const OpCase cases[] = {
        {"initialize", [](TarnellBasicLogicalDrive& d) { return d.initialize(); }, Ret::INTERFACE_UNAVAILABLE},
        {"synchronize", [](TarnellBasicLogicalDrive& d) { return d.synchronize(); }, Ret::INTERFACE_UNAVAILABLE},
        {"delete", [](TarnellBasicLogicalDrive& d) { return d.deleteLogicalDrive(); }, Ret::INTERFACE_UNAVAILABLE},
        {"unblock", [](TarnellBasicLogicalDrive& d) { return d.unblockLogicalDrive(); },
         Ret::INTERFACE_UNAVAILABLE},
        {"progress",
         [](TarnellBasicLogicalDrive& d) {
             Progress p;
             return d.getProgress(p);
         },
         Ret::INTERFACE_UNAVAILABLE},
        {"write cache", [](TarnellBasicLogicalDrive& d) { return d.setWriteCacheEnable(true); },
         Ret::CONTROLLER_FAILED},
        {"identify", [](TarnellBasicLogicalDrive& d) { return d.identifyDevice(true); }, Ret::CONTROLLER_FAILED},
    };
    stdoutOf([&] {
        for (const OpCase& c : cases) {
            SCOPED_TRACE(c.label);
            EXPECT_EQ(c.expected, c.op(*drive1).getReturn());
        }
        // The refusal of a sub-logical drive comes first for these two.
        EXPECT_EQ(Ret::NOT_SUPPORTED, sub1->initialize().getReturn());
        EXPECT_EQ(Ret::INTERFACE_UNAVAILABLE, sub1->deleteLogicalDrive().getReturn());
    });
    EXPECT_EQ("", familyLog());

    // An adapter whose C-API number was never seen sends nothing either.
    tarnellsim::clearFailures();
    DllP::resetForTest();
    TarnellAdapter::resetAdapterIDsForTest();
    tarnellsim::clearCalls();
    EXPECT_EQ(Ret::INTERFACE_UNAVAILABLE, drive1->initialize().getReturn());
    EXPECT_TRUE(tarnellsim::calls("InitializeVirtDev").empty());
}

TEST_F(TarnellBasicLogicalDriveTest, ControllerRefusals)
{
    tarnellsim::injectFailure("InitializeVirtDev", tarnellsim::RC_BUSY);
    EXPECT_EQ(tarnellsim::RC_BUSY, drive0->initialize().getReturn()) << "the controller's own code";
    EXPECT_EQ("", familyLog());

    const struct {
        const char* entry;
        DriveOp op;
        const char* line;
    } logged[] = {
        {"UnBlockVirtDev", [](TarnellBasicLogicalDrive& d) { return d.unblockLogicalDrive(); },
         "Unblocking basic logical drive failed"},
        {"SetWritePolicy", [](TarnellBasicLogicalDrive& d) { return d.setWriteCacheEnable(true); },
         "Setting basic logical drive write cache policy failed"},
        {"IdentifyPhysicalDrive", [](TarnellBasicLogicalDrive& d) { return d.identifyDevice(false); },
         "Identifying basic logical drive failed"},
        {"CheckProgress",
         [](TarnellBasicLogicalDrive& d) {
             Progress p;
             return d.getProgress(p);
         },
         "Retrieving adapter progress object failed"},
    };
    for (const auto& c : logged) {
        SCOPED_TRACE(c.entry);
        tarnellsim::injectFailure(c.entry, tarnellsim::RC_INVALID_STATE);
        EXPECT_EQ(Ret::CONTROLLER_FAILED, c.op(*drive0).getReturn());
        EXPECT_NE(std::string::npos, familyLog().find(std::string("<Warning> ") + c.line + "\n"));
    }
}

TEST_F(TarnellBasicLogicalDriveTest, ProgressOfACompactionOnALaterModel)
{
    tarnellsim::Task compaction;
    compaction.kind = tarnellsim::Task::COMPACT;
    compaction.drive = 0;
    compaction.totalBlocks = 1000;
    compaction.doneBlocks = 667;
    runTask(CONTROLLER_B, compaction);

    SimController b(CONTROLLER_B, TARNELL_C0);
    TarnellBasicArray* array = b.array(0);
    TarnellBasicLogicalDrive* raid5ee = b.drive(array, 0, 0, RAID5EE, {{0, 0}, {0, 1}, {0, 2}, {0, 3}});
    TarnellBasicLogicalDrive* other = b.drive(b.array(4), 3, 3, RAID0, {{0, 8}, {0, 9}});

    Progress p;
    EXPECT_EQ(Ret::SUCCESS, raid5ee->getProgress(p).getReturn());
    EXPECT_EQ(TASK_COMPACTING, p.getType());
    EXPECT_EQ(TASK_STATE_IN_PROGRESS, p.getStatus());
    EXPECT_EQ(66u, p.getPercent());
    EXPECT_EQ(0u, p.getLogicalDrive());
    EXPECT_EQ(Addr(b.adapter->getAdapterID(), 0, 0, STORID_UNDEFINED, STORID_UNDEFINED, BLOCK_UNDEFINED,
                   STORID_UNDEFINED, STORID_UNDEFINED),
              p.getDeviceAddr());
    ASSERT_EQ(1u, callsOf("CheckProgress").size());
    EXPECT_EQ(CONTROLLER_B, callsOf("CheckProgress")[0].address.usAdapterID);

    // Another drive of the adapter has no task.
    Progress q;
    q.setType(TASK_REBUILD);
    q.setStatus(TASK_STATE_FAILED);
    EXPECT_EQ(Ret::SUCCESS, other->getProgress(q).getReturn());
    EXPECT_EQ(TASK_NONE, q.getType());
    EXPECT_EQ(TASK_STATE_NONE, q.getStatus());
}

TEST_F(TarnellBasicLogicalDriveTest, SubLogicalDriveProgressNeedsItsEntryInTheAdaptersTable)
{
    tarnellsim::Task sync;
    sync.kind = tarnellsim::Task::SYNCHRONIZE;
    sync.drive = 1;  // SLD slot 1, array 4
    sync.subLogical = true;
    sync.totalBlocks = 400;
    sync.doneBlocks = 300;
    runTask(CONTROLLER_A, sync);

    // No table read yet: nothing is reported.
    Progress p;
    EXPECT_EQ(Ret::SUCCESS, sub1->getProgress(p).getReturn());
    EXPECT_EQ(TASK_NONE, p.getType());

    ASSERT_EQ(Ret::SUCCESS, TarnellAdapter::updateTables(ctl->adapter, true, true).getReturn());
    EXPECT_EQ(Ret::SUCCESS, sub1->getProgress(p).getReturn());
    EXPECT_EQ(TASK_VERIFY, p.getType());
    EXPECT_EQ(TASK_STATE_IN_PROGRESS, p.getStatus());
    EXPECT_EQ(75u, p.getPercent());
    EXPECT_EQ(9u, p.getLogicalDrive());

    // A report naming the entry just past the end of the table is not followed.
    sync.drive = 8;
    runTask(CONTROLLER_A, sync);
    Progress q;
    EXPECT_EQ(Ret::SUCCESS, sub1->getProgress(q).getReturn());
    EXPECT_EQ(TASK_NONE, q.getType());
    EXPECT_EQ(TASK_STATE_NONE, q.getStatus());
}

TEST_F(TarnellBasicLogicalDriveTest, NamesAndAttributes)
{
    EXPECT_STREQ("TarnellBasicLogicalDrive", drive0->typeName());
    EXPECT_STREQ("LogicalDrive", drive0->serializedName());
    EXPECT_STREQ("Logical Drive", drive0->getName());
    EXPECT_TRUE(drive0->isInstanceOf("TarnellBasicLogicalDrive"));
    EXPECT_TRUE(drive0->isInstanceOf("BasicLogicalDrive"));
    EXPECT_FALSE(drive0->isInstanceOf("TarnellBasicLogicalDriv"));

    drive0->setCreateTimeStamp(2023, 11, 14);
    EXPECT_EQ(2023u, drive0->getCreateTimeStamp().year);
    EXPECT_EQ(11u, drive0->getCreateTimeStamp().month);
    EXPECT_EQ(14u, drive0->getCreateTimeStamp().day);

    // One "raid5EEState" attribute, so the element stays well-formed.
    TarnellBasicLogicalDrive raid5ee(ctl->adapter, array0, 6, 6, OKAY, RAID5EE, -1, 0, false, LD_CACHE_ENABLED,
                                     true, false, false, RAID5EE_COMPACTING);
    EXPECT_EQ(static_cast<BLOCK_T>(-1), raid5ee.getDataSpace()) << "widened with its sign";
    const std::string xml = modeltest::treeText(raid5ee);
    const size_t at = xml.find(" raid5EEState=\"2\"");
    ASSERT_NE(std::string::npos, at) << xml;
    EXPECT_EQ(std::string::npos, xml.find("raid5EEState", at + 2)) << xml;

    TarnellBasicLogicalDrive copy(*sub1);
    EXPECT_TRUE(copy.isSubLogicalDrive());
    EXPECT_EQ(1, copy.getTNCAdllID());
}
