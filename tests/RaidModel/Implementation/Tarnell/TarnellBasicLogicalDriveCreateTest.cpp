#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "RaidModel/Implementation/Tarnell/TarnellCreateScenario.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "storagedll/storintf.h"

// Creation of basic logical drives against the simulated controllers; what
// was sent is read from the simulator's call log, what came of it from the
// controller's configuration.

using namespace tarnelltest;

namespace {

const BLOCK_T MIB_1000 = 1000 * BLOCKS_PER_MIB;

class TarnellBasicLogicalDriveCreateTest : public SimTest {
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

    Ret create(LogicalDriveSpec& spec, TarnellBasicArray* array = nullptr)
    {
        return TarnellBasicLogicalDrive::createLogicalDrive(ctl->adapter, Addr(), spec, array, nullptr, false);
    }

    std::unique_ptr<SimController> ctl;
};

// Entry n of the controller's configuration, read the way the configuration
// build reads it.
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

TEST_F(TarnellBasicLogicalDriveCreateTest, SizeAndCodeByLevelReachTheConfiguration)
{
    struct Case {
        const char* label;
        LogicalDriveSpec spec;
        long long code;
        long long sizeMiB;
        uint8_t params;   // RAID-5E and 5EE bits of the configuration entry
    };
    Case cases[] = {
        {"RAID-1E over 4 x 1000", requestOf(RAID1E, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}, {0, 2, MIB_1000, 0},
                                                     {0, 3, MIB_1000, 0}}),
         1, 2000, 0},
        {"RAID-5 over 1000, 1000, 1001",
         requestOf(RAID5, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}, {0, 2, MIB_1000 + BLOCKS_PER_MIB, 0}}), 5,
         2000, 0},
        {"RAID-5E over 4 x 1000", requestOf(RAID5E, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}, {0, 2, MIB_1000, 0},
                                                     {0, 3, MIB_1000, 0}}),
         94, 1998, VDP_PARAM_RAID5E},
        {"RAID-5EE over 4 x 1000", requestOf(RAID5EE, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0},
                                                       {0, 2, MIB_1000, 0}, {0, 3, MIB_1000, 0}}),
         52, 2000, VDP_PARAM_RAID5EE},
        // A chunk of 2047 blocks adds nothing.
        {"RAID-0 over 1000 and 2047 blocks", requestOf(RAID0, {{0, 0, MIB_1000, 0}, {1, 0, 2047, 0}}), 0, 1000, 0},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.label);
        start(blankController());
        ASSERT_EQ(Ret::SUCCESS, create(c.spec).getReturn());
        auto sent = callsOf("CreateVirtDev");
        ASSERT_EQ(1u, sent.size());
        // code, size, reserved, count, option
        EXPECT_EQ((std::vector<long long>{c.code, c.sizeMiB, 0, static_cast<long long>(c.spec.chunks.size()), 0}),
                  sent[0].args);
        EXPECT_EQ(CONTROLLER_A, sent[0].address.usAdapterID);
        EXPECT_EQ(0, sent[0].address.usVirtDevID);
        ASSERT_EQ(c.spec.chunks.size(), sent[0].addressList.size());
        for (size_t i = 0; i < c.spec.chunks.size(); ++i) {
            EXPECT_EQ(c.spec.chunks[i].getChannelID(), sent[0].addressList[i].usChannelID);
            EXPECT_EQ(c.spec.chunks[i].getDeviceID(), sent[0].addressList[i].usPhysDevID);
        }
        const _VIRT_DRV_PARMS entry = configEntry(0);
        EXPECT_NE(0, entry.ucState);
        EXPECT_EQ(c.code == 0 ? 0u : (c.code == 1 ? 1u : 5u), entry.getRaidCode());
        EXPECT_EQ(c.params, entry.ucParams & (VDP_PARAM_RAID5E | VDP_PARAM_RAID5EE));
        EXPECT_EQ(static_cast<uint32_t>(c.sizeMiB * 2048), entry.ulVirtDriveSize);
    }
    EXPECT_EQ(RAID1, cases[0].spec.raidLevel) << "the caller's request now reads RAID-1";
}

TEST_F(TarnellBasicLogicalDriveCreateTest, NewDriveTakesTheLowestFreeId)
{
    tarnellsim::Controller c = blankController();
    for (uint8_t n : {0, 1, 3})
        addSimDrive(c, n, n, 2, n);
    start(c);
    LogicalDriveSpec spec = requestOf(RAID1, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}});
    ASSERT_EQ(Ret::SUCCESS, create(spec).getReturn());
    ASSERT_EQ(1u, callsOf("CreateVirtDev").size());
    EXPECT_EQ(2, callsOf("CreateVirtDev")[0].address.usVirtDevID);
    EXPECT_EQ(1u, configEntry(2).getRaidCode());

    // All eight in use: refused before anything is created.
    for (uint8_t n : {2, 4, 5, 6, 7})
        addSimDrive(c, n, n, 2, n);
    start(c);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Ret::CONTROLLER_FAILED, create(spec).getReturn());
    EXPECT_EQ("No more than 8 logical drives can be created\n", ::testing::internal::GetCapturedStderr());
    EXPECT_TRUE(callsOf("CreateVirtDev").empty());
    EXPECT_EQ(8u, simController().drives.size());
}

