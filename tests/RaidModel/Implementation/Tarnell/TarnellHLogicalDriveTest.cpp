#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Implementation/Tarnell/TarnellSpannedArray.h"
#include "RaidModel/ModelTestUtil.h"

// The spanned array and the hierarchical logical drive against the
// simulated controllers.

using namespace tarnelltest;

namespace {

// Controller 2 of the default scenario: spanned array 0 holds the RAID-10
// drive 4 over the sub-logical drives 0 (array 3) and 1 (array 4).
class TarnellHLogicalDriveTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        build();
    }
    void TearDown() override
    {
        ctl.reset();
        SimTest::TearDown();
    }

    void build()
    {
        ctl.reset(new SimController(CONTROLLER_A, TARNELL_B2));
        span = new TarnellSpannedArray(ctl->adapter, 0, 68000, 0);
        ctl->config->addChild(span);
        hld4 = spannedDrive(4, RAID10);
        const int slots[][3] = {{0, 2, 0}, {1, 2, 2}};   // slot, channel, first device
        for (const auto& s : slots) {
            TarnellBasicArray* array = ctl->array(3 + s[0], span);
            TarnellBasicLogicalDrive* sub =
                new TarnellBasicLogicalDrive(ctl->adapter, array, 8 + 4 * 2 + s[0], s[0], OKAY, RAID1, 34000, 0,
                                             false, LD_CACHE_DISABLED, true, true, false, RAID5EE_UNKNOWN);
            hld4->addChild(sub);
            sub->addChild(new TarnellChunk(s[1], s[2], 0, 2048, 0, 0));
            sub->addChild(new TarnellChunk(s[1], s[2] + 1, 0, 2048, 0, 0));
        }
        TarnellAdapter::updateTables(ctl->adapter, true, true);
        tarnellsim::clearCalls();
    }

    TarnellHLogicalDrive* spannedDrive(int number, EnumRaidLevel level)
    {
        TarnellHLogicalDrive* d = new TarnellHLogicalDrive(ctl->adapter, span, number, number, OKAY, level, 30000, 0,
                                                           false, LD_CACHE_DISABLED, true, false);
        span->addChild(d);
        return d;
    }

    std::unique_ptr<SimController> ctl;
    TarnellSpannedArray* span = nullptr;
    TarnellHLogicalDrive* hld4 = nullptr;
};

} // namespace

TEST_F(TarnellHLogicalDriveTest, NamesAndElements)
{
    EXPECT_STREQ("TarnellHLogicalDrive", hld4->typeName());
    EXPECT_STREQ("HLogicalDrive", hld4->serializedName());
    EXPECT_STREQ("Logical Drive", hld4->getName());
    EXPECT_TRUE(hld4->isInstanceOf("TarnellHLogicalDrive"));
    EXPECT_TRUE(hld4->isInstanceOf("HLogicalDrive"));
    EXPECT_TRUE(hld4->isInstanceOf("LogicalDrive"));
    EXPECT_FALSE(hld4->isInstanceOf("tarnellHLogicalDrive"));
    EXPECT_EQ(4, hld4->getTNCAdllID());
    EXPECT_EQ(-1, TarnellHLogicalDrive().getTNCAdllID());
    EXPECT_EQ(4, TarnellHLogicalDrive(*hld4).getTNCAdllID());

    EXPECT_STREQ("TarnellSpannedArray", span->typeName());
    EXPECT_STREQ("SpannedArray", span->serializedName());
    EXPECT_TRUE(span->isInstanceOf("TarnellSpannedArray"));
    EXPECT_TRUE(span->isInstanceOf("SpannedArray"));
    EXPECT_TRUE(span->isInstanceOf("Array"));
    EXPECT_FALSE(span->isInstanceOf("TarnellBasicArray"));
    span->setFreeSpace(100);
    EXPECT_EQ(100u, TarnellSpannedArray(*span).getFreeSpace());

    const std::string xml = modeltest::treeText(*span);
    EXPECT_EQ(0u, xml.find("<SpannedArray ")) << xml;
    EXPECT_NE(std::string::npos, xml.find("<HLogicalDrive ")) << xml;
}

TEST_F(TarnellHLogicalDriveTest, DeletingTheOnlySpannedDriveClearsItsIdsAndThoseOfItsSubDrives)
{
    int* hldIDs = ctl->adapter->getHLDdllIDs();
    int* sldIDs = ctl->adapter->getSLDdllIDs();
    hldIDs[4] = 1;
    sldIDs[8] = sldIDs[9] = sldIDs[10] = 1;   // 4 x 2 sub-drives + slot
    ASSERT_EQ(Ret::SUCCESS, hld4->deleteLogicalDrive().getReturn());

    for (const char* query : {"GetLastVirtDev", "GetFirstVirtDev"}) {
        auto sent = callsOf(query);
        ASSERT_EQ(1u, sent.size()) << query;
        EXPECT_EQ(0x8000, sent[0].address.usArrayID) << query;
        EXPECT_EQ(0, sent[0].address.usVirtDevID) << query;
    }
    auto deleted = callsOf("DeleteVirtDev");
    ASSERT_EQ(1u, deleted.size());
    EXPECT_EQ(4, deleted[0].address.usVirtDevID);
    EXPECT_EQ(0, deleted[0].address.usArrayID);

    const tarnellsim::Controller after = tarnellsim::current().controllers.at(0);
    EXPECT_EQ(4u, after.drives.size());
    EXPECT_TRUE(after.subDrives.empty());
    EXPECT_EQ(0, hldIDs[4]);
    EXPECT_EQ(0, sldIDs[8]);
    EXPECT_EQ(0, sldIDs[9]);
    EXPECT_EQ(1, sldIDs[10]);
}

