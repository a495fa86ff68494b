#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "RaidModel/Implementation/Tarnell/TarnellCreateScenario.h"
#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Implementation/Tarnell/TarnellSpannedArray.h"
#include "storagedll/storintf.h"

// Creation of spanned logical drives against the simulated controllers; what
// was sent is read from the simulator's call log, what is left from its state.

using namespace tarnelltest;

namespace {

const BLOCK_T MIB_1024 = 1024 * BLOCKS_PER_MIB;
// What a sub-logical drive takes of each 36G disk: its whole size in MiB.
const long long DISK_36G_MIB = DISK_36G >> 11;

class TarnellHLogicalDriveCreateTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        start(blankController());
    }
    void TearDown() override
    {
        ctl.reset();
        SimTest::TearDown();
    }

    void start(const tarnellsim::Controller& c)
    {
        ctl.reset();
        resetTo(c);
        ctl = modelOfController();
    }

    Ret create(LogicalDriveSpec& spec, TarnellSpannedArray* sArray = nullptr)
    {
        return TarnellHLogicalDrive::createLogicalDrive(ctl->adapter, Addr(), spec, sArray);
    }

    TarnellSpannedArray* spannedArray(int id, int size, int freeSpace)
    {
        TarnellSpannedArray* a = new TarnellSpannedArray(ctl->adapter, id, size, freeSpace);
        ctl->config->addChild(a);
        return a;
    }

    std::unique_ptr<SimController> ctl;
};

bool sameAddress(const _STORAGE_ADDRESS_ID& a, const _STORAGE_ADDRESS_ID& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

_VIRT_DRV_PARMS configEntry(unsigned n)
{
    _STORAGE_ADDRESS_ID a = {};
    a.usAdapterID = CONTROLLER_A;
    _ADAPTER_CONFIG config = {};
    uint32_t length = 0;
    EXPECT_EQ(0, DllP::GetDLLPointer()->GetAdapterRaidConfig(a, &config, sizeof config, length, 0).iReturnCode);
    return config.sVirtDrv[n];
}

} // namespace

TEST_F(TarnellHLogicalDriveCreateTest, Raid10MakesTwoRaid1SubDrivesThenTheSpannedDrive)
{
    // The smallest drive named is a 36G one; the 73G ones are used as far.
    LogicalDriveSpec spec = requestOf(
        RAID10, {{0, 0, MIB_1024, 0}, {0, 1, MIB_1024, 0}, {1, 0, MIB_1024, 1}, {1, 1, MIB_1024, 1}}, INIT_NORMAL);
    ASSERT_EQ(Ret::SUCCESS, create(spec).getReturn());

    auto subs = callsOf("CreateVirtDev");
    ASSERT_EQ(2u, subs.size());
    for (unsigned g = 0; g < 2; ++g) {
        SCOPED_TRACE(g);
        // RAID-1 over two whole 36G-sized chunks, as sub-logical drive
        EXPECT_EQ((std::vector<long long>{1, DISK_36G_MIB, 0, 2, 2}), subs[g].args);
        EXPECT_EQ(g, subs[g].address.usVirtDevID) << "its SLD slot";
        EXPECT_EQ(g, subs[g].address.usArrayID);
        ASSERT_EQ(2u, subs[g].addressList.size());
        EXPECT_EQ(g, subs[g].addressList[0].usChannelID);
        EXPECT_EQ(1, subs[g].addressList[1].usPhysDevID);
    }
    auto top = callsOf("CreateVirtDevHld");
    ASSERT_EQ(1u, top.size());
    EXPECT_EQ((std::vector<long long>{2048, 2}), top[0].args);
    EXPECT_EQ(0, top[0].address.usVirtDevID);
    EXPECT_EQ(0, top[0].address.usArrayID);
    ASSERT_EQ(2u, top[0].addressList.size());
    EXPECT_TRUE(sameAddress(subs[0].address, top[0].addressList[0]));
    EXPECT_TRUE(sameAddress(subs[1].address, top[0].addressList[1]));

    auto policy = callsOf("SetWritePolicy");
    ASSERT_EQ(1u, policy.size());
    EXPECT_EQ(0x200u, policy[0].address.ulMap);
    auto sync = callsOf("SynchronizeVirtDev");
    ASSERT_EQ(1u, sync.size());
    EXPECT_EQ(std::vector<long long>{0x81}, sync[0].args);

    // The next configuration read shows it.
    const _VIRT_DRV_PARMS entry = configEntry(0);
    EXPECT_TRUE(entry.isSpanned());
    EXPECT_EQ(1u, entry.getRaidCode());
    EXPECT_EQ(2048u * 2048u, entry.ulVirtDriveSize);
    EXPECT_EQ(2u, simController().subDrives.size());
}

