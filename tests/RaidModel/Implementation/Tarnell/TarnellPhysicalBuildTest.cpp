#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RaidLib/Util/SafteConfig.h"
#include "RaidModel/Implementation/Tarnell/TarnellBuildUtil.h"
#include "RaidModel/Implementation/Tarnell/TarnellEnclosure.h"
#include "RaidModel/Implementation/Tarnell/TarnellHardDrive.h"

// The physical device build of a Tarnell adapter against the simulated
// controllers: the default scenario and scenarios edited per test.

using namespace tarnelltest;

namespace {

class TarnellPhysicalBuildTest : public SimTest {
protected:
    static HardDrive* hardDrive(const BuildAdapter& a, int ch, int dev)
    {
        PhysicalDevice* d = a.device(ch, dev);
        return d && d->isInstanceOf("TarnellHardDrive") ? static_cast<HardDrive*>(d) : nullptr;
    }

    static unsigned devicesOn(const BuildAdapter& a, int ch)
    {
        return static_cast<unsigned>(a.all("PhysicalDevice", a.adapter->getChannel(ch)).size());
    }
};

// Controller 2 of the default scenario: every known device becomes one object
// under its channel, with its identity, state and the facts read from it.
TEST_F(TarnellPhysicalBuildTest, DefaultControllerGivesOneObjectPerKnownDevice)
{
    BuildAdapter a(CONTROLLER_A, 3);
    ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(a.adapter));

    EXPECT_EQ(8u, devicesOn(a, 0));
    EXPECT_EQ(6u, devicesOn(a, 1));   // 1:5 is not known to the controller yet
    EXPECT_EQ(7u, devicesOn(a, 2));
    EXPECT_EQ(nullptr, a.device(1, 5));

    HardDrive* d = hardDrive(a, 0, 0);
    ASSERT_NE(nullptr, d);
    EXPECT_STREQ("ZEQ-XJP ", d->getVendor());
    EXPECT_STREQ("XJ36L320", d->getModel());
    EXPECT_STREQ("3KA00101", d->getSerialNumber());
    EXPECT_STREQ("B24A", d->getFirmwareLevel());
    EXPECT_STREQ("06P5760", d->getFruNumber());
    EXPECT_EQ(71132000u, d->getSize());
    EXPECT_EQ(DRIVE_ONLINE, d->getState());
    EXPECT_EQ(HARD_DRIVE_CACHE_MODE_WRITE_BACK, d->getWriteCacheEnable());
    EXPECT_TRUE(d->getWriteCacheEnableSupported());
    EXPECT_TRUE(d->getSelfTestSupported());
    EXPECT_TRUE(d->getPfaSupported());
    EXPECT_FALSE(d->getPfaError());
    EXPECT_FALSE(d->getOSPartitionInfo());
    EXPECT_FALSE(static_cast<TarnellHardDrive*>(d)->isConfiguredSingle());

    const struct {
        int ch, dev;
        EnumPhysicalDeviceState state;
    } states[] = {{0, 5, DRIVE_SPARE},      {0, 6, DRIVE_READY}, {1, 2, DRIVE_DEAD},
                  {1, 3, DRIVE_REBUILDING}, {2, 6, DEVICE_STANDBY}};
    for (const auto& s : states) {
        ASSERT_NE(nullptr, hardDrive(a, s.ch, s.dev)) << s.ch << ":" << s.dev;
        EXPECT_EQ(s.state, hardDrive(a, s.ch, s.dev)->getState()) << s.ch << ":" << s.dev;
    }
    ASSERT_NE(nullptr, hardDrive(a, 1, 4));
    EXPECT_TRUE(hardDrive(a, 1, 4)->getOSPartitionInfo());

    ASSERT_NE(nullptr, a.device(2, 4));
    EXPECT_TRUE(a.device(2, 4)->isInstanceOf("TarnellCDROMDrive"));
    ASSERT_NE(nullptr, a.device(2, 5));
    EXPECT_TRUE(a.device(2, 5)->isInstanceOf("TarnellTapeDrive"));

    PhysicalDevice* e = a.device(0, 15);
    ASSERT_NE(nullptr, e);
    ASSERT_TRUE(e->isInstanceOf("TarnellEnclosure"));
    TarnellEnclosure* enclosure = static_cast<TarnellEnclosure*>(e);
    EXPECT_TRUE(enclosure->isResponding());
    EXPECT_EQ(SCSI, enclosure->getInterfaceType());
    EXPECT_EQ(DRIVE_READY, enclosure->getState());
    ASSERT_NE(nullptr, enclosure->getSafteConfig());
    EXPECT_EQ(3u, enclosure->getSafteConfig()->getFanCount());
    EXPECT_EQ(TarnellEnclosure::ELEMENT_NOT_INSTALLED, enclosure->getPowerSupplyStatus(2));
}

