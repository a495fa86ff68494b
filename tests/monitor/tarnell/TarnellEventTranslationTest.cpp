// The translation of the family event text and the event code table.
#include <gmock/gmock.h>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/PhysicalDevice.h"
#include "TarnellMonitorFixture.h"

using namespace tarnelltest;
using ::testing::HasSubstr;

namespace {

class TarnellTranslationTest : public TarnellMonitorTest {
protected:
    void SetUp() override
    {
        makeMonitor();
        lib->getNewSystem();
        ASSERT_EQ(currentAdapters().size(), 2u);
        adapter = currentAdapters()[0];
        id = std::to_string(adapter->getAdapterID());
    }
    std::vector<NRMEvent> translate(const std::string& text)
    {
        std::string copy = text;
        monitor->GetEventFromXml(&copy[0], adapter);
        return takeEvents();
    }
    std::string of(const std::string& attributes) { return raidEvent("adapterID=\"" + id + "\" " + attributes); }
    // The device of the class on the channel (and device id) in adapter.
    PhysicalDevice* device(const char* className, STORID_T channel, STORID_T deviceID)
    {
        FilterCollection devices(adapter);
        devices.apply(className, false);
        for (unsigned long k = 0; k < devices.size(); ++k) {
            auto* d = static_cast<PhysicalDevice*>(devices.elementAt(static_cast<int>(k)));
            const RaidObject* parent = d->getChannel() ? static_cast<const RaidObject*>(d->getChannel()) : d->getParent();
            if (parent && parent->getChannelID() == channel && (deviceID == STORID_UNDEFINED || d->getDeviceID() == deviceID))
                return d;
        }
        return nullptr;
    }

    Adapter* adapter = nullptr;
    std::string id;
};

} // namespace

TEST_F(TarnellTranslationTest, EventsByCategory)
{
    struct Row {
        const char* name;
        std::string attributes;
        int id, severity, objectType;
        std::string textPart;
    };
    const std::string controller = "eventArgController2[";
    const Row rows[] = {
        {"logical drive", "eventType=\"2\" eventCode=\"301\" logicalDriveID=\"3\"", 301, 2, NRM_OBJECT_LOGICAL_DRIVE,
         "agentEventWrnLogicalCritical[eventArgControllerLogicalDrive[" + controller},
        {"added drive", "eventType=\"1\" eventCode=\"346\" logicalDriveID=\"0\"", 346, 3, NRM_OBJECT_LOGICAL_DRIVE,
         "|19.531 GB|5"},
        {"unknown code", "eventType=\"2\" eventCode=\"250\"", 250, 2, NRM_OBJECT_SYSTEM, "UNKNOWN Tarnell Error"},
        {"progress type", "eventType=\"8\" eventCode=\"303\"", 303, 4, NRM_OBJECT_LOGICAL_DRIVE, "agentEventErrLogicalOffline"},
        {"fatal type", "eventType=\"4\" eventCode=\"502\" channelID=\"0\"", 502, 1, NRM_OBJECT_ENCLOSURE,
         "eventArgEnclosureController["},
        {"other type", "eventType=\"3\" eventCode=\"205\"", 205, 3, NRM_OBJECT_ADAPTER, "agentEventErrPolling[eventArgController["},
        {"array", "eventType=\"1\" eventCode=\"398\" arrayID=\"1\"", 398, 3, NRM_OBJECT_ARRAY, "eventArgControllerArray["},
        {"fan", "eventType=\"4\" eventCode=\"504\" channelID=\"0\" fanID=\"0\"", 504, 1, NRM_OBJECT_FAN, "|1|1|"},
        {"unset channel", "eventType=\"4\" eventCode=\"504\" channelID=\"4294967295\" fanID=\"0\"", 504, 1,
         NRM_OBJECT_FAN, "|2147483647|1|"},
        {"power supply", "eventType=\"4\" eventCode=\"510\" channelID=\"0\" powerSupplyID=\"2\"", 510, 1,
         NRM_OBJECT_POWER_SUPPLY, "|1|3|"},
        {"temperature", "eventType=\"4\" eventCode=\"508\"", 508, 1, NRM_OBJECT_ADAPTER, "agentEventErrTempFail[agentEventErrTempFail["},
        {"temperature normal", "eventType=\"1\" eventCode=\"507\"", 507, 3, NRM_OBJECT_ADAPTER,
         "agentEventInfTempNormal[eventArgController["},
        {"expiration", "eventType=\"2\" eventCode=\"219\"", 219, 2, NRM_OBJECT_ADAPTER, "[eventArgController["},
        {"battery with FRU", "eventType=\"4\" eventCode=\"203\" FRU=\"B7\"", 203, 1, NRM_OBJECT_ADAPTER,
         "agentEventErrBBCNewBatteryFRU[eventArgController["},
        {"spare", "eventType=\"1\" eventCode=\"497\" channelID=\"0\" deviceID=\"5\"", 497, 3, NRM_OBJECT_PHYSICAL_DRIVE,
         "eventArgControllerScsiDevice["},
    };
    for (const Row& row : rows) {
        const std::vector<NRMEvent> events = translate(of(row.attributes));
        ASSERT_EQ(events.size(), 1u) << row.name;
        EXPECT_EQ(events[0].eventId, row.id) << row.name;
        EXPECT_EQ(events[0].severity, row.severity) << row.name;
        EXPECT_EQ(events[0].objectType, row.objectType) << row.name;
        EXPECT_THAT(events[0].text, HasSubstr(row.textPart)) << row.name;
    }
}