TEST_F(TarnellHLogicalDriveTest, OnlyTheLastDriveOfItsSpannedArrayIsDeleted)
{
    // A second spanned drive 5 over the same sub-logical drives.
    tarnellsim::Scenario s = tarnellsim::defaultScenario();
    tarnellsim::Controller& c = s.controllers.at(0);
    tarnellsim::LogicalDrive second = c.drives.at(4);
    c.drives.at(4).sizeSectors = second.sizeSectors = 30000 * 2048;
    second.number = 5;
    second.sequence = c.nextSequence++;
    c.drives.push_back(second);
    tarnellsim::reset(s);
    build();
    TarnellHLogicalDrive* hld5 = spannedDrive(5, RAID10);
    int* hldIDs = ctl->adapter->getHLDdllIDs();
    int* sldIDs = ctl->adapter->getSLDdllIDs();
    hldIDs[4] = hldIDs[5] = 1;
    sldIDs[10] = sldIDs[11] = 1;

    const std::string out =
        stdoutOf([&] { EXPECT_EQ(Ret::BAD_PARAM, hld4->deleteLogicalDrive().getReturn()); });
    EXPECT_EQ("Cannot delete Logical Drive: Not last in the Array\n", out);
    EXPECT_TRUE(callsOf("DeleteVirtDev").empty());

    // The controller's own refusal is handed on and changes nothing.
    tarnellsim::injectFailure("DeleteVirtDev", tarnellsim::RC_BUSY);
    EXPECT_EQ(tarnellsim::RC_BUSY, hld5->deleteLogicalDrive().getReturn());
    EXPECT_EQ(1, hldIDs[5]);

    ASSERT_EQ(Ret::SUCCESS, hld5->deleteLogicalDrive().getReturn());
    EXPECT_EQ(0, hldIDs[5]);
    EXPECT_EQ(1, hldIDs[4]);
    EXPECT_EQ(1, sldIDs[10]) << "the sub-logical drives stay with drive 4";
    EXPECT_EQ(1, sldIDs[11]);
    EXPECT_EQ(2u, tarnellsim::current().controllers.at(0).subDrives.size());
}

TEST_F(TarnellHLogicalDriveTest, RequestsCarryTheDriveAddress)
{
    typedef std::function<Ret(TarnellHLogicalDrive&)> Op;
    struct Case {
        const char* label;
        EnumRaidLevel level;
        Op op;
        int expected;
        const char* entry;   // null: nothing is sent
        long long argument;
        uint32_t map;
    };
    const Case cases[] = {
        {"initialize", RAID10, [](TarnellHLogicalDrive& d) { return d.initialize(); }, 0, "InitializeVirtDev", 0, 0},
        {"synchronize RAID-50", RAID50, [](TarnellHLogicalDrive& d) { return d.synchronize(); }, 0,
         "SynchronizeVirtDev", 1, 0},
        {"synchronize RAID-00", RAID00, [](TarnellHLogicalDrive& d) { return d.synchronize(); },
         Ret::NOT_SUPPORTED, nullptr, 0, 0},
        {"synchronize a basic level", RAID5, [](TarnellHLogicalDrive& d) { return d.synchronize(); },
         Ret::BAD_PARAM, nullptr, 0, 0},
        {"write through", RAID10, [](TarnellHLogicalDrive& d) { return d.setWriteCacheEnable(false); }, 0,
         "SetWritePolicy", 0, 0x200},
        {"identify on", RAID10, [](TarnellHLogicalDrive& d) { return d.identifyDevice(true); }, 0,
         "IdentifyPhysicalDrive", 2, 0},
        {"identify off", RAID10, [](TarnellHLogicalDrive& d) { return d.identifyDevice(false); }, 0,
         "IdentifyPhysicalDrive", 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        tarnellsim::reset();
        TarnellHLogicalDrive drive(ctl->adapter, span, 4, 4, OKAY, c.level, 1000, 0, false, LD_CACHE_DISABLED,
                                   true, false);
        EXPECT_EQ(c.expected, c.op(drive).getReturn());
        if (c.entry == nullptr) {
            EXPECT_TRUE(tarnellsim::calls().empty());
            continue;
        }
        const auto sent = callsOf(c.entry);
        ASSERT_EQ(1u, sent.size());
        EXPECT_EQ(CONTROLLER_A, sent[0].address.usAdapterID);
        EXPECT_EQ(4, sent[0].address.usVirtDevID);
        EXPECT_EQ(0, sent[0].address.usArrayID);
        EXPECT_EQ(c.map, sent[0].address.ulMap);
        EXPECT_EQ(std::vector<long long>{c.argument}, sent[0].args);
    }

    // A refused initialization hands the controller's code on, unlogged;
    // other refusals are logged and reported as -5.
    tarnellsim::injectFailure("InitializeVirtDev", tarnellsim::RC_BUSY);
    EXPECT_EQ(tarnellsim::RC_BUSY, hld4->initialize().getReturn());
    tarnellsim::injectFailure("SetWritePolicy", tarnellsim::RC_BUSY);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, hld4->setWriteCacheEnable(true).getReturn());
    EXPECT_EQ(std::string::npos, familyLog().find("initializ")) << familyLog();
    EXPECT_NE(std::string::npos,
              familyLog().find("<Warning> Setting hierarchical logical drive write cache policy failed\n"))
        << familyLog();

    Progress progress;
    progress.setType(TASK_REBUILD);
    progress.setStatus(TASK_STATE_IN_PROGRESS);
    EXPECT_EQ(Ret::SUCCESS, hld4->getProgress(progress).getReturn());
    EXPECT_EQ(TASK_NONE, progress.getType());
    EXPECT_EQ(TASK_STATE_NONE, progress.getStatus());
}
