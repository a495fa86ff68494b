#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RaidLib/Util/Date.h"
#include "RaidModel/Implementation/Tarnell/TarnellEventList.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellBuildUtil.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"

// The event rules of the hard drives: first-sight checks and the comparison
// of two snapshots of one controller. Most snapshots are built by hand (two
// trees of the same controller, so both carry its model id); one pair comes
// from the real device build against the simulated controllers. The clock is
// the test's own.

using namespace tarnelltest;

namespace {

uint32_t fakeNow = 0;
bool ticking = false;   // every reading of the clock moves it on by a second
time_t fakeClock() { return static_cast<time_t>(ticking ? fakeNow++ : fakeNow); }

const uint32_t START = 1714986000;
const uint32_t UNSUPPORTED_RATE = 2592000;   // 30 days

std::string typeName(unsigned type)
{
    switch (type) {
    case RaidEvent::INFORMATION_EVENT: return "INFO";
    case RaidEvent::WARNING_EVENT: return "WARN";
    case RaidEvent::FATAL_EVENT: return "FATAL";
    case RaidEvent::REFRESH_EVENT: return "REFRESH";
    default: return "type" + std::to_string(type);
    }
}

// The events of the ring from number since on, oldest first.
std::vector<ListedEvent> driveEvents(unsigned long since = 1)
{
    const std::vector<ListedEvent> events = ringEvents(since);
    for (const ListedEvent& e : events) {
        // Nothing else of the event is set by the drive rules.
        EXPECT_EQ(0u, e.errorCode);
        EXPECT_EQ(0u, e.arrayID);
        EXPECT_EQ(RaidEvent::ID_NOT_SET, e.logicalDriveID);
    }
    return events;
}

// Each event as "code TYPE[ FRU]".
std::vector<std::string> texts(const std::vector<ListedEvent>& events)
{
    std::vector<std::string> out;
    for (const ListedEvent& e : events) {
        std::string text = std::to_string(e.code) + " " + typeName(e.type);
        if (!e.fru.empty())
            text += " " + e.fru;
        out.push_back(text);
    }
    return out;
}

// The text of an event with that FRU text (none when it is empty).
std::string withFru(const std::string& head, const std::string& fru) { return fru.empty() ? head : head + " " + fru; }

struct DriveSpec {
    EnumPhysicalDeviceState state;
    const char* fru;
    bool pfaSupported = false;
    bool pfaError = false;
    const char* vendor = "ZEQ-XJP";
};

// A hard drive of that kind at (channel, device) of the controller's tree.
TarnellHardDrive* put(SimController& c, int ch, int dev, const DriveSpec& spec)
{
    std::string vendor(spec.vendor), model("XJ"), serial("S"), fw("F"), fru(spec.fru);
    Channel* channel = c.channel(ch);
    TarnellHardDrive* d = new TarnellHardDrive(c.adapter, channel, dev, 71132000, spec.state, &vendor[0], &model[0],
                                               &serial[0], &fw[0], spec.pfaError, HARD_DRIVE_CACHE_MODE_WRITE_BACK,
                                               true, true, false, &fru[0], false, spec.pfaSupported);
    channel->addChild(d);
    return d;
}

class PhyDriveEventsTest : public EventRulesTest {
protected:
    void SetUp() override
    {
        EventRulesTest::SetUp();
        fakeNow = START;
        ticking = false;
        previousClock = Date::setClock(fakeClock);
        // The controller gets model id 1, so that a 0 in an event stands out.
        TarnellAdapter::getUniqueID(99);
        fresh();
    }
    void TearDown() override
    {
        before.reset();
        after.reset();
        Date::setClock(previousClock);
        EventRulesTest::TearDown();
    }

    // Two empty snapshots of the same controller, and an empty ring.
    void fresh()
    {
        before.reset(new SimController(CONTROLLER_A, TARNELL_B2));
        after.reset(new SimController(CONTROLLER_A, TARNELL_B2));
        ASSERT_EQ(1u, after->adapter->getAdapterID());
        TarnellEvents::resetForTest();
    }

    bool compare()
    {
        std::string xml;
        const bool changed = TarnellEvents::comparePhyDriveConfigs(before->adapter, after->adapter, xml);
        EXPECT_EQ("", xml);
        return changed;
    }

    // The reminder about unsupported drives is not due before a full period.
    void reminderNotDue() { TarnellEvents::SetNRMTime(static_cast<long>(fakeNow)); }

