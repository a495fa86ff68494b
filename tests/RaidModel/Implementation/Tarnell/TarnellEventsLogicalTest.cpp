#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "RaidLib/Util/Date.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellBuildUtil.h"
#include "RaidModel/Implementation/Tarnell/TarnellEventList.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellSpannedArray.h"

// The event rules of the logical drives: the first-sight checks of a drive
// and the comparison of two snapshots of one controller. Most cases compare
// two hand-built trees of the same controller; one compares two real builds
// of a simulated controller.

using namespace tarnelltest;

namespace {

const uint32_t I = RaidEvent::INFORMATION_EVENT;
const uint32_t W = RaidEvent::WARNING_EVENT;
const uint32_t F = RaidEvent::FATAL_EVENT;
const uint32_t R = RaidEvent::REFRESH_EVENT;
const uint32_t NOT_SET = RaidEvent::ID_NOT_SET;

// One event of the ring as the rules raised it.
struct Ev {
    uint32_t type, code, adapter, drive;
    bool operator==(const Ev& o) const
    {
        return type == o.type && code == o.code && adapter == o.adapter && drive == o.drive;
    }
};

std::ostream& operator<<(std::ostream& os, const Ev& e)
{
    return os << "{type " << e.type << ", code " << e.code << ", adapter " << e.adapter << ", drive " << e.drive
              << "}";
}

// Every event in the ring, oldest first.
std::vector<Ev> driveEvents()
{
    std::vector<Ev> events;
    for (const ListedEvent& e : ringEvents())
        events.push_back(Ev{e.type, e.code, e.adapterID, e.logicalDriveID});
    return events;
}

// (type, code) pairs of events about one drive of the controller.
struct TypeCode {
    uint32_t type, code;
};
std::vector<Ev> about(uint32_t adapter, uint32_t drive, const std::vector<TypeCode>& events)
{
    std::vector<Ev> out;
    for (const TypeCode& e : events)
        out.push_back(Ev{e.type, e.code, adapter, drive});
    return out;
}

uint32_t fakeNow = 0;
time_t fakeClock() { return static_cast<time_t>(fakeNow); }

const uint32_t START = 1714986000;
const uint32_t REMINDER_RATE = 28800;

// Two snapshots of the same controller (one model adapter id) to fill by
// hand, an empty ring, and a test clock at which the critical-drive reminder
// has just been given.
class LogicalEventsTest : public EventRulesTest {
protected:
    void SetUp() override
    {
        EventRulesTest::SetUp();
        // Another controller takes model id 0, so the events' id 1 is ours.
        TarnellAdapter::getUniqueID(99);
        fakeNow = START;
        previousClock = Date::setClock(fakeClock);
        fresh();
        adapterID = before->adapter->getAdapterID();
        ASSERT_EQ(1u, adapterID);
        ASSERT_EQ(adapterID, after->adapter->getAdapterID());
    }
    void TearDown() override
    {
        before.reset();
        after.reset();
        Date::setClock(previousClock);
        EventRulesTest::TearDown();
    }

    // Empty trees and an empty ring; no reminder due.
    void fresh()
    {
        before.reset(new SimController(CONTROLLER_A, TARNELL_B2));
        after.reset(new SimController(CONTROLLER_A, TARNELL_B2));
        TarnellEvents::resetForTest();
        TarnellEvents::SetNRMTime(static_cast<long>(fakeNow));
    }

    // A top-level drive of the controller in the basic array of that id.
    static TarnellBasicLogicalDrive* drive(SimController& c, int arrayID, int id, EnumLogicalDeviceState state,
                                           bool blocked = false,
                                           EnumLogicalDriveCacheMode cache = LD_CACHE_DISABLED,
                                           bool osPartition = false)
    {
        TarnellBasicArray* a = nullptr;
        for (RaidObject* o : c.config->getChildren())
            if (o->isInstanceOf("BasicArray") && static_cast<int>(o->getArrayID()) == arrayID)
                a = static_cast<TarnellBasicArray*>(o);
        if (a == nullptr)
            a = c.array(arrayID);
        TarnellBasicLogicalDrive* d = new TarnellBasicLogicalDrive(
            c.adapter, a, id, id, state, RAID5, 1000, 500, blocked, cache, true, false, osPartition, RAID5EE_UNKNOWN);
        a->addChild(d);
        return d;
    }