TEST_F(TarnellBasicLogicalDriveCreateTest, BadRequestsAreRefusedBeforeAnyRequest)
{
    _STORAGE_ADDRESS_ID record = {};
    struct Case {
        const char* label;
        LogicalDriveSpec spec;
        _STORAGE_ADDRESS_ID* sldVirtDrv;
        bool isSLD;
    };
    Case cases[] = {
        {"no chunk", requestOf(RAID0, {}), nullptr, false},
        {"no chunk for a sub-logical drive", requestOf(RAID1, {}), &record, true},
        {"a drive the adapter does not have", requestOf(RAID1, {{0, 0, MIB_1000, 0}, {0, 9, MIB_1000, 0}}),
         nullptr, false},
        {"RAID-5E over one chunk", requestOf(RAID5E, {{0, 0, MIB_1000, 0}}), nullptr, false},
        {"sub-logical drive without a record", requestOf(RAID1, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}}),
         nullptr, true},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Ret::BAD_PARAM, TarnellBasicLogicalDrive::createLogicalDrive(ctl->adapter, Addr(), c.spec, nullptr,
                                                                               c.sldVirtDrv, c.isSLD)
                                      .getReturn());
    }
    EXPECT_TRUE(tarnellsim::calls().empty());

    // Unsupported levels are refused after the reads, before any change.
    LogicalDriveSpec raid3 = requestOf(RAID3, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}, {0, 2, MIB_1000, 0}});
    EXPECT_EQ(Ret::NOT_SUPPORTED, create(raid3).getReturn());
    EXPECT_TRUE(callsOf("CreateVirtDev").empty());
}

TEST_F(TarnellBasicLogicalDriveCreateTest, ExistingArrayLimits)
{
    // Array 0 holds a RAID-5EE drive; array 1 a RAID-1 drive with 1000 MiB free.
    TarnellBasicArray* full = ctl->array(0);
    ctl->drive(full, 0, 0, RAID5EE, {{0, 0}, {0, 1}, {0, 2}, {0, 3}});
    TarnellBasicArray* mirror = new TarnellBasicArray(ctl->adapter, 1, 2000, 1000);
    ctl->config->addChild(mirror);
    ctl->drive(mirror, 1, 1, RAID1, {{1, 0}, {1, 1}});

    LogicalDriveSpec raid1 = requestOf(RAID1, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}});
    LogicalDriveSpec raid5e = requestOf(RAID5E, {{1, 0, MIB_1000, 0}, {1, 1, MIB_1000, 0}});
    LogicalDriveSpec tooBig = requestOf(RAID1, {{1, 0, MIB_1000, 0}, {1, 1, 2 * BLOCKS_PER_MIB, 0}});
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Ret::BAD_PARAM, create(raid1, full).getReturn());
    EXPECT_EQ(Ret::BAD_PARAM, create(raid5e, mirror).getReturn());
    EXPECT_EQ(Ret::SIZE_EXCEEDED, create(tooBig, mirror).getReturn());
    EXPECT_EQ("No more logical drives can be created in this array\n"
              "Invalid RAID level\n"
              "Cannot create logical drive; size exceeds array free space\n",
              ::testing::internal::GetCapturedStderr());
    EXPECT_TRUE(callsOf("CreateVirtDev").empty());
}

TEST_F(TarnellBasicLogicalDriveCreateTest, WritePolicyAndFirstTask)
{
    struct Case {
        const char* label;
        LogicalDriveSpec spec;
        long long policy;
        const char* task;   // the entry point of the first task, or null
        long long option;
    };
    Case cases[] = {
        {"quick init, write-back", requestOf(RAID1, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}}, INIT_QUICK,
                                             LD_CACHE_ENABLED),
         1, "InitializeVirtDev", 0},
        {"normal init with automatic synchronization",
         requestOf(RAID1, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}}, INIT_NORMAL), 0, "SynchronizeVirtDev", 0x81},
        {"normal init of RAID-0", requestOf(RAID0, {{0, 0, MIB_1000, 0}}, INIT_NORMAL), 0, nullptr, 0},
        {"clear", requestOf(RAID1, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}}, INIT_CLEAR), 0, nullptr, 0},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.label);
        start(blankController());
        ASSERT_EQ(Ret::SUCCESS, create(c.spec).getReturn());
        auto policy = callsOf("SetWritePolicy");
        ASSERT_EQ(1u, policy.size());
        EXPECT_EQ(0x200u, policy[0].address.ulMap);
        EXPECT_EQ(0, policy[0].address.usVirtDevID);
        EXPECT_EQ(std::vector<long long>{c.policy}, policy[0].args);
        const size_t tasks = callsOf("InitializeVirtDev").size() + callsOf("SynchronizeVirtDev").size();
        if (c.task == nullptr) {
            EXPECT_EQ(0u, tasks);
            continue;
        }
        ASSERT_EQ(1u, tasks);
        auto task = callsOf(c.task);
        ASSERT_EQ(1u, task.size());
        EXPECT_EQ(0x200u, task[0].address.ulMap);
        EXPECT_EQ(std::vector<long long>{c.option}, task[0].args);
    }
}