    std::unique_ptr<SimController> before, after;
    Date::ClockFn previousClock = nullptr;
};

// ------------------------------------------------------------- first sight

TEST_F(PhyDriveEventsTest, FirstSightReportsDeadDrivesAndPredictedFailures)
{
    struct Case {
        DriveSpec drive;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {{DRIVE_ONLINE, "F1"}, {}},
        {{DRIVE_READY, "F1", true, false}, {}},
        {{DRIVE_DEAD, "F1"}, {"404 FATAL F1"}},
        // The error counts even where support is not reported.
        {{DRIVE_ONLINE, "F1", false, true}, {"405 WARN F1", "499 WARN F1"}},
        {{DRIVE_DEAD, "F1", true, true}, {"404 FATAL F1", "405 WARN F1", "499 WARN F1"}},
        // No vendor test on first sight.
        {{DRIVE_READY, "F1", false, false, "NORVEX"}, {}},
    };
    for (const Case& c : cases) {
        fresh();
        ticking = true;
        TarnellHardDrive* d = put(*after, 2, 6, c.drive);
        std::string xml;
        TarnellEvents::checkPhyDrive(after->adapter, d, xml);
        ticking = false;
        const std::vector<ListedEvent> events = driveEvents();
        EXPECT_EQ(c.events, texts(events)) << "state " << c.drive.state;
        for (const ListedEvent& s : events) {
            EXPECT_EQ(1u, s.adapterID);
            EXPECT_EQ(2u, s.channelID);
            EXPECT_EQ(6u, s.deviceID);
        }
        // The PFA pair shares one time, which differs from the event before it.
        if (events.size() == 3) {
            EXPECT_NE(events[0].date, events[1].date);
            EXPECT_EQ(events[1].date, events[2].date);
        }
        EXPECT_EQ("", xml);
    }

    std::string xml;
    TarnellEvents::checkPhyDrive(nullptr, put(*after, 0, 0, {DRIVE_DEAD, "F"}), xml);
    TarnellEvents::checkPhyDrive(after->adapter, nullptr, xml);
    EXPECT_TRUE(driveEvents().empty());
}

// The driver's first-sight checks over a controller built from the simulator:
// the dead drive and the drive with a predictive failure, nothing for the
// unsupported one.
TEST_F(PhyDriveEventsTest, FirstSightOfABuiltController)
{
    BuildAdapter built(CONTROLLER_B, 2, TARNELL_C0);
    ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(built.adapter));
    std::string xml;
    for (RaidObject* o : built.all("HardDrive"))
        TarnellEvents::checkPhyDrive(built.adapter, static_cast<TarnellHardDrive*>(o), xml);
    const std::vector<ListedEvent> events = driveEvents();
    ASSERT_EQ(3u, events.size());
    const std::string deadFru = built.device(1, 7)->getFruNumber();
    const std::string pfaFru = built.device(1, 9)->getFruNumber();
    EXPECT_EQ((std::vector<std::string>{withFru("404 FATAL", deadFru), withFru("405 WARN", pfaFru),
                                        withFru("499 WARN", pfaFru)}),
              texts(events));
    EXPECT_EQ(7u, events[0].deviceID);
    EXPECT_EQ(9u, events[2].deviceID);
    EXPECT_EQ(built.adapter->getAdapterID(), events[0].adapterID);
}

// ---------------------------------------------------------- state changes