TEST_F(TarnellTranslationTest, DroppedEvents)
{
    const std::string dropped[] = {
        of("eventType=\"10\" eventCode=\"0\""),
        raidEvent("eventType=\"1\" eventCode=\"301\" adapterID=\"4294967295\""),
        "",
        "<Other eventCode=\"301\" adapterID=\"" + id + "\" />",
    };
    for (const std::string& text : dropped)
        EXPECT_TRUE(translate(text).empty()) << text;
}

TEST_F(TarnellTranslationTest, EventOfAVanishedControllerBecomesControllerFailed)
{
    TarnellSystem* before = lib->getCurrentSystem();
    tarnellsim::Scenario onlyFirst = tarnellsim::defaultScenario();
    onlyFirst.controllers.pop_back();
    tarnellsim::reset(onlyFirst);
    TarnellSystem* after = lib->getNewSystem();
    lib->setSnapshots(after, before);
    Adapter* gone = before->getAdapter(1);
    // Whatever the code, refresh and unknown ones included.
    for (const char* code : {"0", "301", "250"}) {
        const std::vector<NRMEvent> events =
            translate(raidEvent("eventType=\"1\" eventCode=\"" + std::string(code) + "\" adapterID=\"" +
                                std::to_string(gone->getAdapterID()) + "\""));
        ASSERT_EQ(events.size(), 1u) << code;
        EXPECT_EQ(events[0].eventId, 202);
        EXPECT_EQ(events[0].severity, 1);
        EXPECT_EQ(events[0].objectType, NRM_OBJECT_SYSTEM);
        EXPECT_EQ(events[0].eventName, "EVENT_TARNELL_STATE_FAILED");
        // Named after the vanished controller, not the polled one.
        if (std::string(code) == "301") {
            EXPECT_THAT(events[0].text, HasSubstr(monitor->getDetailedAdapterID(gone)));
        }
        EXPECT_EQ(events[0].adapterSerial, gone->getSerialNumString());
    }
}

TEST_F(TarnellTranslationTest, FieldsOfDriveAndEnclosureEvents)
{
    // 401 on channel 1, device 3: the serial of that very drive.
    std::vector<NRMEvent> events = translate(of("eventType=\"4\" eventCode=\"401\" channelID=\"1\" deviceID=\"3\""));
    ASSERT_EQ(events.size(), 1u);
    PhysicalDevice* drive = device("HardDrive", 1, 3);
    ASSERT_NE(drive, nullptr);
    EXPECT_EQ(events[0].deviceSerial, drive->getSerialNumber());
    EXPECT_EQ(events[0].address.getChannelID(), 1u);
    EXPECT_EQ(events[0].address.getDeviceID(), 3u);
    EXPECT_EQ(events[0].adapterSerial, adapter->getSerialNumString());

    // A fan of the enclosure on channel 0 carries its FRU number, whatever
    // the event's own; on channel 1 there is none.
    PhysicalDevice* enclosure = device("Enclosure", 0, STORID_UNDEFINED);
    ASSERT_NE(enclosure, nullptr);
    events = translate(of("eventType=\"4\" eventCode=\"504\" channelID=\"0\" fanID=\"1\" FRU=\"X\""));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].fruNumber, enclosure->getFruNumber());
    EXPECT_EQ(events[0].fanNumber, 1);
    events = translate(of("eventType=\"4\" eventCode=\"504\" channelID=\"1\" fanID=\"0\" FRU=\"X\""));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].fruNumber, "");
    events = translate(of("eventType=\"4\" eventCode=\"502\" channelID=\"0\""));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].enclosureModel, enclosure->getModel());
}

TEST_F(TarnellTranslationTest, ReadingStateCarriesOverBetweenElements)
{
    // The second element has no FRU and no channel: it keeps the first's;
    // 212 keeps the category of 401 before it.
    const std::vector<NRMEvent> events =
        translate(of("eventType=\"4\" eventCode=\"401\" channelID=\"1\" deviceID=\"3\" FRU=\"F1\"") +
                  raidEvent("eventCode=\"212\""));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].eventId, 212);
    EXPECT_EQ(events[1].fruNumber, "F1");
    EXPECT_EQ(events[1].objectType, NRM_OBJECT_PHYSICAL_DRIVE);
    EXPECT_THAT(events[1].text, HasSubstr("agentEventJobScheduler[eventArgControllerScsiDevice["));
    EXPECT_THAT(events[1].text, HasSubstr("deviceArgFRU[F1]"));
}

