#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Interface/LogicalDriveSpec.h"

// Expansion and RAID-level migration of a Tarnell array against the
// simulated controllers; what was sent is read from the simulator's call log.

using namespace tarnelltest;

namespace {

std::vector<ChunkSpec> chunksAt(const std::vector<std::pair<int, int>>& drives)
{
    std::vector<ChunkSpec> chunks;
    for (const auto& d : drives)
        chunks.push_back(ChunkSpec(d.first, d.second, 0, 0, 0, CHUNK_TYPE_DATA));
    return chunks;
}

LogicalDriveSpec migrationTo(EnumRaidLevel level, const std::vector<std::pair<int, int>>& drives)
{
    LogicalDriveSpec spec(level, STRIPE_NA, "");
    for (const auto& d : drives)
        spec.addChunk(d.first, d.second, 0, 0, 0, CHUNK_TYPE_DATA);
    return spec;
}

// Controller 2 of the default scenario with the ready disks 0:6 and 1:4
// and the arrays 1 (RAID-1 over 1:0, 1:1) and 2 (RAID-5 over 0:3, 0:4, 1:3).
class TarnellBasicArrayTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        ctl.reset(new SimController(CONTROLLER_A, TARNELL_B2));
        for (const auto& d : std::vector<std::pair<int, int>>{{0, 3}, {0, 4}, {0, 6}, {1, 0}, {1, 1}, {1, 3}, {1, 4}})
            ctl->disk(d.first, d.second);
        raid1 = ctl->array(1);
        ctl->drive(raid1, 2, 2, RAID1, {{1, 0}, {1, 1}});
        raid5 = ctl->array(2);
        ctl->drive(raid5, 3, 3, RAID5, {{0, 3}, {0, 4}, {1, 3}});
    }
    void TearDown() override
    {
        ctl.reset();
        SimTest::TearDown();
    }

    std::unique_ptr<SimController> ctl;
    TarnellBasicArray* raid1 = nullptr;
    TarnellBasicArray* raid5 = nullptr;
};

} // namespace

TEST_F(TarnellBasicArrayTest, ExpansionSendsTheDrivesInOrderWithAnEmptySize)
{
    std::vector<ChunkSpec> chunks = chunksAt({{0, 6}, {1, 4}});
    EXPECT_EQ(Ret::SUCCESS, raid1->increaseArrayFreeSpace(chunks).getReturn());
    const auto sent = callsOf("IncreaseArraySize");
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(2, sent[0].address.usAdapterID);
    EXPECT_EQ(1, sent[0].address.usArrayID);
    EXPECT_EQ(0, sent[0].address.usVirtDevID);
    EXPECT_EQ((std::vector<long long>{2}), sent[0].args) << "the count";
    ASSERT_EQ(2u, sent[0].addressList.size());
    EXPECT_EQ(0, sent[0].addressList[0].usChannelID);
    EXPECT_EQ(6, sent[0].addressList[0].usPhysDevID);
    EXPECT_EQ(2, sent[0].addressList[0].usAdapterID);
    EXPECT_EQ(1, sent[0].addressList[1].usChannelID);
    EXPECT_EQ(4, sent[0].addressList[1].usPhysDevID);
}

TEST_F(TarnellBasicArrayTest, RefusedExpansionsSendNothing)
{
    struct Case {
        const char* label;
        std::vector<ChunkSpec> chunks;
    };
    std::vector<Case> cases = {
        {"same channel", chunksAt({{0, 6}, {0, 4}})},
        {"same device id", chunksAt({{0, 4}, {1, 4}})},
        {"no drive", {}},
        {"four drives", chunksAt({{0, 3}, {0, 4}, {0, 6}, {1, 4}})},
        // 65537 would be 1 once narrowed to the 16-bit count.
        {"65537 drives", std::vector<ChunkSpec>(65537, chunksAt({{0, 6}})[0])},
        {"no hard drive there", chunksAt({{2, 9}})},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Ret::BAD_PARAM, raid1->increaseArrayFreeSpace(c.chunks).getReturn());
    }
    EXPECT_TRUE(tarnellsim::calls().empty());
}

TEST_F(TarnellBasicArrayTest, MigrationsSendTheLevelCodeAndTheAddedDrive)
{
    // RAID-5 to RAID-0 adds nothing; chunks in the request are ignored.
    LogicalDriveSpec toRaid0 = migrationTo(RAID0, {{0, 6}});
    EXPECT_EQ(Ret::SUCCESS, raid5->modifyLogicalDrive(toRaid0).getReturn());
    auto sent = callsOf("ModifyArrayRaidLevel");
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(2, sent[0].address.usArrayID);
    EXPECT_EQ((std::vector<long long>{0, 0}), sent[0].args) << "code 0, count 0";
    EXPECT_TRUE(sent[0].addressList.empty());

    // RAID-1 to RAID-5 takes exactly one added drive. (The controller runs
    // one migration at a time: it starts afresh.)
    tarnellsim::reset();
    LogicalDriveSpec twoDrives = migrationTo(RAID5, {{0, 6}, {1, 4}});
    EXPECT_EQ(Ret::BAD_PARAM, raid1->modifyLogicalDrive(twoDrives).getReturn());
    EXPECT_TRUE(tarnellsim::calls().empty());
    LogicalDriveSpec oneDrive = migrationTo(RAID5, {{1, 4}});
    EXPECT_EQ(Ret::SUCCESS, raid1->modifyLogicalDrive(oneDrive).getReturn());
    sent = callsOf("ModifyArrayRaidLevel");
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(1, sent[0].address.usArrayID);
    EXPECT_EQ((std::vector<long long>{5, 1}), sent[0].args);
    ASSERT_EQ(1u, sent[0].addressList.size());
    EXPECT_EQ(1, sent[0].addressList[0].usChannelID);
    EXPECT_EQ(4, sent[0].addressList[0].usPhysDevID);
}