TEST_F(TarnellHLogicalDriveCreateTest, Raid50TakesEachSubDrivesParityOut)
{
    LogicalDriveSpec spec = requestOf(RAID50, {{0, 0, MIB_1024, 0}, {0, 1, MIB_1024, 0}, {0, 2, MIB_1024, 0},
                                               {2, 0, MIB_1024, 1}, {2, 1, MIB_1024, 1}, {2, 2, MIB_1024, 1}});
    ASSERT_EQ(Ret::SUCCESS, create(spec).getReturn());
    auto subs = callsOf("CreateVirtDev");
    ASSERT_EQ(2u, subs.size());
    EXPECT_EQ((std::vector<long long>{5, 2 * DISK_36G_MIB, 0, 3, 2}), subs[1].args);
    auto top = callsOf("CreateVirtDevHld");
    ASSERT_EQ(1u, top.size());
    EXPECT_EQ((std::vector<long long>{4096, 2}), top[0].args) << "6144 - 6144 / 6 x 2";
    const _VIRT_DRV_PARMS entry = configEntry(0);
    EXPECT_TRUE(entry.isSpanned());
    EXPECT_EQ(5u, entry.getRaidCode());
    EXPECT_EQ(4096u * 2048u, entry.ulVirtDriveSize);
}

TEST_F(TarnellHLogicalDriveCreateTest, FailedThirdSubDriveTakesTheFirstTwoBack)
{
    // The controller does not take 2:7 (a hot spare), which the model lists.
    tarnellsim::Controller c = blankController();
    for (auto& d : c.devices)
        if (d.channel == 2 && d.target == 7)
            d.state = DEVSTATE_HOT_SPARE;
    start(c);
    LogicalDriveSpec spec = requestOf(RAID00, {{0, 0, MIB_1024, 0}, {1, 0, MIB_1024, 1}, {2, 7, MIB_1024, 2}});
    EXPECT_EQ(Ret::CONTROLLER_FAILED, create(spec).getReturn());

    auto subs = callsOf("CreateVirtDev");
    ASSERT_EQ(3u, subs.size());
    auto undone = callsOf("DeleteVirtDevOption");
    ASSERT_EQ(2u, undone.size());
    for (unsigned g = 0; g < 2; ++g) {
        EXPECT_TRUE(sameAddress(subs[g].address, undone[g].address)) << g;
        EXPECT_EQ(std::vector<long long>{2}, undone[g].args);
    }
    EXPECT_TRUE(callsOf("CreateVirtDevHld").empty());
    EXPECT_TRUE(simController().subDrives.empty());
    EXPECT_TRUE(simController().drives.empty());
    EXPECT_NE(std::string::npos, familyLog().find("<Warning> Creating hierarchical logical drive failed\n"))
        << familyLog();
}

TEST_F(TarnellHLogicalDriveCreateTest, FailedSpannedDriveTakesItsSubDrivesBackAlsoWithAGivenArray)
{
    // A spanned array is given, but the controller has no logical drive: the
    // sub-logical drives are made all the same, and taken back.
    TarnellSpannedArray* given = spannedArray(1, 0, 100000);
    tarnellsim::injectFailure("CreateVirtDevHld", tarnellsim::RC_NO_SPACE);
    LogicalDriveSpec spec = requestOf(RAID00, {{0, 0, MIB_1024, 0}, {1, 0, MIB_1024, 1}});
    EXPECT_EQ(Ret::CONTROLLER_FAILED, create(spec, given).getReturn());
    EXPECT_EQ(2u, callsOf("CreateVirtDev").size());
    EXPECT_EQ(2u, callsOf("DeleteVirtDevOption").size());
    EXPECT_TRUE(simController().subDrives.empty());
}

TEST_F(TarnellHLogicalDriveCreateTest, BadRequestsAreRefusedBeforeAnyRequest)
{
    struct Case {
        const char* label;
        LogicalDriveSpec spec;
    };
    Case cases[] = {
        {"no chunk", requestOf(RAID10, {})},
        {"group 1 without a chunk", requestOf(RAID00, {{0, 0, MIB_1024, 0}, {1, 0, MIB_1024, 2}})},
        {"group 8", requestOf(RAID00, {{0, 0, MIB_1024, 0}, {1, 0, MIB_1024, 8}})},
        {"a drive the adapter does not have", requestOf(RAID00, {{0, 0, MIB_1024, 0}, {0, 9, MIB_1024, 1}})},
    };
    TarnellSpannedArray* given = spannedArray(0, 0, 100000);
    for (Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Ret::BAD_PARAM, create(c.spec).getReturn());
        EXPECT_EQ(Ret::BAD_PARAM, create(c.spec, given).getReturn());
    }
    EXPECT_TRUE(tarnellsim::calls().empty());
}

// Controller 2 of the default scenario, whose spanned array 0 holds the
// RAID-10 drive 4 over the sub-logical drives 0 (array 3) and 1 (array 4);
// the drive takes 30000 of their 68000 MiB. edit changes the drive.
class TarnellHLogicalDriveOverArrayTest : public TarnellHLogicalDriveCreateTest {
protected:
    void SetUp() override { SimTest::SetUp(); }

