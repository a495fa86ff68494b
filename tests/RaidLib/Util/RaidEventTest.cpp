#include <gtest/gtest.h>

#include "RaidLib/Util/RaidEvent.h"

namespace {

// 2024-01-02 03:04:05 UTC.
const time_t kWhen = 1704164645;

Date fixedDate()
{
    Date d;
    d.setTime(kWhen);
    return d;
}

} // namespace

TEST(RaidEvent, DescriptionTable)
{
    EXPECT_EQ(RaidEvent::eventDesc.size(), 103u);
    EXPECT_EQ(RaidEvent::initEventDescriptionTable(), RaidEvent::eventDesc);

    const struct {
        uint32_t code;
        const char* text;
    } rows[] = {
        {RaidEvent::NO_CONTROLLERS, "No controllers found."},
        {RaidEvent::CONTROLLER_FAILOVER, "Controller failover detected.  Passive controller is now active."},
        {RaidEvent::LOGICAL_DRIVE_CRITICAL_PERIODIC, "TO-DO."},
        {RaidEvent::LOGICAL_DRIVE_STATE_CHANGE, "Logical drive  state change detected."},
        {RaidEvent::TEST_EVENT, "This is a test event.."},
        {801, "Hot Spare Drive created"},
        {802, "Hot Spare Drive deleted"},
        {700, ""},
        {0, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(RaidEvent(RaidEvent::INFORMATION_EVENT, row.code, 0).getDescription(), row.text)
            << row.code;
    EXPECT_EQ(RaidEvent::LOGICAL_DRIVE_CRITICAL_PERIODIC, 338u);
    EXPECT_EQ(RaidEvent::LOGICAL_DRIVE_STATE_CHANGE, 399u);
    EXPECT_EQ(RaidEvent::REFRESH_EVENT, 10u);
}

TEST(RaidEvent, ElementWithUnsetIdsAndEscapedFRU)
{
    Date when = fixedDate();
    RaidEvent e(RaidEvent::WARNING_EVENT, RaidEvent::LOGICAL_DRIVE_CRITICAL, 0, when);
    EXPECT_EQ(e.toXML(), "<RaidEvent  eventType=\"2\" eventCode=\"301\" errorCode=\"0\" eventNumber=\"0\" "
                         "adapterID=\"4294967295\" arrayID=\"0\" logicalDriveID=\"4294967295\" "
                         "channelID=\"4294967295\" deviceID=\"4294967295\" powerSupplyID=\"4294967295\" "
                         "fanID=\"4294967295\" FRU=\"\" date=\"1704164645\" />");

    e.setAdapterID(1);
    e.setArrayID(3);
    e.setFRU("12\"X<4");
    const std::string xml = e.toXML();
    EXPECT_NE(xml.find(" adapterID=\"1\" arrayID=\"3\" "), std::string::npos);
    EXPECT_NE(xml.find(" FRU=\"12&quot;X&lt;4\" "), std::string::npos);
}

TEST(RaidEvent, TextForm)
{
    Date when = fixedDate();
    RaidEvent e(3, RaidEvent::DRIVE_ADDED, 5, when);
    e.setArrayID(3);
    e.setChannelID(1);
    e.setLogicalDriveID(9); // not part of the text form
    e.setFRU("FRU-1");
    EXPECT_EQ(e.toString(), "\nRaidEvent: \n"
                            "Tue Jan  2 03:04:05 2024\n"
                            "Drive has been added.\n"
                            "   Event Type = Unknown Type\n"
                            "   eventCode = 407\n"
                            "   errorCode = 5\n"
                            "   eventNumber = 0\n"
                            "   adapterID = -1\n"
                            "   arrayID = 3\n"
                            "   channelID = 1\n"
                            "   deviceID = -1\n"
                            "   powerSupplyID = -1\n"
                            "   fanID = -1\n"
                            "   FRU = FRU-1");
    RaidEvent fatal(RaidEvent::FATAL_EVENT, 700, 0, when);
    EXPECT_NE(fatal.toString().find("\n\n   Event Type = FATAL_EVENT\n"), std::string::npos);
}

TEST(RaidEvent, EqualityIgnoresTheTypeOnly)
{
    Date when = fixedDate();
    RaidEvent a(RaidEvent::INFORMATION_EVENT, RaidEvent::FAN_FAIL, 0, when);
    RaidEvent b(RaidEvent::FATAL_EVENT, RaidEvent::FAN_FAIL, 0, when);
    EXPECT_TRUE(a == b);
    b.setFRU("x");
    EXPECT_TRUE(a != b);

    RaidEvent c(a);
    EXPECT_TRUE(c == a);
    Date later;
    later.setTime(kWhen + 1);
    c.setDate(later);
    EXPECT_TRUE(a < c);
    EXPECT_FALSE(c < a);
    EXPECT_TRUE(a != c);
}
