#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "RaidModel/Implementation/Tarnell/TarnellCDROMDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Implementation/Tarnell/TarnellSpannedArray.h"

// Growing a basic logical drive against the simulated controllers.

using namespace tarnelltest;

namespace {

std::vector<ChunkSpec> chunksAt(const std::vector<std::pair<int, int>>& drives)
{
    std::vector<ChunkSpec> chunks;
    for (const auto& d : drives)
        chunks.push_back(ChunkSpec(d.first, d.second, 0, 2048, 0, CHUNK_TYPE_DATA));
    return chunks;
}

// Controller 2 of the default scenario: drive 2 is a RAID-1 drive of array 1
// on 1:0 and 1:1; 0:6 is a ready disk; 2:4 a CD-ROM drive.
class TarnellBasicLogicalDriveExpandTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        ctl.reset(new SimController(CONTROLLER_A, TARNELL_B2));
        raid1 = ctl->drive(ctl->array(1), 2, 2, RAID1, {{1, 0}, {1, 1}});
        for (const auto& d : std::vector<std::pair<int, int>>{{0, 5}, {0, 6}, {1, 4}, {1, 6}})
            ctl->disk(d.first, d.second);
        Channel* channel2 = ctl->channel(2);
        channel2->addChild(new TarnellCDROMDrive(ctl->adapter, channel2, 4, "ZEQ", "CD", "S", "F", "R"));
        tarnellsim::clearCalls();
    }
    void TearDown() override
    {
        ctl.reset();
        SimTest::TearDown();
    }

    std::unique_ptr<SimController> ctl;
    TarnellBasicLogicalDrive* raid1 = nullptr;
};

} // namespace

TEST_F(TarnellBasicLogicalDriveExpandTest, OneDriveIsSentWithTheDriveAddress)
{
    std::vector<ChunkSpec> chunks = chunksAt({{0, 6}});
    ASSERT_EQ(Ret::SUCCESS, raid1->increaseLogicalDriveSize(chunks).getReturn());
    auto sent = callsOf("IncreaseVirtDevSizes");
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(CONTROLLER_A, sent[0].address.usAdapterID);
    EXPECT_EQ(2, sent[0].address.usVirtDevID);
    EXPECT_EQ(1, sent[0].address.usArrayID);
    EXPECT_EQ(std::vector<long long>{1}, sent[0].args) << "count";
    ASSERT_EQ(1u, sent[0].addressList.size());
    EXPECT_EQ(CONTROLLER_A, sent[0].addressList[0].usAdapterID);
    EXPECT_EQ(0, sent[0].addressList[0].usChannelID);
    EXPECT_EQ(6, sent[0].addressList[0].usPhysDevID);
}

TEST_F(TarnellBasicLogicalDriveExpandTest, BadRequestsSendNothing)
{
    struct Case {
        const char* label;
        std::vector<ChunkSpec> chunks;
    };
    std::vector<Case> cases = {
        {"no drive", {}},
        {"four drives", chunksAt({{0, 5}, {1, 4}, {2, 6}, {0, 6}})},
        {"same channel", chunksAt({{0, 5}, {0, 6}})},
        {"same device id", chunksAt({{0, 6}, {1, 6}})},
        {"a CD-ROM drive", chunksAt({{2, 4}})},
        {"no device there", chunksAt({{2, 9}})},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Ret::BAD_PARAM, raid1->increaseLogicalDriveSize(c.chunks).getReturn());
    }

    // A sub-logical drive of a spanned drive is not grown.
    TarnellSpannedArray* span = new TarnellSpannedArray(ctl->adapter, 0, 0, 0);
    ctl->config->addChild(span);
    TarnellHLogicalDrive* hld = new TarnellHLogicalDrive(ctl->adapter, span, 4, 4, OKAY, RAID10, 1000, 0, false,
                                                         LD_CACHE_DISABLED, true, false);
    span->addChild(hld);
    TarnellBasicLogicalDrive* sub = new TarnellBasicLogicalDrive(ctl->adapter, nullptr, 8, 0, OKAY, RAID1, 1000, 0,
                                                                 false, LD_CACHE_DISABLED, true, true, false,
                                                                 RAID5EE_UNKNOWN);
    hld->addChild(sub);
    std::vector<ChunkSpec> chunks = chunksAt({{0, 6}});
    EXPECT_EQ(Ret::NOT_SUPPORTED, sub->increaseLogicalDriveSize(chunks).getReturn());
    EXPECT_TRUE(tarnellsim::calls().empty());
}

TEST_F(TarnellBasicLogicalDriveExpandTest, RefusalIsLoggedAndMissingAccessReported)
{
    std::vector<ChunkSpec> chunks = chunksAt({{0, 6}});
    tarnellsim::injectFailure("IncreaseVirtDevSizes", tarnellsim::RC_BUSY);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, raid1->increaseLogicalDriveSize(chunks).getReturn());
    EXPECT_NE(std::string::npos, familyLog().find("<Warning> Migration: increasing logical drives size failed\n"))
        << familyLog();

    withoutControllerAccess();
    stdoutOf([&] { EXPECT_EQ(Ret::CONTROLLER_FAILED, raid1->increaseLogicalDriveSize(chunks).getReturn()); });
}