    void startWith(void (*edit)(tarnellsim::LogicalDrive&))
    {
        tarnellsim::Controller c = tarnellsim::defaultScenario().controllers.at(0);
        c.drives.at(4).sizeSectors = 30000 * 2048;
        if (edit)
            edit(c.drives.at(4));
        start(c);
        span = spannedArray(0, 68000, 38000);
        span->addChild(new TarnellHLogicalDrive(ctl->adapter, span, 4, 4, OKAY, RAID10, 30000, 0, false,
                                                LD_CACHE_DISABLED, true, false));
        tarnellsim::clearCalls();
    }

    static LogicalDriveSpec request(EnumRaidLevel level, BLOCK_T blocks)
    {
        return requestOf(level, {{2, 0, blocks, 0}, {2, 1, blocks, 0}, {2, 2, blocks, 1}, {2, 3, blocks, 1}});
    }

    TarnellSpannedArray* span = nullptr;
};

TEST_F(TarnellHLogicalDriveOverArrayTest, FurtherDriveSpansTheArraysSubDrives)
{
    startWith(nullptr);
    LogicalDriveSpec spec = request(RAID10, MIB_1024);
    ASSERT_EQ(Ret::SUCCESS, create(spec, span).getReturn());
    EXPECT_TRUE(callsOf("CreateVirtDev").empty());
    auto top = callsOf("CreateVirtDevHld");
    ASSERT_EQ(1u, top.size());
    EXPECT_EQ(5, top[0].address.usVirtDevID) << "drives 0 to 4 exist";
    EXPECT_EQ(0, top[0].address.usArrayID);
    EXPECT_EQ((std::vector<long long>{2048, 2}), top[0].args);
    ASSERT_EQ(2u, top[0].addressList.size());
    for (unsigned i = 0; i < 2; ++i) {
        EXPECT_EQ(CONTROLLER_A, top[0].addressList[i].usAdapterID);
        EXPECT_EQ(i, top[0].addressList[i].usVirtDevID);
        EXPECT_EQ(3 + i, top[0].addressList[i].usArrayID);
    }

    // Another level than the array's, or more than its free space: refused.
    LogicalDriveSpec raid50 = request(RAID50, MIB_1024);
    LogicalDriveSpec tooBig = request(RAID10, 10000 * BLOCKS_PER_MIB);
    tarnellsim::clearCalls();
    const std::string out = stdoutOf([&] {
        EXPECT_EQ(Ret::BAD_PARAM, create(raid50, span).getReturn());
        EXPECT_EQ(Ret::SIZE_EXCEEDED, create(tooBig, span).getReturn());
    });
    EXPECT_EQ("Invalid Raid Level\nCannot create logical drive; size exceeds array free space\n", out);
    EXPECT_TRUE(callsOf("CreateVirtDevHld").empty());
}

TEST_F(TarnellHLogicalDriveOverArrayTest, EntryBeyondTheTablesIsRefused)
{
    struct Case {
        const char* label;
        void (*edit)(tarnellsim::LogicalDrive&);
    };
    const Case cases[] = {
        {"nine sub-logical drives",
         [](tarnellsim::LogicalDrive& d) { d.chunks.resize(9, d.chunks.at(1)); }},
        {"a slot outside the SLD table", [](tarnellsim::LogicalDrive& d) { d.chunks.at(1).target = 12; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        startWith(c.edit);
        LogicalDriveSpec spec = request(RAID10, MIB_1024);
        EXPECT_EQ(Ret::CONTROLLER_FAILED, create(spec, span).getReturn());
        EXPECT_TRUE(callsOf("CreateVirtDevHld").empty());
        EXPECT_TRUE(callsOf("CreateVirtDev").empty());
    }
}

TEST_F(TarnellHLogicalDriveCreateTest, FailuresAfterCreationAreReportedAndTheDriveStays)
{
    const char* const steps[][2] = {
        {"SetWritePolicy", "<Warning> Setting hierarchical logical drive write cache policy failed\n"},
        {"SynchronizeVirtDev", "<Warning> Synchronizing hierarchical logical drive failed\n"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step[0]);
        start(blankController());
        TarnellUtils::openLog();
        tarnellsim::injectFailure(step[0], tarnellsim::RC_BUSY);
        LogicalDriveSpec spec = requestOf(
            RAID10, {{0, 0, MIB_1024, 0}, {0, 1, MIB_1024, 0}, {1, 0, MIB_1024, 1}, {1, 1, MIB_1024, 1}},
            INIT_NORMAL);
        EXPECT_EQ(Ret::CONTROLLER_FAILED, create(spec).getReturn());
        EXPECT_EQ(1u, simController().drives.size());
        EXPECT_EQ(2u, simController().subDrives.size());
        EXPECT_NE(std::string::npos, familyLog().find(step[1])) << familyLog();
    }
}
