// The reminder timers and the readings of the monitor base, on objects
// built in code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModelBuilder.h"
#include "MonitorFixture.h"
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "TestRaidMonitor.h"
#include "monitor/NRMEnclosure.h"

using namespace monitortest;

namespace {

class MonitorReadings : public ::testing::Test {
protected:
    MonitorDir dir;
    TestRaidMonitor monitor{nullptr};
};

TEST_F(MonitorReadings, TimersFireOncePerInterval)
{
    // The constructor used up the first firing a second after the start.
    FixedClock::set(T0 + 2);
    EXPECT_FALSE(monitor.isTimeToReportUnsupportedDrives());
    EXPECT_FALSE(monitor.isTimeToReportCriticalLogicalDrives());
    EXPECT_FALSE(monitor.isTimeToReportSASDriveMap());
    EXPECT_FALSE(monitor.isTimeToReportBadStripe());

    struct Step {
        time_t after; // seconds from the start time
        bool fires;
    };
    struct Case {
        const char* name;
        bool (BaseRaidMonitor::*consult)();
        ReportTimer BaseRaidMonitor::*timer;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"critical", &BaseRaidMonitor::isTimeToReportCriticalLogicalDrives,
         &BaseRaidMonitor::criticalLogicalDrivesTimer, {{5, true}, {100, false}, {28805, true}, {28806, false}}},
        // A firing at elapsed 0 stores 0: the timer counts as unfired.
        {"bad stripe at 0", &BaseRaidMonitor::isTimeToReportBadStripe, &BaseRaidMonitor::badStripeTimer,
         {{0, true}, {1, true}, {2, false}, {28800, false}, {28801, true}}},
        {"SAS map", &BaseRaidMonitor::isTimeToReportSASDriveMap, &BaseRaidMonitor::sasDriveMapTimer,
         {{86399, true}, {86400, false}, {172798, false}, {172799, true}}},
        {"unsupported", &BaseRaidMonitor::isTimeToReportUnsupportedDrives, &BaseRaidMonitor::unsupportedDrivesTimer,
         {{3, true}, {2592002, false}, {2592003, true}}},
    };
    const time_t start = T0 + 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        monitor.startTime = start;
        (monitor.*c.timer).lastReport = 0;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(s.after);
            FixedClock::set(start + s.after);
            EXPECT_EQ((monitor.*c.consult)(), s.fires);
        }
    }
}

TEST_F(MonitorReadings, RestartKeepsTheLastFiring)
{
    // Last firing 1 s after the start (the constructor's); a stop and a start
    // later the timer waits for both the interval and the last firing plus
    // the interval, measured from the new start.
    FixedClock::set(T0 + 100);
    monitor.stop();
    EXPECT_EQ(monitor.startTime, 0);
    monitor.criticalLogicalDrivesTimer.lastReport = 20000;
    FixedClock::set(T0 + 5000);
    monitor.start(); // no library: the loop returns at once
    EXPECT_EQ(monitor.startTime, T0 + 5000);
    FixedClock::set(T0 + 5000 + 28800);
    EXPECT_FALSE(monitor.isTimeToReportCriticalLogicalDrives());
    FixedClock::set(T0 + 5000 + 48799);
    EXPECT_FALSE(monitor.isTimeToReportCriticalLogicalDrives());
    FixedClock::set(T0 + 5000 + 48800);
    EXPECT_TRUE(monitor.isTimeToReportCriticalLogicalDrives());
    EXPECT_EQ(monitor.criticalLogicalDrivesTimer.lastReport, 48800);
}

TEST_F(MonitorReadings, AdapterReadings)
{
    TestAdapter adapter(0);
    for (int status = 0; status <= 11; ++status) {
        adapter.setBattery(static_cast<EnumBatteryStatus>(status));
        EXPECT_EQ(BaseRaidMonitor::isBatteryCacheInstalled(&adapter), status == 2 || (status >= 5 && status <= 9))
            << status;
    }
    EXPECT_FALSE(BaseRaidMonitor::isBatteryCacheInstalled(nullptr));

    struct Battery {
        int current, previous;
        bool normal;
    };
    for (const Battery& b : {Battery{5, 7, false}, Battery{7, 6, true}, Battery{5, 5, false}, Battery{5, 1, true},
                             Battery{8, 6, false}, Battery{7, 10, true}}) {
        EXPECT_EQ(BaseRaidMonitor::batteryStatusChangedToNormal(static_cast<EnumBatteryStatus>(b.current),
                                                                static_cast<EnumBatteryStatus>(b.previous)),
                  b.normal)
            << b.current << " from " << b.previous;
    }

    struct Heat {
        bool sensor;
        int temperature, threshold;
        bool over;
    };
    for (const Heat& h : {Heat{false, 90, 80, false}, Heat{true, 80, 80, true}, Heat{true, 79, 80, false},
                          Heat{true, -5, -10, true}, Heat{true, -10, -5, false}}) {
        adapter.setHeat(h.sensor, h.temperature, h.threshold);
        EXPECT_EQ(BaseRaidMonitor::isAdapterOverTemparature(&adapter), h.over) << h.temperature;
    }
    EXPECT_FALSE(BaseRaidMonitor::isAdapterOverTemparature(nullptr));

    EXPECT_FALSE(BaseRaidMonitor::checkBadStripes(&adapter));
    adapter.logical(0);
    TestLogicalDrive* second = adapter.logical(1);
    second->setBadStripes(-1);
    EXPECT_FALSE(BaseRaidMonitor::checkBadStripes(&adapter));
    // A drive nested below another one counts too.
    auto* nested = new TestLogicalDrive(&adapter, 2, RAID5, 0);
    nested->setBadStripes(3);
    second->addChild(nested);
    EXPECT_TRUE(BaseRaidMonitor::checkBadStripes(&adapter));
    EXPECT_FALSE(BaseRaidMonitor::checkBadStripes(nullptr));
}

