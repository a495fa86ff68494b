#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "RaidLib/Util/Progress.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Interface/LogicalDriveSpec.h"

// The Tarnell adapter's operations against the simulated controllers: what
// was sent is read from the simulator's call log.

using namespace tarnelltest;

namespace {

class TarnellAdapterOpsTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        ctl.reset(new SimController(CONTROLLER_A, TARNELL_B2));
    }
    void TearDown() override
    {
        ctl.reset();
        SimTest::TearDown();
    }
    TarnellAdapter& adapter() { return *ctl->adapter; }
    std::unique_ptr<SimController> ctl;
};

TEST_F(TarnellAdapterOpsTest, StripeSizeCodesAreMappedAndOthersRefused)
{
    struct Case {
        int code;
        long long sent; // 0: refused, nothing sent
    };
    const Case cases[] = {{4, 8}, {5, 16}, {6, 32}, {7, 64}, {STRIPE_8K, 0}, {STRIPE_64K, 0},
                          {STRIPE_NA, 0}, {3, 0}, {-1, 0}};
    for (const Case& c : cases) {
        tarnellsim::clearCalls();
        Ret ret = adapter().setStripeSize(static_cast<EnumStripeSize>(c.code));
        const auto sent = callsOf("SetStripeSliceSize");
        if (c.sent == 0) {
            EXPECT_EQ(Ret::NOT_SUPPORTED, ret.getReturn()) << c.code;
            EXPECT_TRUE(tarnellsim::calls().empty()) << c.code;
            continue;
        }
        EXPECT_EQ(Ret(0), ret) << c.code;
        ASSERT_EQ(1u, sent.size()) << c.code;
        EXPECT_EQ(CONTROLLER_A, sent[0].address.usAdapterID);
        EXPECT_EQ(0u, sent[0].address.ulMap);
        ASSERT_EQ(1u, sent[0].args.size());
        EXPECT_EQ(c.sent, sent[0].args[0]) << c.code;
    }
    tarnellsim::injectFailure("SetStripeSliceSize", tarnellsim::RC_BUSY);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, adapter().setStripeSize(static_cast<EnumStripeSize>(4)).getReturn());
    EXPECT_NE(std::string::npos, familyLog().find("Setting adapter stripe size failed"));
}

// Read-ahead and copy-back are sent only when they change; the controller of
// the default scenario has both on.
TEST_F(TarnellAdapterOpsTest, SettingsAreSentOnlyWhenTheyChange)
{
    EXPECT_EQ(Ret(0), adapter().setReadAheadMode(true));
    EXPECT_EQ(Ret(0), adapter().setCopyBack(true));
    EXPECT_TRUE(callsOf("SetReadAheadMode").empty());
    EXPECT_TRUE(callsOf("SetCopyBackMode").empty());

    EXPECT_EQ(Ret(0), adapter().setReadAheadMode(false));
    EXPECT_EQ(Ret(0), adapter().setCopyBack(false));
    const auto readAhead = callsOf("SetReadAheadMode");
    ASSERT_EQ(1u, readAhead.size());
    EXPECT_EQ(STADDR_MAP_ADAPTER_WIDE, readAhead[0].address.ulMap);
    EXPECT_EQ(0, readAhead[0].args[0]);
    const auto copyBack = callsOf("SetCopyBackMode");
    ASSERT_EQ(1u, copyBack.size());
    EXPECT_EQ(0u, copyBack[0].address.ulMap);
    EXPECT_EQ(0, copyBack[0].args[0]);
    EXPECT_EQ(Ret(0), adapter().setReadAheadMode(false)) << "now off: nothing more sent";
    EXPECT_EQ(1u, callsOf("SetReadAheadMode").size());

    EXPECT_EQ(Ret(0), adapter().setWriteCacheEnable(true));
    const auto policy = callsOf("SetWritePolicy");
    ASSERT_EQ(1u, policy.size());
    EXPECT_EQ(STADDR_MAP_ADAPTER_WIDE, policy[0].address.ulMap);
    EXPECT_EQ(1, policy[0].args[0]);
}

TEST_F(TarnellAdapterOpsTest, FailedRequestsGiveMinusFiveWithTheirMessage)
{
    struct Case {
        const char* entry;
        Ret (*call)(TarnellAdapter&);
        const char* message;
    };
    const Case cases[] = {
        {"SetCopyBackMode", [](TarnellAdapter& a) { return a.setCopyBack(false); },
         "Setting adapter's copyback mode failed"},
        {"SetReadAheadMode", [](TarnellAdapter& a) { return a.setReadAheadMode(false); },
         "Setting adapter's read ahead mode failed"},
        {"GetAdapterRaidConfig", [](TarnellAdapter& a) { return a.setCopyBack(false); },
         "Retrieving adapter raid configuration failed"},
        {"SetWritePolicy", [](TarnellAdapter& a) { return a.setWriteCacheEnable(false); },
         "Setting adapter's write cache policy failed"},
    };
    for (const Case& c : cases) {
        TarnellUtils::openLog();
        tarnellsim::injectFailure(c.entry, tarnellsim::RC_BUSY);
        EXPECT_EQ(Ret::CONTROLLER_FAILED, c.call(adapter()).getReturn()) << c.entry;
        EXPECT_NE(std::string::npos, familyLog().find(c.message)) << c.entry;
        tarnellsim::clearFailures();
    }

    _REBUILD_STATUS record;
    std::memset(&record, 0x77, sizeof record);
    tarnellsim::injectFailure("CheckProgress", tarnellsim::RC_BUSY);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, adapter().returnProgress(record).getReturn());
    EXPECT_EQ(0x77, record.ucOpcode) << "the record holds nothing new";
    EXPECT_EQ(0x77, record.sVirtualDrive[7].ucFiller2);

    stdoutOf([&] {
        withoutControllerAccess();
        EXPECT_EQ(Ret::CONTROLLER_FAILED, adapter().setStripeSize(static_cast<EnumStripeSize>(4)).getReturn());
        EXPECT_EQ(Ret::CONTROLLER_FAILED, adapter().setCopyBack(true).getReturn());
        EXPECT_EQ(Ret::CONTROLLER_FAILED, adapter().returnProgress(record).getReturn());
    });
}