TEST_F(TarnellBasicArrayTest, RefusedMigrationsSendNothing)
{
    TarnellBasicArray* oneChunkRaid0 = ctl->array(5);
    ctl->drive(oneChunkRaid0, 5, 5, RAID0, {{0, 6}});
    TarnellBasicArray* raid10 = ctl->array(6);
    ctl->drive(raid10, 6, 6, RAID10, {});
    TarnellBasicArray* mixed = ctl->array(0);
    ctl->drive(mixed, 0, 0, RAID5, {});
    ctl->drive(mixed, 1, 1, RAID0, {});
    TarnellBasicArray* empty = ctl->array(7);

    struct Case {
        const char* label;
        TarnellBasicArray* array;
        EnumRaidLevel level;
        int expected;
    };
    const Case cases[] = {
        {"RAID-5 to 5", raid5, RAID5, Ret::NOT_SUPPORTED},
        {"RAID-1 to 0", raid1, RAID0, Ret::NOT_SUPPORTED},
        {"RAID-10 to 5", raid10, RAID5, Ret::NOT_SUPPORTED},
        {"one-chunk RAID-0 to 5", oneChunkRaid0, RAID5, Ret::NOT_SUPPORTED},
        {"no logical drive", empty, RAID0, Ret::CONTROLLER_FAILED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        LogicalDriveSpec spec = migrationTo(c.level, {{1, 4}});
        EXPECT_EQ("", stdoutOf([&] { EXPECT_EQ(c.expected, c.array->modifyLogicalDrive(spec).getReturn()); }));
    }
    LogicalDriveSpec spec = migrationTo(RAID0, {});
    EXPECT_EQ("Array should contain all the logical drives of same raid level\n",
              stdoutOf([&] { EXPECT_EQ(Ret::BAD_PARAM, mixed->modifyLogicalDrive(spec).getReturn()); }));
    EXPECT_TRUE(tarnellsim::calls().empty());
    EXPECT_EQ("", familyLog());
}

TEST_F(TarnellBasicArrayTest, ArraysInsideASpannedArrayAndMissingAccess)
{
    TarnellBasicArray* inner = ctl->array(3, ctl->spannedArray(0));
    ctl->drive(inner, 8, 0, RAID1, {{2, 0}, {2, 1}}, true);
    std::vector<ChunkSpec> chunks = chunksAt({{0, 6}});
    LogicalDriveSpec toRaid5 = migrationTo(RAID5, {{0, 6}});
    EXPECT_EQ(Ret::NOT_SUPPORTED, inner->increaseArrayFreeSpace(chunks).getReturn());
    EXPECT_EQ(Ret::NOT_SUPPORTED, inner->modifyLogicalDrive(toRaid5).getReturn());
    EXPECT_TRUE(tarnellsim::calls().empty());

    withoutControllerAccess();
    stdoutOf([&] {
        EXPECT_EQ(Ret::CONTROLLER_FAILED, raid1->increaseArrayFreeSpace(chunks).getReturn());
        EXPECT_EQ(Ret::CONTROLLER_FAILED, raid1->modifyLogicalDrive(toRaid5).getReturn());
    });
}

TEST_F(TarnellBasicArrayTest, ControllerRefusalsAreLogged)
{
    std::vector<ChunkSpec> chunks = chunksAt({{0, 6}});
    tarnellsim::injectFailure("IncreaseArraySize", tarnellsim::RC_NO_SPACE);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, raid1->increaseArrayFreeSpace(chunks).getReturn());
    LogicalDriveSpec toRaid5 = migrationTo(RAID5, {{0, 6}});
    tarnellsim::injectFailure("ModifyArrayRaidLevel", tarnellsim::RC_BUSY);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, raid1->modifyLogicalDrive(toRaid5).getReturn());
    const std::string log = familyLog();
    EXPECT_NE(std::string::npos, log.find("<Warning> Migration: increasing array size failed\n")) << log;
    EXPECT_NE(std::string::npos, log.find("<Warning> Migrating raid level failed\n")) << log;
}

TEST_F(TarnellBasicArrayTest, NamesAndCopies)
{
    EXPECT_STREQ("TarnellBasicArray", raid1->typeName());
    EXPECT_STREQ("Array", raid1->serializedName());
    EXPECT_TRUE(raid1->isInstanceOf("TarnellBasicArray"));
    EXPECT_TRUE(raid1->isInstanceOf("BasicArray"));
    raid1->setSize(-1);
    EXPECT_EQ(~static_cast<BLOCK_T>(0), raid1->getSize()) << "widened with its sign";
    raid1->setFreeSpace(70000);
    TarnellBasicArray copy(*raid1);
    EXPECT_EQ(1u, copy.getArrayID());
    EXPECT_EQ(~static_cast<BLOCK_T>(0), copy.getSize());
    EXPECT_EQ(70000u, copy.getFreeSpace());
    EXPECT_EQ(ctl->adapter, copy.getAdapter());
}