    bool compare()
    {
        std::string xml;
        const bool changed = TarnellEvents::compareLDConfigs(before->adapter, after->adapter, xml);
        EXPECT_EQ("", xml) << "the string is not written";
        return changed;
    }

    std::unique_ptr<SimController> before, after;
    uint32_t adapterID = 0;
    Date::ClockFn previousClock = nullptr;
};

// --------------------------------------------------------- first sight

TEST_F(LogicalEventsTest, FirstSightReportsOfflineCriticalAndBlocked)
{
    struct Case {
        EnumLogicalDeviceState state;
        bool blocked;
        std::vector<TypeCode> events;
    };
    const Case cases[] = {
        {OFFLINE, true, {{F, 303}, {F, 302}}},
        {OFFLINE, false, {{F, 303}}},
        {CRITICAL, false, {{W, 301}}},
        {CRITICAL_MIGRATING, false, {{W, 301}}},
        {CRITICAL_SYSTEM, false, {{W, 301}}},
        {CRITICAL, true, {{W, 301}, {F, 302}}},
        {OKAY, true, {{F, 302}}},
        {OKAY, false, {}},
        {MIGRATING, false, {}},
        {SYSTEM, false, {}},
        {FREE, false, {}},
        {DEGRADED_FAULT_TOLERANT, false, {}},
    };
    for (const Case& c : cases) {
        fresh();
        LogicalDrive* d = drive(*after, 1, 3, c.state, c.blocked);
        std::string xml;
        TarnellEvents::checkLogicalDrive(after->adapter, d, xml);
        EXPECT_EQ(about(adapterID, 3, c.events), driveEvents()) << "state " << c.state << " blocked " << c.blocked;
        EXPECT_EQ("", xml);
    }

    fresh();
    LogicalDrive* d = drive(*after, 1, 3, OFFLINE, true);
    std::string xml;
    TarnellEvents::checkLogicalDrive(nullptr, d, xml);
    TarnellEvents::checkLogicalDrive(after->adapter, nullptr, xml);
    EXPECT_TRUE(driveEvents().empty());
}

// ------------------------------------------------------ state changes

TEST_F(LogicalEventsTest, StateChangesFollowTheTransitionTable)
{
    struct Case {
        EnumLogicalDeviceState from, to;
        std::vector<TypeCode> events;
        bool changed;
        bool blocked; // in both snapshots
    };
    const Case cases[] = {
        {OKAY, CRITICAL, {{W, 399}, {W, 301}}, true, false},
        {OKAY, CRITICAL_MIGRATING, {{W, 399}, {W, 301}}, true, false},
        {MIGRATING, CRITICAL_SYSTEM, {{W, 399}, {W, 301}}, true, false},
        {OKAY, OFFLINE, {{F, 399}, {F, 303}}, true, false},
        {CRITICAL, OFFLINE, {{F, 399}, {F, 303}}, true, false},
        {FREE, OFFLINE, {{F, 399}, {F, 303}}, true, false},
        {FREE, CRITICAL, {{W, 399}, {W, 301}}, true, false},
        {OFFLINE, CRITICAL, {{W, 399}, {W, 301}}, true, false},
        {CRITICAL, OKAY, {{I, 399}, {I, 345}}, true, false},
        {OFFLINE, OKAY, {{I, 399}, {I, 345}}, true, false},
        {SYSTEM, OKAY, {{I, 399}, {I, 345}}, true, false},
        {DEGRADED_FAULT_TOLERANT, OKAY, {{I, 399}, {I, 345}}, true, false},
        // Only the state change.
        {MIGRATING, OKAY, {{I, 399}}, false, false},
        {CRITICAL, CRITICAL_MIGRATING, {{W, 399}}, false, false},
        {CRITICAL_SYSTEM, CRITICAL, {{W, 399}}, false, false},
        {OKAY, MIGRATING, {{I, 399}}, false, false},
        {OKAY, SYSTEM, {{I, 399}}, false, false},
        {OKAY, DEGRADED_FAULT_TOLERANT, {{I, 399}}, false, false},
        // A freed slot that holds a drive again is a new drive, with its
        // first-sight checks (here: blocked).
        {FREE, OKAY, {{I, 399}, {I, 346}}, true, false},
        {FREE, MIGRATING, {{I, 399}, {I, 346}}, true, false},
        {FREE, OKAY, {{I, 399}, {I, 346}, {F, 302}}, true, true},
        // A drive that is freed is gone: the second pass reports it.
        {OKAY, FREE, {{I, 399}, {I, 347}}, true, false},
        {CRITICAL, FREE, {{I, 399}, {I, 347}}, true, false},
        {OKAY, OKAY, {}, false, false},
    };
    for (const Case& c : cases) {
        fresh();
        // A drive that stays as it was raises nothing.
        drive(*before, 0, 0, OKAY);
        drive(*after, 0, 0, OKAY);
        drive(*before, 1, 3, c.from, c.blocked);
        drive(*after, 1, 3, c.to, c.blocked);
        const bool changed = compare();
        EXPECT_EQ(c.changed, changed) << c.from << " to " << c.to;
        EXPECT_EQ(about(adapterID, 3, c.events), driveEvents()) << c.from << " to " << c.to;
    }
}

// ---------------------------------------------------- added and removed

TEST_F(LogicalEventsTest, AddedAndRemovedDrives)
{
    struct Case {
        bool added; // else removed
        EnumLogicalDeviceState state;
        bool blocked;
        std::vector<TypeCode> events;
    };
    const Case cases[] = {
        {true, OKAY, false, {{I, 346}}},
        {true, CRITICAL, false, {{I, 346}, {W, 301}}},
        {true, OFFLINE, true, {{I, 346}, {F, 303}, {F, 302}}},
        {true, SYSTEM, false, {{I, 346}}},
        // A drive that a migration brings along is no new drive.
        {true, CRITICAL_MIGRATING, false, {}},
        {true, CRITICAL_SYSTEM, false, {}},
        {false, OKAY, false, {{I, 347}}},
        {false, CRITICAL, false, {{I, 347}}},
        {false, CRITICAL_MIGRATING, false, {{I, 347}}},
        {false, OFFLINE, true, {{I, 347}}},
        // The temporary drive of a migration goes without notice.
        {false, SYSTEM, false, {}},
        {false, CRITICAL_SYSTEM, false, {}},
    };
    for (const Case& c : cases) {
        fresh();
        drive(*before, 0, 0, OKAY);
        drive(*after, 0, 0, OKAY);
        drive(c.added ? *after : *before, 1, 3, c.state, c.blocked);
        const bool changed = compare();
        EXPECT_EQ(!c.events.empty(), changed) << (c.added ? "added " : "removed ") << c.state;
        EXPECT_EQ(about(adapterID, 3, c.events), driveEvents()) << (c.added ? "added " : "removed ") << c.state;
    }
}

// The array id belongs to the pairing: a drive id that turns up in another
// array is another drive.
TEST_F(LogicalEventsTest, ADriveInAnotherArrayIsAnotherDrive)
{
    drive(*before, 1, 3, OKAY);
    drive(*after, 2, 3, OKAY);
    EXPECT_TRUE(compare());
    EXPECT_EQ(about(adapterID, 3, {{I, 346}, {I, 347}}), driveEvents());
}

// A top-level drive without an array is paired by the ids of its own
// address (adapter and logical drive).
TEST_F(LogicalEventsTest, ADriveWithoutAnArrayIsPairedByItsAddress)
{
    for (SimController* c : {before.get(), after.get()}) {
        TarnellBasicLogicalDrive* d =
            new TarnellBasicLogicalDrive(c->adapter, nullptr, 3, 3, c == before.get() ? OKAY : CRITICAL, RAID0, 1000,
                                         0, false, LD_CACHE_DISABLED, true, false, false, RAID5EE_UNKNOWN);
        c->config->addChild(d);
    }
    EXPECT_TRUE(compare());
    EXPECT_EQ(about(adapterID, 3, {{W, 399}, {W, 301}}), driveEvents());
}

// ----------------------------------------- blocked, cache and partition

TEST_F(LogicalEventsTest, BlockedUnblockedAndRefreshChanges)
{
    struct Side {
        bool blocked;
        EnumLogicalDriveCacheMode cache;
        bool osPartition;
    };
    struct Case {
        const char* name;
        Side from, to;
        std::vector<TypeCode> events;
    };
    const Side plain = {false, LD_CACHE_DISABLED, false};
    const Case cases[] = {
        {"blocked", plain, {true, LD_CACHE_DISABLED, false}, {{F, 302}}},
        {"unblocked", {true, LD_CACHE_DISABLED, false}, plain, {{I, 331}}},
        // No event code of their own: one refresh event, code 0.
        {"write cache", plain, {false, LD_CACHE_ENABLED, false}, {{R, 0}}},
        {"write cache off", {false, LD_CACHE_ENABLED, false}, plain, {{R, 0}}},
        {"OS partition", plain, {false, LD_CACHE_DISABLED, true}, {{R, 0}}},
        {"cache and partition", plain, {false, LD_CACHE_ENABLED, true}, {{R, 0}}},
        {"blocked and cache", plain, {true, LD_CACHE_ENABLED, false}, {{F, 302}, {R, 0}}},
    };
    for (const Case& c : cases) {
        fresh();
        drive(*before, 1, 3, OKAY, c.from.blocked, c.from.cache, c.from.osPartition);
        drive(*after, 1, 3, OKAY, c.to.blocked, c.to.cache, c.to.osPartition);
        EXPECT_TRUE(compare()) << c.name;
        EXPECT_EQ(about(adapterID, 3, c.events), driveEvents()) << c.name;
    }
}

// All events of the first pass drive by drive in tree order, then those of
// the second pass, then the reminder.
TEST_F(LogicalEventsTest, EventsComeInPassOrderThenTheReminder)
{
    drive(*before, 0, 0, OKAY);
    drive(*after, 0, 0, CRITICAL, true, LD_CACHE_ENABLED);
    drive(*after, 0, 1, OKAY);     // new
    drive(*before, 0, 2, OKAY);    // gone
    drive(*before, 1, 4, OKAY);
    drive(*after, 1, 4, FREE);     // freed
    fakeNow += REMINDER_RATE + 1;

    EXPECT_TRUE(compare());
    std::vector<Ev> expected = about(adapterID, 0, {{W, 399}, {W, 301}, {F, 302}, {R, 0}});
    expected.push_back(Ev{I, 346, adapterID, 1});
    expected.push_back(Ev{I, 399, adapterID, 4});
    expected.push_back(Ev{I, 347, adapterID, 2});
    expected.push_back(Ev{I, 347, adapterID, 4});
    expected.push_back(Ev{I, 338, adapterID, NOT_SET});
    EXPECT_EQ(expected, driveEvents());
}

TEST_F(LogicalEventsTest, NullSnapshotsRaiseNothing)
{
    drive(*before, 1, 3, OKAY);
    drive(*after, 1, 3, CRITICAL);
    fakeNow += REMINDER_RATE + 1;
    std::string xml;
    EXPECT_FALSE(TarnellEvents::compareLDConfigs(nullptr, after->adapter, xml));
    EXPECT_FALSE(TarnellEvents::compareLDConfigs(before->adapter, nullptr, xml));
    EXPECT_TRUE(driveEvents().empty());
    EXPECT_TRUE(TarnellEvents::isTimeToReportCriticalLogicalDrives()) << "the reminder was not asked";
}

// -------------------------------------------------------- the reminder

TEST_F(LogicalEventsTest, CriticalDrivesAreRecalledOncePerEightHours)
{
    for (SimController* c : {before.get(), after.get()}) {
        drive(*c, 0, 0, CRITICAL);
        drive(*c, 1, 1, CRITICAL_SYSTEM);
        drive(*c, 2, 2, OKAY);
    }
    const std::vector<Ev> reminder = {Ev{I, 338, adapterID, NOT_SET}};

    EXPECT_FALSE(compare()) << "within the period";
    EXPECT_TRUE(driveEvents().empty());

    fakeNow = START + REMINDER_RATE;
    EXPECT_FALSE(compare());
    EXPECT_TRUE(driveEvents().empty()) << "not more than the period";

    fakeNow = START + REMINDER_RATE + 1;
    EXPECT_FALSE(compare()) << "the reminder is no change";
    EXPECT_EQ(reminder, driveEvents()) << "one reminder for the controller";

    EXPECT_FALSE(compare());
    fakeNow += REMINDER_RATE;
    EXPECT_FALSE(compare());
    EXPECT_EQ(reminder, driveEvents()) << "none until the next period";

    fakeNow += 1;
    EXPECT_FALSE(compare());
    std::vector<Ev> two = reminder;
    two.push_back(reminder[0]);
    EXPECT_EQ(two, driveEvents());
}

// The throttle is asked on every comparison: a period that has passed is
// used up even when no drive counts as critical. A new critical drive does
// not count.
TEST_F(LogicalEventsTest, APassedPeriodIsUsedUpWithoutCriticalDrives)
{
    drive(*after, 1, 3, CRITICAL);
    fakeNow += REMINDER_RATE + 1;
    EXPECT_TRUE(compare());
    const std::vector<Ev> added = about(adapterID, 3, {{I, 346}, {W, 301}});
    EXPECT_EQ(added, driveEvents());

    // Now the drive is known and critical, but the period is used up.
    std::string xml;
    EXPECT_FALSE(TarnellEvents::compareLDConfigs(after->adapter, after->adapter, xml));
    EXPECT_EQ(added, driveEvents());

    fakeNow += REMINDER_RATE + 1;
    EXPECT_FALSE(TarnellEvents::compareLDConfigs(after->adapter, after->adapter, xml));
    std::vector<Ev> expected = added;
    expected.push_back(Ev{I, 338, adapterID, NOT_SET});
    EXPECT_EQ(expected, driveEvents());
}

// ------------------------------------------------- sub-logical drives

// A spanned drive with its spanned array, as the build makes it: the drive
// is attached to its array before its sub-logical drives are attached to it.
struct Spanned {
    TarnellHLogicalDrive* hld;
    TarnellSpannedArray* array;
    TarnellBasicArray* parts[2];
};

Spanned spanned(SimController& c, int id, EnumLogicalDeviceState state)
{
    Spanned s;
    s.array = new TarnellSpannedArray(c.adapter, 0, 0, 0);
    c.config->addChild(s.array);
    s.parts[0] = c.array(3, s.array);
    s.parts[1] = c.array(4, s.array);
    s.hld = new TarnellHLogicalDrive(c.adapter, s.array, id, id, state, RAID10, 2000, 2000, false, LD_CACHE_DISABLED,
                                     true, false);
    s.array->addChild(s.hld);
    return s;
}

TarnellBasicLogicalDrive* subDrive(SimController& c, const Spanned& s, int part, int id,
                                   EnumLogicalDeviceState state, bool blocked = false,
                                   EnumLogicalDriveCacheMode cache = LD_CACHE_DISABLED)
{
    TarnellBasicLogicalDrive* d = new TarnellBasicLogicalDrive(c.adapter, s.parts[part], id, part, state, RAID1, 1000,
                                                               1000, blocked, cache, false, true, false,
                                                               RAID5EE_UNKNOWN);
    s.hld->addChild(d);
    return d;
}

TEST_F(LogicalEventsTest, SubLogicalDrivesRaiseNothing)
{
    const Spanned old = spanned(*before, 4, OKAY);
    subDrive(*before, old, 0, 8, OKAY);
    subDrive(*before, old, 1, 9, OKAY);  // gone
    const Spanned now = spanned(*after, 4, CRITICAL);
    subDrive(*after, now, 0, 8, OFFLINE, true, LD_CACHE_ENABLED);
    subDrive(*after, now, 1, 10, CRITICAL, true); // new
    fakeNow += REMINDER_RATE + 1;

    EXPECT_TRUE(compare());
    std::vector<Ev> expected = about(adapterID, 4, {{W, 399}, {W, 301}});
    expected.push_back(Ev{I, 338, adapterID, NOT_SET});
    EXPECT_EQ(expected, driveEvents()) << "only the spanned drive speaks";

    // First sight of the controller: the checks skip the sub-logical drives.
    fresh();
    const Spanned first = spanned(*after, 4, OFFLINE);
    subDrive(*after, first, 0, 8, OFFLINE, true);
    subDrive(*after, first, 1, 9, CRITICAL);
    std::string xml;
    EXPECT_TRUE(TarnellEvents::compareConfigs(nullptr, after->adapter, xml));
    std::vector<Ev> logical;
    for (const Ev& e : driveEvents())
        if (e.code >= 300 && e.code < 400)
            logical.push_back(e);
    EXPECT_EQ(about(adapterID, 4, {{F, 303}}), logical);
}

// ------------------------------------- two builds of a simulated controller

// Two real builds of controller 2 of the default scenario: drive 1 deleted,
// drive 2's write cache switched off, and one disk of sub-logical drive 0 of
// the spanned drive 4 dead (the sub-logical drive and so the spanned drive
// become critical). Critical drive 3 stays as it was.
TEST_F(LogicalEventsTest, TwoBuildsOfASimulatedController)
{
    // The blocked-drive flags of a build are shared by the process; a first
    // build settles them for this controller.
    { BuildAdapter settle(CONTROLLER_A, 3); settle.buildAll(); }
    BuildAdapter first(CONTROLLER_A, 3);
    first.buildAll();
    BuildAdapter same(CONTROLLER_A, 3);
    same.buildAll();
    ASSERT_EQ(adapterID, first.adapter->getAdapterID());

    std::string xml;
    EXPECT_FALSE(TarnellEvents::compareLDConfigs(first.adapter, same.adapter, xml));
    EXPECT_TRUE(driveEvents().empty()) << "nothing changed";

    tarnellsim::Scenario s = tarnellsim::current();
    for (tarnellsim::Controller& c : s.controllers) {
        if (c.number != CONTROLLER_A)
            continue;
        c.drives.erase(std::remove_if(c.drives.begin(), c.drives.end(),
                                      [](const tarnellsim::LogicalDrive& d) { return d.number == 1; }),
                       c.drives.end());
        for (tarnellsim::LogicalDrive& d : c.drives)
            if (d.number == 2)
                d.writeCache = false;
        for (tarnellsim::Device& d : c.devices)
            if (d.channel == 2 && d.target == 0)
                d.state = DEVSTATE_DEAD;
    }
    tarnellsim::reset(s);
    BuildAdapter second(CONTROLLER_A, 3);
    second.buildAll();
    ASSERT_NE(nullptr, second.logicalDrive(16));
    ASSERT_EQ(CRITICAL, second.logicalDrive(16)->getState());

    fakeNow += REMINDER_RATE + 1;
    EXPECT_TRUE(TarnellEvents::compareLDConfigs(first.adapter, second.adapter, xml));
    const std::vector<Ev> expected = {
        Ev{R, 0, adapterID, 2},   Ev{W, 399, adapterID, 4}, Ev{W, 301, adapterID, 4},
        Ev{I, 347, adapterID, 1}, Ev{I, 338, adapterID, NOT_SET},
    };
    EXPECT_EQ(expected, driveEvents());
}

} // namespace