TEST_F(TarnellBasicLogicalDriveCreateTest, FailuresAfterCreationAreReportedAndTheDriveStays)
{
    const char* const steps[][2] = {
        {"SetWritePolicy", "<Warning> Setting basic logical drive write cache policy failed\n"},
        {"InitializeVirtDev", "<Warning> Initializing basic logical drive failed\n"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step[0]);
        start(blankController());
        TarnellUtils::openLog();
        tarnellsim::injectFailure(step[0], tarnellsim::RC_BUSY);
        LogicalDriveSpec spec = requestOf(RAID1, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}}, INIT_QUICK);
        EXPECT_EQ(Ret::CONTROLLER_FAILED, create(spec).getReturn());
        EXPECT_EQ(1u, simController().drives.size());
        EXPECT_NE(std::string::npos, familyLog().find(step[1])) << familyLog();
    }

    start(blankController());
    TarnellUtils::openLog();
    tarnellsim::injectFailure("CreateVirtDev", tarnellsim::RC_NO_SPACE);
    LogicalDriveSpec spec = requestOf(RAID1, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}}, INIT_QUICK);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, create(spec).getReturn());
    EXPECT_NE(std::string::npos, familyLog().find("<Fatal> Creating basic logical drive failed\n")) << familyLog();
    EXPECT_TRUE(callsOf("SetWritePolicy").empty());
}

TEST_F(TarnellBasicLogicalDriveCreateTest, SubLogicalDriveGetsAFreeSlotAndArray)
{
    // Slots 0 and 1 of the SLD table hold drives of arrays 0 and 1.
    tarnellsim::Controller c = blankController();
    for (uint8_t slot = 0; slot < 2; ++slot) {
        addSimDrive(c, slot, slot, 2, slot);
        c.subDrives.push_back(c.drives.back());
        c.drives.pop_back();
    }
    start(c);
    _STORAGE_ADDRESS_ID record = {};
    LogicalDriveSpec spec = requestOf(RAID1, {{0, 0, MIB_1000, 0}, {0, 1, MIB_1000, 0}}, INIT_QUICK);
    ASSERT_EQ(Ret::SUCCESS,
              TarnellBasicLogicalDrive::createLogicalDrive(ctl->adapter, Addr(), spec, nullptr, &record, true)
                  .getReturn());
    auto sent = callsOf("CreateVirtDev");
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(2, sent[0].address.usVirtDevID) << "the first empty slot";
    EXPECT_EQ(2, sent[0].address.usArrayID) << "the lowest array id the table does not use";
    EXPECT_EQ(2, sent[0].args.back()) << "the sub-logical drive option";
    EXPECT_EQ(0, std::memcmp(&record, &sent[0].address, sizeof record));
    EXPECT_TRUE(callsOf("SetWritePolicy").empty());
    EXPECT_TRUE(callsOf("InitializeVirtDev").empty());
    EXPECT_EQ(3u, simController().subDrives.size());
}

TEST(TarnellCalculate5EDataSize, RuleAndArgumentsItCannotAnswer)
{
    struct Case {
        uint32_t driveSize;
        int drives, failures, spares;
        uint32_t expected;
    };
    const Case cases[] = {
        {1000, 4, 2, 1, 1998},  // floor(2000 / 3) * 3
        {999, 5, 2, 1, 2996},   // floor(2997 / 4) * 4
        {1000, 3, 1, 1, 2000},  // one failure: (drives - spares) * size
        {1000, 2, 2, 1, 0},
        {1000, 4, 2, 0, 0},     // no spare: the rule would never end
        {1000, 1, 2, 1, 0},     // as many spares as drives: it would divide by zero
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, TarnellBasicLogicalDrive::calculate5EDataSize(c.driveSize, c.drives, c.failures,
                                                                            c.spares))
            << c.drives << " " << c.failures << " " << c.spares;
}