// One drive at (1, 3) changes from o to n; the old snapshot's FRU number is
// "OLD", the new one's "NEW". The vendor is supported.
TEST_F(PhyDriveEventsTest, StateTransitionsRowByRow)
{
    struct Case {
        EnumPhysicalDeviceState o, n;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {DRIVE_ONLINE, DRIVE_ONLINE, {}},
        {DRIVE_ONLINE, DRIVE_DEAD, {"499 FATAL NEW", "404 FATAL NEW"}},
        {DRIVE_REBUILDING, DRIVE_DEAD, {"499 FATAL NEW", "404 FATAL NEW"}},
        // A dead drive out of an empty slot is dead first.
        {DRIVE_EMPTY, DRIVE_DEAD, {"499 FATAL NEW", "404 FATAL NEW"}},
        {DRIVE_DEAD, DRIVE_SPARE, {"499 INFO NEW", "403 INFO"}},
        {DRIVE_READY, DRIVE_SPARE, {"499 INFO NEW", "497 INFO"}},
        {DRIVE_SPARE, DRIVE_READY, {"499 INFO NEW", "498 INFO"}},
        {DRIVE_EMPTY, DRIVE_ONLINE, {"499 INFO NEW", "407 INFO NEW"}},
        {DRIVE_EMPTY, DRIVE_SPARE, {"499 INFO NEW", "407 INFO NEW"}},
        {DRIVE_ONLINE, DRIVE_REBUILDING, {"499 INFO NEW", "0 REFRESH"}},
        {DRIVE_DEAD, DRIVE_READY, {"499 INFO NEW", "0 REFRESH"}},
        {DRIVE_ONLINE, DRIVE_SPARE, {"499 INFO NEW", "0 REFRESH"}},
        {DRIVE_SPARE, DRIVE_ONLINE, {"499 INFO NEW", "0 REFRESH"}},
        // Turning empty: the removal comes from the second pass, with the
        // current drive's FRU number.
        {DRIVE_ONLINE, DRIVE_EMPTY, {"499 INFO NEW", "0 REFRESH", "408 INFO NEW"}},
        {DRIVE_DEAD, DRIVE_EMPTY, {"499 INFO NEW", "0 REFRESH", "408 INFO NEW"}},
    };
    for (const Case& c : cases) {
        fresh();
        put(*before, 1, 3, {c.o, "OLD"});
        put(*after, 1, 3, {c.n, "NEW"});
        const bool changed = compare();
        const std::vector<ListedEvent> events = driveEvents();
        EXPECT_EQ(c.events, texts(events)) << c.o << " -> " << c.n;
        EXPECT_EQ(!c.events.empty(), changed) << c.o << " -> " << c.n;
        for (const ListedEvent& s : events) {
            EXPECT_EQ(1u, s.adapterID);
            EXPECT_EQ(1u, s.channelID);
            EXPECT_EQ(3u, s.deviceID);
        }
    }
}

// A drive out of an empty slot counts as added: the first-sight checks run
// on it instead of the PFA test.
TEST_F(PhyDriveEventsTest, DriveOutOfAnEmptySlotGetsTheFirstSightChecks)
{
    put(*before, 0, 2, {DRIVE_EMPTY, "OLD", true, false});
    put(*after, 0, 2, {DRIVE_DEAD, "NEW", true, true});
    put(*before, 0, 3, {DRIVE_EMPTY, "OLD", true, false});
    put(*after, 0, 3, {DRIVE_READY, "NEW", true, true});
    compare();
    EXPECT_EQ((std::vector<std::string>{"499 FATAL NEW", "404 FATAL NEW", "405 WARN NEW", "499 WARN NEW",
                                        "499 INFO NEW", "407 INFO NEW", "405 WARN NEW", "499 WARN NEW"}),
              texts(driveEvents()));
}

// ---------------------------------------------------- added and removed

TEST_F(PhyDriveEventsTest, AddedAndRemovedDrivesInPassOrder)
{
    put(*before, 0, 0, {DRIVE_ONLINE, "GONE"});            // removed
    put(*before, 0, 1, {DRIVE_ONLINE, "B-OLD"});           // turns empty
    put(*after, 0, 1, {DRIVE_EMPTY, "B-NEW"});
    put(*after, 0, 2, {DRIVE_DEAD, "ADDED", true, true});  // added, with the first-sight checks
    put(*before, 1, 4, {DRIVE_ONLINE, "SAME"});
    put(*after, 1, 4, {DRIVE_ONLINE, "SAME"});
    EXPECT_TRUE(compare());
    const std::vector<ListedEvent> events = driveEvents();
    EXPECT_EQ((std::vector<std::string>{"499 INFO B-NEW", "0 REFRESH", "407 INFO ADDED", "404 FATAL ADDED",
                                        "405 WARN ADDED", "499 WARN ADDED", "408 INFO GONE", "408 INFO B-NEW"}),
              texts(events));
    ASSERT_EQ(8u, events.size());
    const unsigned devices[] = {1, 1, 2, 2, 2, 2, 0, 1};
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(1u, events[i].adapterID) << i;
        EXPECT_EQ(0u, events[i].channelID) << i;
        EXPECT_EQ(devices[i], events[i].deviceID) << i;
    }
}

TEST_F(PhyDriveEventsTest, NullOrEqualSnapshotsGiveNothing)
{
    put(*before, 0, 0, {DRIVE_ONLINE, "F"});
    put(*after, 0, 0, {DRIVE_ONLINE, "F"});
    std::string xml;
    EXPECT_FALSE(TarnellEvents::comparePhyDriveConfigs(nullptr, after->adapter, xml));
    EXPECT_FALSE(TarnellEvents::comparePhyDriveConfigs(before->adapter, nullptr, xml));
    EXPECT_FALSE(compare());
    EXPECT_TRUE(driveEvents().empty());
}