// The slot state gives the drive state (any unknown code is dead); only bits
// 0-4 of the parameters byte give the type; printers, changers and other
// types get no object; a PFA report and a drive without self-test show.
TEST_F(TarnellPhysicalBuildTest, SlotStateAndTypeDecideTheObject)
{
    struct Slot {
        uint8_t target, type, state;
    };
    const Slot slots[] = {{0, 0, 0x81}, {1, 0, 0x89}, {2, 0, 0x42}, {3, 0, 0x01}, {4, 0, 0x05},
                          {5, 0, 0x04}, {6, 2, 0x81}, {7, 8, 0x81}, {8, 0x20, 0x81}, {9, 7, 0x81},
                          {10, 0, 0x00}, {11, 6, 0x89}};
    resetWith(CONTROLLER_B, [&](tarnellsim::Controller& c) {
        c.drives.clear();
        c.subDrives.clear();
        c.devices.clear();
        for (const Slot& s : slots) {
            tarnellsim::Device d;
            d.channel = 0;
            d.target = s.target;
            d.type = s.type;
            d.state = s.state;
            d.blocks = 1000;
            d.vendor = "ZEQ-XJP";
            d.pfa = s.target == 1;
            d.selfTest = s.target != 1;
            c.devices.push_back(d);
        }
    });
    BuildAdapter a(CONTROLLER_B, 2);
    ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(a.adapter));

    const struct {
        int dev;
        EnumPhysicalDeviceState state;
    } drives[] = {{0, DRIVE_READY}, {1, DRIVE_ONLINE},  {2, DRIVE_DEAD}, {3, DEVICE_STANDBY},
                  {4, DRIVE_SPARE}, {5, DRIVE_DEAD},    {8, DRIVE_READY}};
    for (const auto& d : drives) {
        ASSERT_NE(nullptr, hardDrive(a, 0, d.dev)) << d.dev;
        EXPECT_EQ(d.state, hardDrive(a, 0, d.dev)->getState()) << d.dev;
    }
    for (int none : {6, 7, 10, 11})
        EXPECT_EQ(nullptr, a.device(0, none)) << none;
    ASSERT_NE(nullptr, a.device(0, 9));
    EXPECT_TRUE(a.device(0, 9)->isInstanceOf("TarnellOtherDevice"));
    EXPECT_EQ(OPTICAL_DRIVE_DEVICE, a.device(0, 9)->getDeviceType());
    EXPECT_EQ(8u, devicesOn(a, 0));

    EXPECT_TRUE(hardDrive(a, 0, 1)->getPfaError());
    EXPECT_FALSE(hardDrive(a, 0, 1)->getSelfTestSupported());
    EXPECT_FALSE(hardDrive(a, 0, 0)->getPfaError());
    EXPECT_TRUE(hardDrive(a, 0, 0)->getSelfTestSupported());
}

// The WCE bit is read behind the block descriptors of the caching page; an
// offset outside the returned data or the 64-byte buffer (also a negative
// descriptor length) leaves the mode unknown, as does a failed read.
TEST_F(TarnellPhysicalBuildTest, WriteCacheModeComesFromTheCachingPage)
{
    struct Case {
        uint8_t descriptorBytes;
        bool wce;
        bool readFails;
        EnumHardDriveCacheMode mode;
    };
    const Case cases[] = {
        {8, true, false, HARD_DRIVE_CACHE_MODE_WRITE_BACK},     // WCE at byte 14
        {8, false, false, HARD_DRIVE_CACHE_MODE_WRITE_THROUGH},
        {0, true, false, HARD_DRIVE_CACHE_MODE_WRITE_BACK},     // WCE at byte 6
        {60, true, false, HARD_DRIVE_CACHE_MODE_UNKNOWN},       // byte 66: beyond the buffer
        {0x80, true, false, HARD_DRIVE_CACHE_MODE_UNKNOWN},     // a descriptor length of -128
        {8, true, true, HARD_DRIVE_CACHE_MODE_UNKNOWN},
    };
    for (const Case& c : cases) {
        resetWith(CONTROLLER_B, [&](tarnellsim::Controller& ctl) {
            for (tarnellsim::Device& d : ctl.devices) {
                if (d.channel == 0 && d.target == 7) {
                    d.modeBlockDescriptorBytes = c.descriptorBytes;
                    d.writeCache = c.wce;
                }
            }
        });
        if (c.readFails)
            tarnellsim::injectFailure("ReadModePageCmnd", tarnellsim::RC_INVALID_STATE, CONTROLLER_B, true);
        BuildAdapter a(CONTROLLER_B, 2);
        ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(a.adapter));
        HardDrive* d = hardDrive(a, 0, 7);
        ASSERT_NE(nullptr, d);
        EXPECT_EQ(c.mode, d->getWriteCacheEnable()) << int(c.descriptorBytes) << " " << c.readFails;
        EXPECT_EQ(c.mode != HARD_DRIVE_CACHE_MODE_UNKNOWN, d->getWriteCacheEnableSupported());
        tarnellsim::clearFailures();
    }
}