TEST_F(MonitorReadings, SafteReadingsOfLiveAndStoredEnclosures)
{
    TestAdapter adapter(0);
    Channel* channel = adapter.channel(0, SCSI);
    // 33 fans (more than a status holds), 4 power supplies.
    TestEnclosure* live = adapter.enclosure(channel, 14);
    SafteStatus& status = live->setSafte(33, 4, 6);
    const unsigned char fans[] = {0x00, 0x01, 0x02, 0x80};
    const unsigned char supplies[] = {0x11, 0x10, 0x20, 0x21};
    for (int i = 0; i < 4; ++i) {
        status.ucFanStatus[i] = fans[i];
        status.ucPowerSupplyStatus[i] = supplies[i];
    }
    status.ucSlotScsiId[3] = 6;
    TestEnclosure* invalid = adapter.enclosure(channel, 15);
    invalid->setSafte(3, 3, 6, false);
    auto* stored = new NRMEnclosure(&adapter, channel);
    stored->build(live);
    channel->addChild(stored);
    auto* storedInvalid = new NRMEnclosure(&adapter, channel);
    storedInvalid->build(invalid);
    channel->addChild(storedInvalid);

    // index: fan status, power-supply status
    const int indexes[] = {0, 1, 2, 3, 4, 31, 32, -1};
    const int fanStatus[] = {1, 2, 3, 1, 1, 1, 3, 3};
    const int supplyStatus[] = {1, 2, 3, 1, 3, 3, 3, 3};
    for (Enclosure* e : {static_cast<Enclosure*>(live), static_cast<Enclosure*>(stored)}) {
        SCOPED_TRACE(e->typeName());
        EXPECT_TRUE(BaseRaidMonitor::isSafteDataValid(e));
        EXPECT_EQ(BaseRaidMonitor::getFanCount(e), 33);
        EXPECT_EQ(BaseRaidMonitor::getPowerSupplyCount(e), 4);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(BaseRaidMonitor::getFanStatus(e, indexes[i]), fanStatus[i]) << indexes[i];
            EXPECT_EQ(BaseRaidMonitor::getPowerSupplyStatus(e, indexes[i]), supplyStatus[i]) << indexes[i];
        }
        EXPECT_EQ(BaseRaidMonitor::getSlotNumberFromDeviceID(e, 6), 3u);
        EXPECT_EQ(BaseRaidMonitor::getSlotNumberFromDeviceID(e, 7), STORID_UNDEFINED);
    }
    for (Enclosure* e : std::vector<Enclosure*>{invalid, storedInvalid, nullptr}) {
        EXPECT_FALSE(BaseRaidMonitor::isSafteDataValid(e));
        EXPECT_EQ(BaseRaidMonitor::getFanCount(e), 0);
        EXPECT_EQ(BaseRaidMonitor::getPowerSupplyCount(e), 0);
        EXPECT_EQ(BaseRaidMonitor::getFanStatus(e, 0), ENCLOSURE_ELEMENT_ABSENT);
        EXPECT_EQ(BaseRaidMonitor::getPowerSupplyStatus(e, 0), ENCLOSURE_ELEMENT_ABSENT);
        EXPECT_EQ(BaseRaidMonitor::getSlotNumberFromDeviceID(e, 6), STORID_UNDEFINED);
    }

    // SES codes 0 to 7.
    const int ses[] = {1, 1, 2, 1, 2, 3, 1, 1};
    for (int code = 0; code <= 7; ++code) {
        EXPECT_EQ(BaseRaidMonitor::getFanStatus(static_cast<EnumSESStatusCodes>(code)), ses[code]) << code;
        EXPECT_EQ(BaseRaidMonitor::getPowerSupplyStatus(static_cast<EnumSESStatusCodes>(code)), ses[code]) << code;
    }
}