// Another kind of device at a drive's place is no counterpart: the drive
// counts as added or removed, and the device is never read as a hard drive.
TEST_F(PhyDriveEventsTest, OtherDeviceAtTheSamePlaceIsNoCounterpart)
{
    before->enclosure(0, 5);
    put(*after, 0, 5, {DRIVE_ONLINE, "IN", true, true});
    compare();
    EXPECT_EQ((std::vector<std::string>{"407 INFO IN", "405 WARN IN", "499 WARN IN"}), texts(driveEvents()));

    fresh();
    put(*before, 0, 5, {DRIVE_ONLINE, "OUT"});
    after->enclosure(0, 5);
    compare();
    EXPECT_EQ((std::vector<std::string>{"408 INFO OUT"}), texts(driveEvents()));
}

// ------------------------------------------------------------------- PFA

TEST_F(PhyDriveEventsTest, PredictedFailureIsReportedWhenItAppears)
{
    struct Case {
        DriveSpec o, n;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {{DRIVE_ONLINE, "F", true, false}, {DRIVE_ONLINE, "F", true, true}, {"405 WARN F", "499 WARN F"}},
        {{DRIVE_ONLINE, "F", true, true}, {DRIVE_ONLINE, "F", true, false}, {}},
        {{DRIVE_ONLINE, "F", true, true}, {DRIVE_ONLINE, "F", true, true}, {}},
        // Both snapshots must report support.
        {{DRIVE_ONLINE, "F", false, false}, {DRIVE_ONLINE, "F", true, true}, {}},
        {{DRIVE_ONLINE, "F", true, false}, {DRIVE_ONLINE, "F", false, true}, {}},
        // After the state change and its event.
        {{DRIVE_ONLINE, "F", true, false},
         {DRIVE_DEAD, "F", true, true},
         {"499 FATAL F", "404 FATAL F", "405 WARN F", "499 WARN F"}},
        {{DRIVE_READY, "F", true, false},
         {DRIVE_SPARE, "F", true, true},
         {"499 INFO F", "497 INFO", "405 WARN F", "499 WARN F"}},
    };
    for (const Case& c : cases) {
        fresh();
        put(*before, 2, 1, c.o);
        put(*after, 2, 1, c.n);
        ticking = true;
        compare();
        ticking = false;
        const std::vector<ListedEvent> events = driveEvents();
        EXPECT_EQ(c.events, texts(events));
        // The pair shares one time; the events before it have their own.
        if (events.size() >= 3) {
            const size_t n = events.size();
            EXPECT_EQ(events[n - 2].date, events[n - 1].date);
            EXPECT_NE(events[n - 3].date, events[n - 2].date);
        }
    }
}

// ------------------------------------------------------ unsupported drives

// A drive of an unsupported vendor: reported at once when it has just been
// put in, otherwise when the reminder is due (which then starts a new
// period); never while its slot is empty.
TEST_F(PhyDriveEventsTest, UnsupportedDriveRowByRow)
{
    struct Case {
        EnumPhysicalDeviceState o, n;
        bool due;            // the reminder is due before the comparison
        std::vector<std::string> events;
        bool dueAfter;       // and after it
    };
    const Case cases[] = {
        {DRIVE_DEAD, DRIVE_SPARE, false, {"499 INFO U", "403 INFO", "406 WARN U"}, false},
        {DRIVE_DEAD, DRIVE_REBUILDING, false, {"499 INFO U", "0 REFRESH", "406 WARN U"}, false},
        {DRIVE_DEAD, DRIVE_READY, false, {"499 INFO U", "0 REFRESH", "406 WARN U"}, false},
        {DRIVE_EMPTY, DRIVE_DEAD, false, {"499 FATAL U", "404 FATAL U", "406 WARN U"}, false},
        // Reported at once without asking the reminder.
        {DRIVE_DEAD, DRIVE_SPARE, true, {"499 INFO U", "403 INFO", "406 WARN U"}, true},
        {DRIVE_EMPTY, DRIVE_DEAD, true, {"499 FATAL U", "404 FATAL U", "406 WARN U"}, true},
        // Any other change, or none: only when the reminder is due.
        {DRIVE_DEAD, DRIVE_ONLINE, false, {"499 INFO U", "0 REFRESH"}, false},
        {DRIVE_DEAD, DRIVE_ONLINE, true, {"499 INFO U", "0 REFRESH", "406 WARN U"}, false},
        {DRIVE_READY, DRIVE_READY, false, {}, false},
        {DRIVE_READY, DRIVE_READY, true, {"406 WARN U"}, false},
        {DRIVE_ONLINE, DRIVE_DEAD, true, {"499 FATAL U", "404 FATAL U", "406 WARN U"}, false},
        // Out of an empty slot: added, no vendor test in this comparison.
        {DRIVE_EMPTY, DRIVE_ONLINE, true, {"499 INFO U", "407 INFO U"}, true},
        // An empty slot is never reported, and the reminder is not used up.
        {DRIVE_EMPTY, DRIVE_EMPTY, true, {}, true},
        {DRIVE_ONLINE, DRIVE_EMPTY, true, {"499 INFO U", "0 REFRESH", "408 INFO U"}, true},
    };
    for (const Case& c : cases) {
        fresh();
        if (!c.due)
            reminderNotDue();
        put(*before, 1, 8, {c.o, "U", false, false, "NORVEX"});
        put(*after, 1, 8, {c.n, "U", false, false, "NORVEX"});
        compare();
        EXPECT_EQ(c.events, texts(driveEvents())) << c.o << " -> " << c.n << (c.due ? " due" : "");
        EXPECT_EQ(c.dueAfter, TarnellEvents::isTimeToReportUnsupportedDrives())
            << c.o << " -> " << c.n << (c.due ? " due" : "");
    }
}