TEST_F(TarnellAdapterOpsTest, FeatureIdsTestTheirFields)
{
    _ADAPTER_FEATURES levels;
    std::memset(&levels, 0, sizeof levels);
    struct Case {
        void (_ADAPTER_FEATURES::*set)(uint32_t);
        uint32_t value;
        int feature;
        bool supported;
    };
    const Case cases[] = {
        {&_ADAPTER_FEATURES::set_ulUltra160RL, 1, 24, true},   {&_ADAPTER_FEATURES::set_ulUltra160RL, 1, 28, false},
        {&_ADAPTER_FEATURES::set_ulUltra160RL, 2, 28, true},   {&_ADAPTER_FEATURES::set_ulBBCacheRelLevel, 2, 30, false},
        {&_ADAPTER_FEATURES::set_ulBBCacheRelLevel, 2, 17, true}, {&_ADAPTER_FEATURES::set_ulBBCacheRelLevel, 3, 30, true},
        {&_ADAPTER_FEATURES::set_ulAdapterFRURL, 1, 108, true}, {&_ADAPTER_FEATURES::set_ulAdapterFRURL, 1, 109, true},
        {&_ADAPTER_FEATURES::set_ulCopyBackRL, 1, 59, true},   {&_ADAPTER_FEATURES::set_ulVendorID, 0x1234, 56, true},
        {&_ADAPTER_FEATURES::set_ulPosRelLevel, 1, 1, true},   {&_ADAPTER_FEATURES::set_ulHLDRelLevel, 1, 18, true},
    };
    for (const Case& c : cases) {
        _ADAPTER_FEATURES f = levels;
        (f.*c.set)(c.value);
        char v[] = "";
        TarnellAdapter a(TARNELL_B2, 0, CONTROLLER_A, CONTROLLER_STATUS_WORKING, v, v, v, 0, false, 0, 0, false,
                         false, 0, "", false, false, false, false, false, false, false, 0, 0, nullptr, nullptr, "",
                         "", "", "", 8, 2, 3, 4, 15, 16, 16, 0, 64, 0, f, nullptr);
        EXPECT_EQ(c.supported, a.supports(c.feature)) << "feature " << c.feature << " value " << c.value;
    }
    _ADAPTER_FEATURES all;
    std::memset(&all, 0xFF, sizeof all);
    char v[] = "";
    TarnellAdapter a(TARNELL_B2, 0, CONTROLLER_A, CONTROLLER_STATUS_WORKING, v, v, v, 0, false, 0, 0, false, false,
                     0, "", false, false, false, false, false, false, false, 0, 0, nullptr, nullptr, "", "", "", "",
                     8, 2, 3, 4, 15, 16, 16, 0, 64, 0, all, nullptr);
    for (int unknown : {0, 8, 11, 19, 55, 60, 107, 110, -1})
        EXPECT_FALSE(a.supports(unknown)) << unknown;
}

TEST_F(TarnellAdapterOpsTest, ProgressIsTheFirstDriveThatReportsATask)
{
    Progress progress;
    progress.setType(TASK_REBUILD);
    progress.setStatus(TASK_STATE_IN_PROGRESS);
    EXPECT_EQ(Ret(0), adapter().getProgress(progress)) << "no logical drives";
    EXPECT_EQ(TASK_NONE, progress.getType());
    EXPECT_EQ(TASK_STATE_NONE, progress.getStatus());

    // Drive 3 of controller 2 is being rebuilt; drive 0 has no task.
    TarnellBasicArray* a0 = ctl->array(0);
    ctl->drive(a0, 0, 0, RAID5, {{0, 0}, {0, 1}, {0, 2}});
    TarnellBasicArray* a2 = ctl->array(2);
    ctl->drive(a2, 3, 3, RAID5, {{0, 3}, {0, 4}, {1, 3}});
    EXPECT_EQ(Ret(0), adapter().getProgress(progress));
    EXPECT_EQ(TASK_REBUILD, progress.getType());
    EXPECT_EQ(TASK_STATE_IN_PROGRESS, progress.getStatus());
}

} // namespace