// Without the adapter data nothing is built; without the FRU table the
// drives are built with empty FRU numbers.
TEST_F(TarnellPhysicalBuildTest, UnreadableAdapterDataBuildsNothing)
{
    const struct {
        const char* entry;
        const char* message;
    } cases[] = {{"RaidAdapterInfo", "Retrieving adapter information failed"},
                 {"GetAdapterRaidConfig", "Retrieving adapter raid configuration failed"}};
    for (const auto& c : cases) {
        TarnellUtils::openLog();
        tarnellsim::injectFailure(c.entry, tarnellsim::RC_NO_ADAPTER);
        BuildAdapter a(CONTROLLER_A, 3);
        EXPECT_EQ(Ret(Ret::CONTROLLER_FAILED), TarnellAdapter::buildPhysicalDevices(a.adapter));
        EXPECT_TRUE(a.all("PhysicalDevice").empty());
        EXPECT_TRUE(contains(familyLog(), c.message)) << c.entry;
    }

    TarnellUtils::openLog();
    tarnellsim::injectFailure("GetDriveFruData", tarnellsim::RC_NO_ADAPTER);
    BuildAdapter a(CONTROLLER_A, 3);
    EXPECT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(a.adapter));
    ASSERT_NE(nullptr, hardDrive(a, 0, 0));
    EXPECT_STREQ("", hardDrive(a, 0, 0)->getFruNumber());
    EXPECT_TRUE(contains(familyLog(), "Retrieving HardDrive Fru Data failed"));
}

TEST_F(TarnellPhysicalBuildTest, NoAdapterOrNoControllerAccess)
{
    EXPECT_EQ(Ret(Ret::BAD_PARAM), TarnellAdapter::buildPhysicalDevices(nullptr));
    BuildAdapter a(CONTROLLER_A, 3);
    withoutControllerAccess();
    stdoutOf([&] { EXPECT_EQ(Ret(Ret::CONTROLLER_FAILED), TarnellAdapter::buildPhysicalDevices(a.adapter)); });
    EXPECT_TRUE(a.all("PhysicalDevice").empty());
    stdoutOf([&] { EXPECT_FALSE(a.adapter->calculateHasOsPartition(1, 4)); });
}

// An enclosure whose SAF-TE configuration cannot be read stays in the tree,
// not responding and without SAF-TE items; its status is not asked.
TEST_F(TarnellPhysicalBuildTest, EnclosureWithoutSafteDataIsNotResponding)
{
    tarnellsim::injectFailure("GetSafteConfig", tarnellsim::RC_INVALID_STATE);
    BuildAdapter a(CONTROLLER_A, 3);
    ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(a.adapter));
    PhysicalDevice* e = a.device(0, 15);
    ASSERT_NE(nullptr, e);
    ASSERT_TRUE(e->isInstanceOf("TarnellEnclosure"));
    EXPECT_FALSE(static_cast<TarnellEnclosure*>(e)->isResponding());
    EXPECT_EQ(nullptr, static_cast<TarnellEnclosure*>(e)->getSafteConfig());
    EXPECT_TRUE(a.all("SafteFan").empty());
    EXPECT_TRUE(callsOf("GetSafteStatus").empty());
}

// Only the 4 channels the configuration describes are scanned, whatever count
// the controller reports; a device whose channel has no object is skipped
// with a warning, the others are built.
TEST_F(TarnellPhysicalBuildTest, ChannelsAreBoundedAndMissingChannelsSkipped)
{
    resetWith(CONTROLLER_A, [](tarnellsim::Controller& c) { c.channelCount = 255; });
    {
        BuildAdapter a(CONTROLLER_A, 4);
        ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(a.adapter));
        EXPECT_EQ(21u, a.all("PhysicalDevice").size());
    }

    tarnellsim::reset();
    BuildAdapter a(CONTROLLER_A, 0);
    a.adapter->addChild(new TarnellSCSIChannel(a.adapter, 0, 7, SPEED_SCSI320));
    a.adapter->addChild(new TarnellSCSIChannel(a.adapter, 2, 7, SPEED_SCSI320));
    ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(a.adapter));
    EXPECT_EQ(8u, devicesOn(a, 0));
    EXPECT_EQ(7u, devicesOn(a, 2));
    EXPECT_EQ(15u, a.all("PhysicalDevice").size());
    const std::string log = familyLog();
    EXPECT_TRUE(contains(log, "Device 1:0 skipped"));
    EXPECT_TRUE(contains(log, "Device 1:6 skipped"));
    EXPECT_FALSE(contains(log, "Device 0:"));
}

} // namespace