TEST_F(TarnellTranslationTest, EndTagsNumbersAndRejectedText)
{
    // An element closed by an end tag; an unset logical drive.
    std::vector<NRMEvent> events = translate("<RaidEvent eventType=\"1\" eventCode=\"301\" adapterID=\"" + id +
                                             "\" logicalDriveID=\"-1\"></RaidEvent>");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].address.getLogicalDriveID(), STORID_UNDEFINED);
    EXPECT_EQ(events[0].logicalDriveNumber, NRM_UNSET);
    // A text the parser rejects keeps what came before the fault.
    events = translate(of("eventType=\"1\" eventCode=\"301\"") + "<RaidEvent eventCode=301 />" +
                       of("eventType=\"1\" eventCode=\"302\""));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].eventId, 301);
}

TEST_F(TarnellTranslationTest, DuplicatesOfTheMonitorsOwnTaskEvents)
{
    monitor->progressEventPending = true;
    std::vector<NRMEvent> events =
        translate(of("eventType=\"1\" eventCode=\"304\" logicalDriveID=\"3\"") + of("eventCode=\"339\""));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].eventId, 339);
    EXPECT_FALSE(monitor->progressEventPending);

    // A logged 307 of logical drive 3 (kept as 4) drops every such event.
    monitor->loggedEvents.push_back(LOGGED_EVENT_INFO{307, 0, 4});
    events = translate(of("eventType=\"1\" eventCode=\"307\" logicalDriveID=\"3\"") +
                       of("eventCode=\"307\" logicalDriveID=\"3\"") + of("eventCode=\"307\" logicalDriveID=\"4\""));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].logicalDriveNumber, 4);
}

TEST_F(TarnellTranslationTest, SizeAndLevelTexts)
{
    EXPECT_EQ(TarnellRaidMonitor::sizeText(1536), "1.500 GB");
    EXPECT_EQ(TarnellRaidMonitor::sizeText(2048), "2.000 GB");
    EXPECT_EQ(TarnellRaidMonitor::sizeText(1034), "1.009 GB");
    EXPECT_EQ(TarnellRaidMonitor::raidLevelText(RAID5E), "5E");
    EXPECT_EQ(TarnellRaidMonitor::raidLevelText(RAID1E), "1EE");
    EXPECT_EQ(TarnellRaidMonitor::raidLevelText(RAID60RS), "60RS");
    EXPECT_EQ(TarnellRaidMonitor::raidLevelText(SIMPLE_VOLUME), "SIMPLE_VOLUME");
    EXPECT_EQ(TarnellRaidMonitor::raidLevelText(99), "RAID_UNKNOWN");
    // Event types to severities; a type the family never writes is information.
    const int severities[][2] = {{1, 3}, {2, 2}, {4, 1}, {8, 4}, {10, 6}, {3, 3}, {0, 3}};
    for (const auto& pair : severities)
        EXPECT_EQ(TarnellRaidMonitor::getEventType(pair[0]), pair[1]) << pair[0];
}

TEST_F(TarnellMonitorTest, EventCodeTable)
{
    makeMonitor();
    struct Row {
        int before; // the category set by a code translated first (0: none)
        int code;
        bool fru;
        const char* key;
        int category;
    };
    const Row rows[] = {
        {0, 202, false, "agentEventErrController", 3},
        {0, 202, true, "agentEventErrControllerFRU", 3},
        {0, 203, false, "agentEventErrBBCNewBattery", 8},
        {0, 203, true, "agentEventErrBBCNewBatteryFRU", 9},
        {0, 206, false, "eventConfigError", 3},
        {0, 206, true, "agentEventErrPollingFRU", 3},
        {0, 205, true, "agentEventErrPolling", 3},
        {0, 404, false, "agentEventErrDefunctDrive", 1},
        {0, 404, true, "agentEventErrDefunctDriveFRU", 1},
        {0, 405, false, "agentEventWrnPFADriveRepl", 1},
        {0, 339, false, "agentEventInfCopyBackDetected", 2},
        {0, 341, false, "agentEventErrCopyBack", 2},
        {0, 325, false, "agentEventInfSyncDetected", 7},
        {501, 0, false, "RefreshError", 4},
        {401, 212, false, "agentEventJobScheduler", 1},
        {0, 601, false, "notEventTestEvent", 3},
        {401, 200, false, "UnknownTarnellError", 1},
        {401, 220, false, "UnknownTarnellError", 1},
        {401, 300, false, "UnknownTarnellError", 1},
        {401, 400, false, "UnknownTarnellError", 1},
        {401, 513, false, "UnknownTarnellError", 1},
        {401, 602, false, "UnknownTarnellError", 1},
        {401, -1, false, "UnknownTarnellError", 1},
    };
    for (const Row& row : rows) {
        monitor->eventCategory = 3;
        if (row.before)
            monitor->getEventDescription(row.before, 1, false);
        EXPECT_EQ(monitor->getEventDescription(row.code, 1, row.fru), row.key) << row.code;
        EXPECT_EQ(monitor->eventCategory, row.category) << row.code;
    }
}
