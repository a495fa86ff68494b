#include <gtest/gtest.h>

#include <string>

#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"

// The Tarnell adapter's rescan against the simulated controllers: its
// progress lines on standard error and the device states it leaves.

using namespace tarnelltest;

namespace {

class TarnellRescanTest : public SimTest {
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

    // Controller A with the given channel count and only the given devices.
    static void useDevices(uint16_t channels, const std::vector<tarnellsim::Device>& devices)
    {
        tarnellsim::Scenario s = tarnellsim::current();
        for (auto& c : s.controllers) {
            if (c.number != CONTROLLER_A)
                continue;
            c.channelCount = channels;
            c.devices = devices;
            c.drives.clear();
            c.subDrives.clear();
            c.tasks.clear();
        }
        tarnellsim::reset(s);
    }
    static tarnellsim::Device device(uint8_t target, uint8_t state, bool present)
    {
        tarnellsim::Device d;
        d.channel = 0;
        d.target = target;
        d.state = state;
        d.present = present;
        d.blocks = 71132000;
        return d;
    }
    static uint8_t stateAt(uint8_t target)
    {
        for (const auto& c : tarnellsim::current().controllers)
            if (c.number == CONTROLLER_A)
                for (const auto& d : c.devices)
                    if (d.channel == 0 && d.target == target)
                        return d.state;
        return 0xEE;
    }

    std::string rescan(bool asynchronous, Ret& ret)
    {
        ::testing::internal::CaptureStderr();
        ret = ctl->adapter->scanForDrives(asynchronous);
        return ::testing::internal::GetCapturedStderr();
    }

    std::unique_ptr<SimController> ctl;
};

TEST_F(TarnellRescanTest, NewAndRemovedDrivesOfAChannel)
{
    // Id 2: a new disk not yet known; id 5: a ready disk that was pulled;
    // id 0: an online disk; every other id is empty.
    useDevices(1, {device(0, 0x89, true), device(2, 0x00, true), device(5, 0x81, false)});
    Ret ret;
    const std::string out = rescan(false, ret);
    EXPECT_EQ(Ret(0), ret);
    EXPECT_EQ("Scanning for new or removed drives ...\n"
              "Channel #1:  ..N..R..........\n"
              "1 new ready drives found1 removed ready drives found",
              out);
    EXPECT_EQ(0x81, stateAt(2));
    EXPECT_EQ(0x00, stateAt(5));
    EXPECT_EQ(0x89, stateAt(0));
    for (const auto& call : callsOf("GetPhysDevState"))
        EXPECT_EQ(CONTROLLER_A, call.address.usAdapterID);
    EXPECT_EQ(16u, callsOf("GetPhysDevState").size());
}

TEST_F(TarnellRescanTest, ZeroChannelsWritesOnlyTheFrame)
{
    useDevices(0, {});
    Ret ret;
    EXPECT_EQ("Scanning for new or removed drives ...\n0 new ready drives found0 removed ready drives found",
              rescan(false, ret));
    EXPECT_EQ(Ret(0), ret);
    EXPECT_TRUE(callsOf("GetPhysDevState").empty());
}

TEST_F(TarnellRescanTest, RefusalsAndFailures)
{
    Ret ret;
    EXPECT_EQ("", rescan(true, ret));
    EXPECT_EQ(Ret::NOT_SUPPORTED, ret.getReturn());
    EXPECT_TRUE(tarnellsim::calls().empty());

    useDevices(1, {device(3, 0x81, true)});
    tarnellsim::injectFailure("RaidAdapterInfo", tarnellsim::RC_BUSY);
    EXPECT_EQ("", rescan(false, ret));
    EXPECT_EQ(Ret::CONTROLLER_FAILED, ret.getReturn());
    EXPECT_NE(std::string::npos, familyLog().find("Retrieving adapter information failed"));

    // A failed state read stops at once: no summary.
    tarnellsim::injectFailure("GetPhysDevState", tarnellsim::RC_BUSY, tarnellsim::ANY_ADAPTER, false, 3);
    EXPECT_EQ("Scanning for new or removed drives ...\nChannel #1:  ...", rescan(false, ret));
    EXPECT_EQ(Ret::CONTROLLER_FAILED, ret.getReturn());

    stdoutOf([&] {
        withoutControllerAccess();
        EXPECT_EQ("", rescan(false, ret));
        EXPECT_EQ(Ret::CONTROLLER_FAILED, ret.getReturn());
    });
}

} // namespace