TEST_F(MonitorReadings, VendorsAndTrimming)
{
    TestAdapter adapter(0);
    TestDrive* drive = adapter.drive(adapter.channel(0, SCSI), 1);
    struct Vendor {
        const char* text;
        bool supported;
    };
    for (const Vendor& v : {Vendor{"ZEQ-XJP ", true}, Vendor{"ZEQ-VRKD", true}, Vendor{"ZEQ-TWQM", true},
                            Vendor{" \tZEQ-XJP\t", true}, Vendor{"zeq-xjp", false}, Vendor{"        ", false},
                            Vendor{"", false}, Vendor{"ZEQ-XJPX", false}}) {
        drive->setVendor(v.text);
        EXPECT_EQ(BaseRaidMonitor::isVendorSupported(drive), v.supported) << '"' << v.text << '"';
    }
    EXPECT_FALSE(BaseRaidMonitor::isVendorSupported(adapter.getChannel(0)));
    EXPECT_FALSE(BaseRaidMonitor::isVendorSupported(nullptr));

    struct Trim {
        const char* text;
        const char* result;
        const char* callerAfter;
    };
    for (const Trim& t : {Trim{" \t ABC", "ABC", " \t ABC"}, Trim{"  AB  \t ", "AB  ", "  AB  \t"},
                          Trim{"\t \t", "", "\t \t"}, Trim{"A B", "A B", "A B"}, Trim{"   ", "", ""}}) {
        std::string text = t.text;
        EXPECT_EQ(BaseRaidMonitor::trim(text), t.result) << '"' << t.text << '"';
        EXPECT_EQ(text, t.callerAfter);
    }
}

TEST_F(MonitorReadings, RaidFamilyAndSesElementLookup)
{
    const uint32_t families[] = {0xF,        0xF0,       0xF0,       0xF,        0xF,        0xF00, 0xF00,
                                 0xF00,      0xF000000F, 0xF00000F0, 0xF00000F0, 0xF0000F00, 0xF0000F00,
                                 0xF,        0xF,        0xF,        0xF000,     0xF000F000, 0,     0};
    TestAdapter adapter(0);
    for (int level = 0; level <= 19; ++level) {
        TestLogicalDrive drive(&adapter, 0, static_cast<EnumRaidLevel>(level), 0);
        EXPECT_EQ(BaseRaidMonitor::getRaidFamily(&drive), families[level]) << level;
    }
    TestLogicalDrive unknown(&adapter, 0, RAID_UNKNOWN, 0);
    EXPECT_EQ(BaseRaidMonitor::getRaidFamily(&unknown), 0u);
    EXPECT_EQ(BaseRaidMonitor::getRaidFamily(nullptr), 0u);

    SESElement fan1(0x01, "Fan 1", 3), fan2(0x01, "Fan 2", 3), supply(0x01, "Fan 2", 2), wanted(0x05, "Fan 2", 3);
    Channel notAnElement;
    std::vector<RaidObject*> list = {nullptr, &notAnElement, &fan1, &supply, &fan2};
    EXPECT_EQ(BaseRaidMonitor::getSESElement(list, &wanted), &fan2);
    SESElement missing(0x01, "Fan 3", 3);
    EXPECT_EQ(BaseRaidMonitor::getSESElement(list, &missing), nullptr);
    EXPECT_EQ(BaseRaidMonitor::getSESElement(list, nullptr), nullptr);
}

class MonitorTasks : public tarnelltest::SimTest {
protected:
    MonitorDir dir;
};

TEST_F(MonitorTasks, TasksAreAskedOfTheLibrary)
{
    TarnellLib lib;
    ASSERT_EQ(lib.getSystemConfig().getReturn(), 0);
    Adapter* adapter = lib.getAdapter(0);
    ASSERT_NE(adapter, nullptr);
    LogicalDrive* logical = adapter->getLogicalDrive(0);
    ASSERT_NE(logical, nullptr);
    HardDrive* drive = adapter->getHardDrive(0);
    ASSERT_NE(drive, nullptr);

    TestRaidMonitor withLibrary(&lib);
    TestRaidMonitor withoutLibrary(nullptr);
    EXPECT_TRUE(withLibrary.isTaskRunning(logical));
    EXPECT_FALSE(withoutLibrary.isTaskRunning(logical));
    EXPECT_FALSE(withLibrary.isTaskRunning(static_cast<LogicalDrive*>(nullptr)));
    TestLogicalDrive elsewhere(adapter, 77, RAID5, 0);
    EXPECT_FALSE(withLibrary.isTaskRunning(&elsewhere));

    // A device is asked about only while it is ready.
    drive->setStateProperty(DRIVE_ONLINE);
    tarnellsim::clearCalls();
    EXPECT_FALSE(withLibrary.isTaskRunning(drive));
    EXPECT_FALSE(withLibrary.isTaskRunning(static_cast<PhysicalDevice*>(nullptr)));
    EXPECT_TRUE(tarnellsim::calls().empty());
}

} // namespace