// The reminder is process-wide: once per period, to the first unsupported
// drive that reaches it.
TEST_F(PhyDriveEventsTest, UnsupportedDriveReminderComesOncePerPeriod)
{
    for (SimController* c : {before.get(), after.get()}) {
        put(*c, 0, 0, {DRIVE_ONLINE, "S"});
        put(*c, 0, 1, {DRIVE_ONLINE, "U1", false, false, "NORVEX"});
        put(*c, 0, 2, {DRIVE_READY, "U2", false, false, " ZEQ-XJ"});
    }
    struct Step {
        uint32_t at;
        std::vector<std::string> events;
    };
    const Step steps[] = {
        {START, {"406 WARN U1"}},   // the stamp is 0: due at once
        {START + 10, {}},
        {START + UNSUPPORTED_RATE, {}},
        {START + UNSUPPORTED_RATE + 1, {"406 WARN U1"}},
        {START + UNSUPPORTED_RATE + 2, {}},
    };
    for (const Step& s : steps) {
        fakeNow = s.at;
        const uint32_t next = TarnellEvents::lastEventNumber() + 1;
        compare();
        const std::vector<ListedEvent> events = driveEvents(next);
        EXPECT_EQ(s.events, texts(events)) << "at +" << s.at - START;
        for (const ListedEvent& e : events)
            EXPECT_EQ(1u, e.deviceID);
    }
}

// --------------------------------------------- snapshots of the real build

// Two builds of a simulated controller between which one online disk dies
// and a ready disk becomes a hot spare; its unsupported ready disk gets the
// reminder (the stamp is 0), the disk with a predictive failure nothing new.
TEST_F(PhyDriveEventsTest, ChangesBetweenTwoBuilds)
{
    BuildAdapter first(CONTROLLER_B, 2, TARNELL_C0);
    ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(first.adapter));

    tarnellsim::Scenario s = tarnellsim::current();
    for (tarnellsim::Controller& c : s.controllers) {
        if (c.number != CONTROLLER_B)
            continue;
        for (tarnellsim::Device& d : c.devices) {
            if (d.channel == 1 && d.target == 0)
                d.state = DEVSTATE_DEAD;
            if (d.channel == 0 && d.target == 7)
                d.state = DEVSTATE_HOT_SPARE;
        }
    }
    tarnellsim::reset(s);
    BuildAdapter second(CONTROLLER_B, 2, TARNELL_C0);
    ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(second.adapter));

    std::string xml;
    EXPECT_TRUE(TarnellEvents::comparePhyDriveConfigs(first.adapter, second.adapter, xml));
    const std::string deadFru = second.device(1, 0)->getFruNumber();
    const std::string spareFru = second.device(0, 7)->getFruNumber();
    const std::string norvexFru = second.device(1, 8)->getFruNumber();
    const std::vector<ListedEvent> events = driveEvents();
    EXPECT_EQ((std::vector<std::string>{withFru("499 INFO", spareFru), "497 INFO", withFru("499 FATAL", deadFru),
                                        withFru("404 FATAL", deadFru), withFru("406 WARN", norvexFru)}),
              texts(events));
    ASSERT_EQ(5u, events.size());
    EXPECT_EQ(0u, events[0].channelID);
    EXPECT_EQ(7u, events[0].deviceID);
    EXPECT_EQ(1u, events[3].channelID);
    EXPECT_EQ(0u, events[3].deviceID);
    EXPECT_EQ(8u, events[4].deviceID);
    for (const ListedEvent& e : events)
        EXPECT_EQ(second.adapter->getAdapterID(), e.adapterID);
}

} // namespace
