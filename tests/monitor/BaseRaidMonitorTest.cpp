// The monitor base: construction and its files, the library directory, the
// configuration file, the debug log, the event hand-out and the pairing and
// validity filters. Each test has its own library directory (MonitorDir).
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "ModelBuilder.h"
#include "MonitorFixture.h"
#include "TestRaidMonitor.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMProgress.h"

using namespace monitortest;
using testsupport::fileExists;
using testsupport::readFile;

namespace {

// The prefix of every debug line written at T0 (TZ=UTC).
const std::string AT_T0 = "[Tue Dec  8 22:11:35 2026]  ";

bool isDirectory(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

class BaseRaidMonitorTest : public ::testing::Test {
protected:
    MonitorDir dir;
};

TEST_F(BaseRaidMonitorTest, ConstructionPlacesTheFilesAndSetsTheMembers)
{
    enum Logs { NEW, EXISTING, FILE_IN_THE_WAY, GIVEN, GIVEN_MISSING };
    struct Case {
        const char* name;
        Logs logs;
        bool emptyNames;
        bool catalogue;
        // Relative to the test's directory; "" when none is written.
        const char* debugLog;
        const char* eventsLog;
        const char* snapshot;
        int32_t logDirStatus;
    };
    const Case cases[] = {
        {"krnalogs made", NEW, false, true, "lib/krnalogs/WATCHTESTDebug.log", "lib/krnalogs/WATCHTESTEvents.log",
         "lib/WATCHTESTConfig.xml", 0},
        {"krnalogs there", EXISTING, false, true, "lib/krnalogs/WATCHTESTDebug.log",
         "lib/krnalogs/WATCHTESTEvents.log", "lib/WATCHTESTConfig.xml", 0},
        {"krnalogs a file", FILE_IN_THE_WAY, false, true, "lib/WATCHTESTDebug.log", "lib/WATCHTESTEvents.log",
         "lib/WATCHTESTConfig.xml", -1},
        {"empty names", NEW, true, false, "lib/krnalogs/NRMDebug.log", "lib/krnalogs/NRMEvents.log",
         "lib/NRMConfig.xml", 0},
        {"log directory", GIVEN, false, false, "logs/WATCHTESTDebug.log", "logs/WATCHTESTEvents.log",
         "lib/WATCHTESTConfig.xml", -1},
        {"log directory, empty names", GIVEN, true, true, "logs/NRMDebug.log", "logs/NRMEvents.log",
         "lib/NRMConfig.xml", -1},
        {"missing log directory", GIVEN_MISSING, false, true, "", "", "lib/WATCHTESTConfig.xml", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(std::system("rm -rf lib logs && mkdir lib logs"), 0);
        if (c.logs == EXISTING)
            mkdir((dir.libDir + "krnalogs").c_str(), 0755);
        if (c.logs == FILE_IN_THE_WAY)
            writeFile(dir.libDir + "krnalogs", "");
        if (c.catalogue)
            dir.installCatalogue(testCatalogue());
        TestRaidMonitor::FileNames names;
        if (c.emptyNames)
            names = TestRaidMonitor::FileNames{"", "", ""};
        DebugMask mask(0);
        FixedClock::set(T0);
        {
            const std::string logDir = dir.cwd + (c.logs == GIVEN_MISSING ? "/nowhere/" : "/logs/");
            std::unique_ptr<TestRaidMonitor> made(c.logs >= GIVEN ? new TestRaidMonitor(nullptr, logDir, names)
                                                                  : new TestRaidMonitor(nullptr, names));
            TestRaidMonitor& m = *made;

            EXPECT_EQ(m.nrmPath, dir.libDir);
            EXPECT_EQ(m.nrmLogPath, c.logs >= GIVEN ? logDir : "");
            EXPECT_EQ(m.logDirStatus, c.logDirStatus);
            EXPECT_EQ(m.debugLog != nullptr, *c.debugLog != '\0');
            ASSERT_NE(m.configBuilder, nullptr);
            EXPECT_EQ(m.configBuilder->configFileName, dir.cwd + "/" + c.snapshot);
            ASSERT_NE(m.eventQueue, nullptr);
            EXPECT_EQ(m.getNumberOfEvents(), 0);
            ASSERT_NE(m.progress, nullptr);
            EXPECT_EQ(m.progress->getNumChildren(), 0u);
            EXPECT_EQ(m.storLib, nullptr);
            EXPECT_FALSE(m.running);
            EXPECT_TRUE(m.isStopped());
            EXPECT_EQ(m.pollSeconds, 5);
            // The family constructor paused a second after the base's start
            // time and used up the timers' first firing.
            EXPECT_EQ(m.startTime, T0);
            EXPECT_EQ(FixedClock::now(), T0 + 1);
            for (const ReportTimer* t : {&m.unsupportedDrivesTimer, &m.criticalLogicalDrivesTimer,
                                         &m.sasDriveMapTimer, &m.badStripeTimer})
                EXPECT_EQ(t->lastReport, 1);
            EXPECT_EQ(m.unsupportedDrivesTimer.interval, 2592000);
            EXPECT_EQ(m.criticalLogicalDrivesTimer.interval, 28800);
            EXPECT_EQ(m.sasDriveMapTimer.interval, 86400);
            EXPECT_EQ(m.badStripeTimer.interval, 28800);
            EXPECT_TRUE(m.firstRefresh);
            EXPECT_TRUE(m.vendorCheck);
            EXPECT_EQ(m.eventQueueSize, 0);
            EXPECT_FALSE(m.alarm);
            EXPECT_EQ(NRMDebugFlag.load(), NRM_DEBUG_ERRORS);
        }
        EXPECT_EQ(isDirectory(dir.libDir + "krnalogs"), c.logs == NEW || c.logs == EXISTING);
        if (*c.debugLog) {
            EXPECT_TRUE(fileExists(c.debugLog));
            EXPECT_TRUE(fileExists(c.eventsLog));
        }
        EXPECT_FALSE(fileExists("nowhere"));
        // The catalogue and the configuration file lie in the library
        // directory; missing, they were created empty.
        EXPECT_TRUE(fileExists("lib/RaidNLS.properties"));
        EXPECT_EQ(readFile("lib/RaidNLS.properties").empty(), !c.catalogue);
        EXPECT_EQ(readFile("lib/NRMConfig.conf"), "");
    }
}

TEST_F(BaseRaidMonitorTest, DebugLogTellsOfAMissingCatalogueAndConfigurationFile)
{
    const std::string catalogue = dir.libDir + "RaidNLS.properties";
    const std::string config = dir.libDir + "NRMConfig.conf";
    {
        TestRaidMonitor monitor(nullptr);
    }
    // The null-library line is written under the mask an earlier monitor
    // left: none at first, the error group for the second monitor.
    const std::string expected = AT_T0 + "ERROR: BaseRaidMonitor::BaseRaidMonitor() NLS File (" + catalogue +
                                 ") not found. Creating an empty file.\n" + AT_T0 +
                                 "ERROR: BaseRaidMonitor::readConfig() Config File (" + config +
                                 ") not found. Creating an empty file.\n";
    EXPECT_EQ(readFile(dir.logDir() + "WATCHTESTDebug.log"), expected);
    {
        TestRaidMonitor second(nullptr, dir.cwd + "/", TestRaidMonitor::FileNames{"second.log", "", ""});
        second.start();
        EXPECT_TRUE(second.running);
        EXPECT_TRUE(second.isStopped());
    }
    EXPECT_EQ(readFile("second.log"),
              "[Tue Dec  8 22:11:36 2026]  ERROR: BaseRaidMonitor::BaseRaidMonitor Error constructing. "
              "StorLibPlugin handle is NULL!!!\n");
}

TEST_F(BaseRaidMonitorTest, LibraryDirectoryIsTheFirstMonitorLibraryOfTheMaps)
{
    TestRaidMonitor monitor(nullptr);
    struct Case {
        const char* name;
        std::string maps;
        std::string nrmPath;
    };
    const Case cases[] = {
        {"monitor library", mapsLine("/usr/lib/libc.so.6") + mapsLine("/opt/raid/lib/libwatchpelm.so"),
         "/opt/raid/lib/"},
        {"first one decides", mapsLine("/a/libwatchqorl.so") + mapsLine("/b/libwatchpelm.so"), "/a/"},
        {"deleted file", mapsLine("/opt/raid/lib/libwatchtarnell.so (deleted)"), "/opt/raid/lib/"},
        {"no monitor library", mapsLine("/usr/lib/libc.so.6") + mapsLine("/usr/lib/libwatc.so"), "./"},
        {"no path on the line", "7f3a1c000000-7f3a1c021000 r-xp 00000000 08:01 131 libwatchpelm.so\n" +
                                    mapsLine("/b/libwatchpelm.so"),
         "./"},
        {"empty file", "", "./"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.writeMaps(c.maps);
        monitor.setNRMPath();
        EXPECT_EQ(monitor.nrmPath, c.nrmPath);
    }
    BaseRaidMonitor::setMapsFileForTest(dir.cwd + "/unreadable");
    monitor.setNRMPath();
    EXPECT_EQ(monitor.nrmPath, "./");

    // This process's own maps name the build's lib/ folder, where the
    // catalogue lies beside the monitor library.
    BaseRaidMonitor::setMapsFileForTest("");
    monitor.setNRMPath();
    BaseRaidMonitor::setMapsFileForTest(dir.mapsFile);
    char* real = realpath(MONITOR_CATALOGUE, nullptr);
    ASSERT_NE(real, nullptr);
    const std::string catalogue = real;
    free(real);
    EXPECT_EQ(monitor.nrmPath, catalogue.substr(0, catalogue.rfind('/') + 1));
}

// What readConfig left, and the mask after setDebugFlag(debugMask), as the
// loop applies it.
struct Values {
    int32_t eventQueueSize, debugMask, osLoggingLevel;
    bool alarm;
    int32_t flag;
};

Values readAndApply(BaseRaidMonitor& m)
{
    m.readConfig();
    m.setDebugFlag(static_cast<EnumDebugNRM>(m.debugMask));
    return {m.eventQueueSize, m.debugMask, m.osLoggingLevel, m.alarm, NRMDebugFlag.load()};
}

void expectValues(const Values& got, const Values& want)
{
    EXPECT_EQ(got.eventQueueSize, want.eventQueueSize);
    EXPECT_EQ(got.debugMask, want.debugMask);
    EXPECT_EQ(got.osLoggingLevel, want.osLoggingLevel);
    EXPECT_EQ(got.alarm, want.alarm);
    EXPECT_EQ(got.flag, want.flag);
}

TEST_F(BaseRaidMonitorTest, ConfigurationFileReadingsReplaceEveryValue)
{
    dir.writeConfig("# monitor settings\nnrm.eventQueueSize = 500\nnrm.debugMask = 2\n"
                    "agent.OSLoggingLevel = 3\nagent.alarm = On\n");
    TestRaidMonitor monitor(nullptr);
    expectValues({monitor.eventQueueSize, monitor.debugMask, monitor.osLoggingLevel, monitor.alarm,
                  NRMDebugFlag.load()},
                 {500, 2, 3, true, 0xFFFFFF});

    struct Case {
        const char* text;
        Values values;
    };
    const Case cases[] = {
        // Level 3 leaves the mask; a missing key reads 0 or false.
        {"nrm.debugMask = 3\n", {0, 3, 0, false, 0xFFFFFF}},
        {"nrm.debugMask=1\nagent.alarm = on\n", {0, 1, 0, true, 0xFF0000}},
        {"agent.alarm\t= ON \n", {0, 0, 0, true, NRM_DEBUG_ERRORS}},
        {"agent.alarm = oN\nnrm.debugMask = 2\n", {0, 2, 0, false, 0xFFFFFF}},
        {"agent.alarm = yes\n", {0, 0, 0, false, NRM_DEBUG_ERRORS}},
        {"agent.alarm =\n", {0, 0, 0, false, NRM_DEBUG_ERRORS}},
        // Numbers as a 32-bit strtol reads them.
        {"nrm.eventQueueSize = 150 events\nagent.OSLoggingLevel = -4\n", {150, 0, -4, false, NRM_DEBUG_ERRORS}},
        {"nrm.eventQueueSize = 99999999999\nnrm.debugMask = x2\n", {INT32_MAX, 0, 0, false, NRM_DEBUG_ERRORS}},
        {"# nrm.debugMask = 2\nnrm.debugMaskX = 2\n", {0, 0, 0, false, NRM_DEBUG_ERRORS}},
        {"nrm.debugMask = -1\n", {0, -1, 0, false, NRM_DEBUG_ERRORS}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        dir.writeConfig(c.text);
        expectValues(readAndApply(monitor), c.values);
    }
}

TEST_F(BaseRaidMonitorTest, DeletedConfigurationFileKeepsTheValuesUntilTheNextReading)
{
    dir.writeConfig("nrm.debugMask = 2\nagent.alarm = ON\nagent.OSLoggingLevel = 7\n");
    TestRaidMonitor monitor(nullptr);
    const std::string config = dir.libDir + "NRMConfig.conf";
    ASSERT_EQ(remove(config.c_str()), 0);
    const std::string before = readFile(dir.logDir() + "WATCHTESTDebug.log");

    expectValues(readAndApply(monitor), {0, 2, 7, true, 0xFFFFFF});
    EXPECT_EQ(readFile(dir.logDir() + "WATCHTESTDebug.log"),
              before + "[Tue Dec  8 22:11:36 2026]  ERROR: BaseRaidMonitor::readConfig() Config File (" + config +
                  ") not found. Creating an empty file.\n");
    EXPECT_TRUE(fileExists(config));
    expectValues(readAndApply(monitor), {0, 0, 0, false, NRM_DEBUG_ERRORS});
}

// The capacity of a monitor's queue: it holds capacity events, and the one
// after them makes room by a tenth of the capacity less one, plus the
// marker in place of the oldest.
void expectCapacity(BaseRaidMonitor& m, int capacity)
{
    m.getEvents(0);
    NRMEvent event(301, NRM_EVENT_ERROR, "text", "EVENT");
    for (int i = 0; i < capacity; ++i)
        m.eventQueue->addEvent(event);
    EXPECT_EQ(m.getNumberOfEvents(), capacity);
    m.eventQueue->addEvent(event);
    EXPECT_EQ(m.getNumberOfEvents(), capacity - (capacity / 10 - 1) + 1);
}

TEST_F(BaseRaidMonitorTest, QueueCapacityComesFromTheFileAndOnlyGrowsAbove200)
{
    struct Case {
        const char* atConstruction;
        int capacity;
        const char* later;
        int capacityLater;
    };
    const Case cases[] = {
        {"nrm.eventQueueSize = 500\n", 500, "nrm.eventQueueSize = 150\n", 500},
        {"", 200, "nrm.eventQueueSize = 300\n", 300},
        {"nrm.eventQueueSize = 150\n", 200, "nrm.eventQueueSize = 200\n", 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.atConstruction);
        dir.writeConfig(c.atConstruction);
        TestRaidMonitor monitor(nullptr);
        expectCapacity(monitor, c.capacity);
        dir.writeConfig(c.later);
        monitor.readConfig();
        monitor.eventQueue->setMaxSize(monitor.eventQueueSize);
        expectCapacity(monitor, c.capacityLater);
    }
}

TEST_F(BaseRaidMonitorTest, DebugLinesCarryTheTimeAndAreCutAt1023Characters)
{
    TestRaidMonitor monitor(nullptr, dir.cwd + "/", TestRaidMonitor::FileNames{"debug.log", "", ""});
    FixedClock::set(T0 + 86400 * 40 + 3661);
    monitor.logDebugMsg("       Discarding %s (LD: %d)\n", "drive", 7);
    const std::string longText(2000, 'x');
    monitor.logDebugMsg("%s\n", longText.c_str());
    // A group that is off writes nothing.
    monitor.logDebugGroup(NRM_DEBUG_TRACE, "trace\n");
    const std::string prefix = "[Sun Jan 17 23:12:36 2027]  ";
    const std::string log = readFile("debug.log");
    EXPECT_EQ(log.substr(log.find(prefix)),
              prefix + "       Discarding drive (LD: 7)\n" + prefix + longText.substr(0, 1023 - prefix.size()));
}

TEST_F(BaseRaidMonitorTest, EventsAreHandedOutOldestFirst)
{
    TestRaidMonitor monitor(nullptr);
    struct Case {
        int queued;
        bool array;
        int max;
        int moved;
    };
    const Case cases[] = {
        {3, true, 5, 3}, {8, true, 5, 5}, {8, false, 5, 0}, {8, true, 0, 0}, {8, true, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.queued) + " " + std::to_string(c.max));
        monitor.getEvents(0);
        for (int i = 0; i < c.queued; ++i) {
            NRMEvent event(300 + i, NRM_EVENT_WARNING, "text " + std::to_string(i), "EVENT");
            event.objectType = NRM_OBJECT_LOGICAL_DRIVE;
            event.address.setLogicalDriveID(i);
            event.deviceSerial = "D" + std::to_string(i);
            monitor.eventQueue->addEvent(event);
        }
        std::vector<NRMEvent> out(6);
        out[5].eventId = -7;
        EXPECT_EQ(monitor.getEvents(c.array ? out.data() : nullptr, c.max), c.moved);
        for (int i = 0; i < c.moved; ++i) {
            EXPECT_EQ(out[i].eventId, 300 + i);
            EXPECT_EQ(out[i].severity, NRM_EVENT_WARNING);
            EXPECT_EQ(out[i].text, "text " + std::to_string(i));
            EXPECT_EQ(out[i].objectType, NRM_OBJECT_LOGICAL_DRIVE);
            EXPECT_EQ(out[i].address.getLogicalDriveID(), static_cast<uint32_t>(i));
            EXPECT_EQ(out[i].deviceSerial, "D" + std::to_string(i));
        }
        EXPECT_EQ(out[5].eventId, -7);
        EXPECT_EQ(monitor.getNumberOfEvents(), c.queued - c.moved);
    }
    EXPECT_EQ(monitor.getEvents(2).size(), 2u);
    EXPECT_EQ(monitor.getEvents(0).size(), 6u);

    EXPECT_TRUE(monitor.setEventTypeLevel(NRM_EVENT_INFORMATION));
    EXPECT_EQ(monitor.getEventTypeLevel(), NRM_EVENT_INFORMATION);
    EXPECT_FALSE(monitor.setEventTypeLevel(static_cast<EnumEventType>(8)));
}

TEST_F(BaseRaidMonitorTest, MonitorWithoutQueueHandsOutNothing)
{
    TestRaidMonitor monitor(nullptr, dir.cwd + "/", TestRaidMonitor::FileNames{"debug.log", "", ""});
    delete monitor.eventQueue;
    monitor.eventQueue = nullptr;
    NRMEvent out[2];
    EXPECT_EQ(monitor.getNumberOfEvents(), 0);
    EXPECT_EQ(monitor.getEvents(out, 2), 0);
    EXPECT_TRUE(monitor.getEvents(0).empty());
    EXPECT_FALSE(monitor.setEventTypeLevel(NRM_EVENT_ERROR));
    EXPECT_EQ(monitor.getEventTypeLevel(), NRM_EVENT_TASK);
    const std::string log = readFile("debug.log");
    EXPECT_NE(log.find("ERROR: BaseRaidMonitor::setEventTypeLevel() EventCollection is NULL!!\n"), std::string::npos);
    EXPECT_NE(log.find("ERROR: BaseRaidMonitor::getEventTypeLevel() EventCollection is NULL!!\n"), std::string::npos);
}

TEST_F(BaseRaidMonitorTest, FiltersAndPairingFollowTheIds)
{
    TestRaidMonitor monitor(nullptr, dir.cwd + "/", TestRaidMonitor::FileNames{"debug.log", "", ""});
    monitor.setDebugFlag(NRM_DEBUG_LEVEL_ALL);
    TestAdapter adapter(1);
    adapter.setLimit(MAX_LOGICAL_DRIVES, 8);
    Channel* channel = adapter.channel(2, SCSI);

    struct LogicalCase {
        unsigned long id;
        bool valid;
    };
    for (const LogicalCase& c : {LogicalCase{0, true}, LogicalCase{8, true}, LogicalCase{9, false}}) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(monitor.isValidLogicalDrive(&adapter, adapter.logical(c.id)), c.valid);
    }
    struct DriveCase {
        unsigned long id;
        bool valid;
    };
    for (const DriveCase& c : {DriveCase{0xFE, true}, DriveCase{0xFF, false}, DriveCase{0x100FF, false},
                               DriveCase{0x1FF, true}}) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(monitor.isValidPhysicalDrive(&adapter, adapter.drive(channel, c.id)), c.valid);
    }
    EXPECT_FALSE(monitor.isValidLogicalDrive(nullptr, adapter.logical(1)));
    EXPECT_FALSE(monitor.isValidPhysicalDrive(&adapter, nullptr));

    // Pairing: the same ids in another adapter; a drive without a channel
    // finds only a device whose channel id is unset.
    TestAdapter other(1);
    Channel* otherChannel = other.channel(2, SCSI);
    TestDrive* onChannel = other.drive(otherChannel, 5);
    TestDrive* noChannel = other.drive(nullptr, 5);
    TestLogicalDrive* logical = other.logical(9);
    EXPECT_EQ(monitor.findPD(onChannel, &adapter), nullptr);
    TestDrive* paired = adapter.drive(channel, 5);
    EXPECT_EQ(monitor.findPD(onChannel, &adapter), paired);
    EXPECT_EQ(monitor.findPD(noChannel, &adapter), nullptr);
    TestDrive* pairedNoChannel = adapter.drive(nullptr, 5);
    EXPECT_EQ(monitor.findPD(noChannel, &adapter), pairedNoChannel);
    EXPECT_EQ(monitor.findLD(logical, &adapter), adapter.getObject(1, STORID_UNDEFINED, 9, STORID_UNDEFINED,
                                                                   STORID_UNDEFINED));
    EXPECT_NE(monitor.findLD(logical, &adapter), nullptr);
    EXPECT_EQ(monitor.findLD(other.logical(12), &adapter), nullptr);
    EXPECT_EQ(monitor.findLD(nullptr, &adapter), nullptr);
    EXPECT_EQ(monitor.findPD(onChannel, nullptr), nullptr);

    const std::string log = readFile("debug.log");
    for (const char* line : {"       Discarding logical drive as spurious (&ecIN, LD: 9) State = 2.\n",
                             "       Discarding physical drive as spurious (&ecIN, PD: 255) State = 1.\n",
                             "       Discarding physical drive as spurious (&ecIN, PD: 65791) State = 1.\n",
                             "ERROR: BaseRaidMonitor::isValidLogicalDrive object is NULL!!!\n",
                             "ERROR: BaseRaidMonitor::isValidPhysicalDrive object is NULL!!!\n",
                             "ERROR: BaseRaidMonitor::findLD logicalDrive is NULL!!!\n",
                             "ERROR: BaseRaidMonitor::findPD adapter is NULL!!!\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    // The base hooks.
    EXPECT_EQ(monitor.compareRelativeChanges(&adapter, &other), 0);
    EXPECT_EQ(monitor.getLogicalName(logical), "");
}

} // namespace
