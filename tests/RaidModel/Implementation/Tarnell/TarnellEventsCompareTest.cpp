#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellEventList.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"

// The driver that runs the event rule sets on one controller's previous and
// current snapshot: which rule sets run, and in which order.

using namespace tarnelltest;

namespace {

const uint32_t NONE = 0xFFFFFFFFu;

class TarnellEventsCompareTest : public EventRulesTest {
protected:
    static TarnellAdapter* adapterOf(TarnellSystem* system, STORID_T id)
    {
        RaidObject* object = system ? system->getObject(Addr(id)) : nullptr;
        return object && object->isInstanceOf("TarnellAdapter") ? static_cast<TarnellAdapter*>(object) : nullptr;
    }
};

bool isLogicalDriveCheck(uint32_t code)
{
    return code == RaidEvent::LOGICAL_DRIVE_CRITICAL || code == RaidEvent::LOGICAL_DRIVE_BLOCKED ||
           code == RaidEvent::LOGICAL_DRIVE_OFFLINE;
}

// A controller seen for the first time gets the first-sight checks of its
// top-level logical drives only, and the driver answers true even when they
// find nothing.
TEST_F(TarnellEventsCompareTest, FirstSightChecksTopLevelDrivesOnly)
{
    SimController c(CONTROLLER_A, TARNELL_B2);
    c.drive(c.array(0), 0, 0, RAID1, {{0, 0}, {0, 1}});
    std::string xml;
    EXPECT_TRUE(TarnellEvents::compareConfigs(nullptr, c.adapter, xml));
    EXPECT_EQ("", xml) << "rules write no text";
    for (const ListedEvent& e : ringEvents())
        EXPECT_FALSE(isLogicalDriveCheck(e.code)) << e.code;

    // A critical top-level drive, and a spanned drive whose sub-logical drive
    // is offline and blocked.
    TarnellEvents::resetForTest();
    TarnellBasicArray* basic = c.array(1);
    basic->addChild(new TarnellBasicLogicalDrive(c.adapter, basic, 1, 1, CRITICAL, RAID5, 1000, 500, false,
                                                 LD_CACHE_DISABLED, true, false, false, RAID5EE_UNKNOWN));
    SpannedArray* spanned = c.spannedArray(0);
    TarnellHLogicalDrive* hld = new TarnellHLogicalDrive(c.adapter, spanned, 2, 2, OKAY, RAID10, 2000, 0, false,
                                                         LD_CACHE_DISABLED, true, false);
    spanned->addChild(hld);
    TarnellBasicArray* subArray = c.array(3, spanned);
    hld->addChild(new TarnellBasicLogicalDrive(c.adapter, subArray, 8, 0, OFFLINE, RAID1, 1000, 0, true,
                                               LD_CACHE_DISABLED, false, true, false, RAID5EE_UNKNOWN));
    EXPECT_TRUE(TarnellEvents::compareConfigs(nullptr, c.adapter, xml));
    std::vector<ListedEvent> checks;
    for (const ListedEvent& e : ringEvents())
        if (isLogicalDriveCheck(e.code))
            checks.push_back(e);
    ASSERT_EQ(1u, checks.size());
    EXPECT_EQ(static_cast<uint32_t>(RaidEvent::LOGICAL_DRIVE_CRITICAL), checks[0].code);
    EXPECT_EQ(1u, checks[0].logicalDriveID);
}

// A controller that does not work in the current snapshot gets only the
// adapter rules: the same drive change is reported while it works and not
// once it has failed.
TEST_F(TarnellEventsCompareTest, FailedControllerGetsOnlyTheAdapterRules)
{
    for (int32_t status : {0, -1}) {
        SCOPED_TRACE(status);
        tarnellsim::reset();
        TarnellEvents::resetForTest();
        TarnellLib lib;
        TarnellSystem* before = lib.getNewSystem();
        tarnellsim::Scenario s = tarnellsim::current();
        s.controllers[1].status = status;
        for (tarnellsim::Device& d : s.controllers[1].devices)
            if (d.channel == 1 && d.target == 10)
                d.state = DEVSTATE_HOT_SPARE;
        tarnellsim::reset(s);
        TarnellSystem* after = lib.getNewSystem();
        std::string xml;
        TarnellEvents::compareConfigs(adapterOf(before, 1), adapterOf(after, 1), xml);

        const std::vector<ListedEvent> events = ringEvents();
        if (status == 0) {
            EXPECT_TRUE(hasEvent(events, RaidEvent::SPARE_CREATED, 1));
            continue;
        }
        EXPECT_TRUE(hasEvent(events, RaidEvent::CONTROLLER_FAIL, 1));
        for (const ListedEvent& e : events)
            EXPECT_TRUE(e.code == RaidEvent::CONTROLLER_FAIL || e.code == RaidEvent::CONTROLLER_STATE_CHANGE)
                << e.code;
    }
}

// With both snapshots of a working controller, every rule set runs, in the
// order adapter, physical drives, logical drives, enclosures, task progress.
TEST_F(TarnellEventsCompareTest, RuleSetsRunInTheirOrder)
{
    TarnellLib lib;
    TarnellSystem* before = lib.getNewSystem();
    tarnellsim::Scenario s = tarnellsim::current();
    tarnellsim::Controller& a = s.controllers[0];
    a.readAhead = !a.readAhead; // a setting without an event of its own
    for (tarnellsim::Device& d : a.devices) {
        if (d.channel == 0 && d.target == 6)
            d.state = DEVSTATE_HOT_SPARE;
        if (d.type == tarnellsim::DEVTYPE_ENCLOSURE)
            d.safteStatus[0] |= 0x01; // fan 0 failed
    }
    for (tarnellsim::LogicalDrive& ld : a.drives)
        if (ld.number == 1)
            ld.blocked = true;
    tarnellsim::reset(s);
    TarnellSystem* after = lib.getNewSystem();
    std::string xml;
    EXPECT_TRUE(TarnellEvents::compareConfigs(adapterOf(before, 0), adapterOf(after, 0), xml));

    const std::vector<ListedEvent> events = ringEvents();
    const auto position = [&events](uint32_t code, bool adapterRefresh = false) {
        const auto it = std::find_if(events.begin(), events.end(), [&](const ListedEvent& e) {
            return e.code == code && e.adapterID == 0 &&
                   (!adapterRefresh || (e.logicalDriveID == NONE && e.deviceID == NONE));
        });
        return it == events.end() ? -1 : static_cast<int>(it - events.begin());
    };
    const std::vector<int> order = {position(0, true), position(RaidEvent::SPARE_CREATED),
                                    position(RaidEvent::LOGICAL_DRIVE_BLOCKED), position(RaidEvent::FAN_FAIL),
                                    position(RaidEvent::REBUILD_DETECTED)};
    for (int p : order)
        ASSERT_GE(p, 0) << ::testing::PrintToString(codesOf(events));
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end())) << ::testing::PrintToString(codesOf(events));
}

} // namespace
