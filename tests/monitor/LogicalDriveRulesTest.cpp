// The logical-drive rules on trees built in code, against the test
// catalogue: the check rule, a table of transitions between a previous image
// (live, or stored and read back) and the live drive, the texts of a new
// drive, and the 8-hour reminder of critical drives.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RulesTestUtil.h"

using namespace monitortest;

namespace {

using Rows = std::vector<std::string>;

const char* const CHANGE = "agentEventInfLogicalStateChange";

// A Tarnell adapter of the tests (sizes in MB), with room for logical
// drives 0 to 8.
std::unique_ptr<TestAdapter> newAdapter(unsigned long id, const char* serial)
{
    auto a = std::make_unique<TestAdapter>(id, "TarnellAdapter");
    a->describe("V", "N", serial, 3);
    a->setLimit(MAX_LOGICAL_DRIVES, 8);
    return a;
}

class LogicalDriveRules : public RulesTest {
public:
    std::string row(int id, int severity, const std::string& key, const std::vector<std::string>& arguments,
                    LogicalDrive* drive)
    {
        return logicalRow(id, severity, key, arguments, adapter, drive);
    }
    std::string P(LogicalDrive* d) { return monitor->getEventID(d); }
    // 346 of a new RAID-5 drive of 20 GB, then what the check rule says of
    // it in state OKAY.
    Rows added(LogicalDrive* d)
    {
        return Rows{row(346, 3, "agentEventInfAddLogDrive", {P(d), "20.00 GB", "5", ""}, d),
                    row(399, 3, CHANGE, {P(d)}, d)};
    }

    Adapter* adapter = nullptr;
};

TEST_F(LogicalDriveRules, CheckRuleReportsStateAndBlockedFlagOfEveryValidDrive)
{
    std::unique_ptr<TestAdapter> a = newAdapter(1, "SN");
    adapter = a.get();
    TestLogicalDrive* okay = a->logical(0);
    TestLogicalDrive* offline = a->logical(1);
    offline->setStatus(OFFLINE, true);
    TestLogicalDrive* critical = a->logical(2);
    critical->setStatus(CRITICAL, true);
    TestLogicalDrive* criticalSystem = a->logical(3);
    criticalSystem->setStatus(CRITICAL_SYSTEM);
    TestLogicalDrive* system = a->logical(4);
    system->setStatus(SYSTEM);
    TestLogicalDrive* degraded = a->logical(5);
    degraded->setStatus(DEGRADED_FAULT_TOLERANT);
    a->logical(9)->setStatus(OFFLINE); // beyond the adapter's limit: passed over

    monitor->checkLogicalDrives(events, a.get());
    EXPECT_EQ(taken(), (Rows{
                           row(399, 3, CHANGE, {P(okay)}, okay),
                           row(399, 1, CHANGE, {P(offline)}, offline),
                           row(303, 1, "agentEventErrLogicalOffline", {P(offline)}, offline),
                           row(302, 1, "agentEventErrLogicalBlocked", {P(offline)}, offline),
                           row(399, 2, CHANGE, {P(critical)}, critical),
                           row(301, 2, "agentEventWrnLogicalCritical", {P(critical)}, critical),
                           row(302, 1, "agentEventErrLogicalBlocked", {P(critical)}, critical),
                           // The drives of a migration: only the check rule sees them.
                           row(399, 2, CHANGE, {P(criticalSystem)}, criticalSystem),
                           row(301, 2, "agentEventWrnLogicalCritical", {P(criticalSystem)}, criticalSystem),
                           row(399, 3, CHANGE, {P(system)}, system),
                           row(399, 3, CHANGE, {P(degraded)}, degraded),
                       }));
    monitor->checkLogicalDrives(events, nullptr);
    EXPECT_EQ(taken(), Rows{});
}

// One transition of logical drive 1: its previous image o and the live drive
// n (null when the case says it is absent), events in order and whether the family hook is called for the pair.
struct Transition {
    const char* name;
    std::function<void(TestLogicalDrive* o, TestLogicalDrive* n)> setUp;
    std::function<Rows(LogicalDriveRules& t, LogicalDrive* o, LogicalDrive* n)> expected;
    bool hook;
    bool oldPresent = true;
    bool newPresent = true;
};

// The states (and blocked flags) of the two sides.
std::function<void(TestLogicalDrive*, TestLogicalDrive*)> from(EnumLogicalDeviceState x, EnumLogicalDeviceState y,
                                                               bool oldBlocked = false, bool newBlocked = false)
{
    return [=](TestLogicalDrive* o, TestLogicalDrive* n) {
        if (o)
            o->setStatus(x, oldBlocked);
        if (n)
            n->setStatus(y, newBlocked);
    };
}

TEST_F(LogicalDriveRules, CompareRuleTransitions)
{
    using T = LogicalDriveRules;
    auto none = [](T&, LogicalDrive*, LogicalDrive*) { return Rows{}; };
    const std::string deleted = "agentEventInfDeleteLogDrive";
    // The specific event, then the state change with its text.
    auto pair = [](int id, int severity, const char* key) {
        return [=](T& t, LogicalDrive*, LogicalDrive* n) {
            return Rows{t.row(id, severity, key, {t.P(n)}, n), t.row(399, severity, key, {t.P(n)}, n)};
        };
    };
    auto plain = [](T& t, LogicalDrive*, LogicalDrive* n) { return Rows{t.row(399, 3, CHANGE, {t.P(n)}, n)}; };
    const Transition transitions[] = {
        {"unchanged", from(OKAY, OKAY), none, true},
        {"deleted", from(OKAY, OKAY),
         [&](T& t, LogicalDrive* o, LogicalDrive*) { return Rows{t.row(347, 3, deleted, {t.P(o)}, o)}; }, false,
         true, false},
        {"added", from(OKAY, OKAY), [](T& t, LogicalDrive*, LogicalDrive* n) { return t.added(n); }, false, false,
         true},
        // From a quiet state to FREE: deleted, and the pair passed over.
        {"okay to free", from(OKAY, FREE),
         [&](T& t, LogicalDrive* o, LogicalDrive*) { return Rows{t.row(347, 3, deleted, {t.P(o)}, o)}; }, false},
        {"migrating to free", from(MIGRATING, FREE),
         [&](T& t, LogicalDrive* o, LogicalDrive*) { return Rows{t.row(347, 3, deleted, {t.P(o)}, o)}; }, false},
        {"critical to free", from(CRITICAL, FREE),
         [&](T& t, LogicalDrive* o, LogicalDrive* n) {
             return Rows{t.row(347, 3, deleted, {t.P(o)}, o), t.row(399, 3, CHANGE, {t.P(n)}, n)};
         },
         true},
        {"free to okay", from(FREE, OKAY), none, false},
        {"free to degraded", from(FREE, DEGRADED_FAULT_TOLERANT),
         [](T& t, LogicalDrive*, LogicalDrive* n) {
             return Rows{t.row(346, 3, "agentEventInfAddLogDrive", {t.P(n), "20.00 GB", "5", ""}, n),
                         t.row(399, 3, CHANGE, {t.P(n)}, n)};
         },
         false},
        {"free to critical", from(FREE, CRITICAL), pair(301, 2, "agentEventWrnLogicalCritical"), true},
        {"okay to critical", from(OKAY, CRITICAL), pair(301, 2, "agentEventWrnLogicalCritical"), true},
        {"okay to critical migrating", from(OKAY, CRITICAL_MIGRATING), pair(301, 2, "agentEventWrnLogicalCritical"),
         true},
        {"critical to critical migrating", from(CRITICAL, CRITICAL_MIGRATING), plain, true},
        {"critical to okay", from(CRITICAL, OKAY), pair(345, 3, "agentEventInfLogicalOk"), true},
        {"degraded to okay", from(DEGRADED_FAULT_TOLERANT, OKAY), pair(345, 3, "agentEventInfLogicalOk"), true},
        {"okay to degraded", from(OKAY, DEGRADED_FAULT_TOLERANT), plain, true},
        {"offline to critical", from(OFFLINE, CRITICAL), pair(301, 2, "agentEventWrnLogicalCritical"), true},
        {"okay to offline and blocked", from(OKAY, OFFLINE, false, true),
         [](T& t, LogicalDrive*, LogicalDrive* n) {
             const char* offline = "agentEventErrLogicalOffline";
             const char* blocked = "agentEventErrLogicalBlocked";
             return Rows{t.row(303, 1, offline, {t.P(n)}, n), t.row(399, 1, offline, {t.P(n)}, n),
                         t.row(302, 1, blocked, {t.P(n)}, n), t.row(399, 1, blocked, {t.P(n)}, n)};
         },
         true},
        {"unblocked", from(OKAY, OKAY, true, false), pair(331, 3, "agentEventInfUnblock"), true},
        {"blocked", from(CRITICAL, CRITICAL, false, true), pair(302, 1, "agentEventErrLogicalBlocked"), true},
        // Quiet pairs skip the blocked-flag test and the hook.
        {"okay to migrating, blocked", from(OKAY, MIGRATING, false, true), none, false},
        // The drives of a migration are invisible to the compare rule.
        {"okay to system", from(OKAY, SYSTEM), none, false},
        {"okay to critical system", from(OKAY, CRITICAL_SYSTEM), none, false},
        {"system, deleted", from(SYSTEM, OKAY), none, false, true, false},
        {"critical system to okay", from(CRITICAL_SYSTEM, OKAY), pair(345, 3, "agentEventInfLogicalOk"), true},
    };

    for (OldSide side : OLD_SIDES) {
        SCOPED_TRACE(sideName(side));
        for (const Transition& c : transitions) {
            SCOPED_TRACE(c.name);
            // The old adapter has another serial, so that the old drive's
            // phrase differs from the new one's. Both hold a drive whose
            // image is the same before the drive of the case; the new one
            // also a drive beyond the limit, passed over.
            TestAdapter* oldAdapter = newAdapter(0, "OLD").release();
            oldAdapter->logical(0);
            TestLogicalDrive* o = c.oldPresent ? oldAdapter->logical(1, RAID5, 20480) : nullptr;
            std::unique_ptr<TestAdapter> now = newAdapter(0, "NEW");
            now->logical(0);
            TestLogicalDrive* n = c.newPresent ? now->logical(1, RAID5, 20480) : nullptr;
            now->logical(9)->setStatus(OFFLINE, true);
            c.setUp(o, n);
            adapter = now.get();
            const Rows expected = c.expected(*this, o, n);
            OldImage old(oldAdapter, side);

            monitor->compareLogicalDrives(events, now.get(), old.get());
            EXPECT_EQ(taken(), expected);
            Rows hooks{"logical 0/0"};
            if (c.hook)
                hooks.push_back("logical 0/1");
            EXPECT_EQ(takenHooks(), hooks);
        }
    }
}

TEST_F(LogicalDriveRules, NewDriveTellsItsSizeLevelAndInitialization)
{
    struct Case {
        const char* family;
        EnumStorLibType type;
        EnumRaidLevel level;
        BLOCK_T dataSpace;
        bool quickInit;
        std::vector<std::string> details; // size, level, initialization
    };
    const Case cases[] = {
        {"PelmAdapter", STORLIB_UNKNOWN, RAID5, 20480, false, {"20.00 GB", "5", ""}},
        {"TarnellAdapter", STORLIB_UNKNOWN, RAID1E, 1536, true,
         {"1.50 GB", "infoLogDriveRAID1E", ", Method = LD_SUB_QUICK_INIT"}},
        // A Tarnell adapter known by its library type alone.
        {nullptr, STORLIB_TARNELL, RAID10, 100000, false, {"97.66 GB", "RAID10", ""}},
        // Vesk sizes are in 512-byte blocks.
        {"VeskAdapter", STORLIB_UNKNOWN, RAID60, 41943040, false, {"20.00 GB", "RAID60", ""}},
    };
    for (OldSide side : OLD_SIDES) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.family ? c.family : "library type");
            auto now = std::make_unique<TestAdapter>(2, c.family);
            now->setLibraryType(c.type);
            now->describe("V", "N", "SN2", 1);
            now->setLimit(MAX_LOGICAL_DRIVES, 8);
            TestLogicalDrive* n = now->logical(3, c.level, c.dataSpace);
            if (c.quickInit)
                n->setSubState(LD_SUB_QUICK_INIT);
            auto* oldAdapter = new TestAdapter(2, c.family);
            oldAdapter->setLimit(MAX_LOGICAL_DRIVES, 8);
            OldImage old(oldAdapter, side);
            adapter = now.get();
            std::vector<std::string> arguments{P(n)};
            arguments.insert(arguments.end(), c.details.begin(), c.details.end());

            monitor->compareLogicalDrives(events, now.get(), old.get());
            EXPECT_EQ(taken(), (Rows{row(346, 3, "agentEventInfAddLogDrive", arguments, n),
                                     row(399, 3, CHANGE, {P(n)}, n)}));
        }
    }
}

TEST_F(LogicalDriveRules, CriticalReminderOncePerWindowAcrossAdapters)
{
    // Adapter 0 without critical drives; adapter 1 with two paired critical
    // drives behind an okay one; adapter 2 with a critical drive that is new.
    std::unique_ptr<TestAdapter> calm = newAdapter(0, "A");
    calm->logical(0);
    TestAdapter* calmImage = newAdapter(0, "A").release();
    calmImage->logical(0);
    OldImage calmOld(calmImage, OldSide::LIVE);
    std::unique_ptr<TestAdapter> critical = newAdapter(1, "B");
    TestAdapter* criticalOld = newAdapter(1, "B").release();
    std::vector<TestLogicalDrive*> criticalDrives;
    for (unsigned long id = 0; id < 3; ++id) {
        const EnumLogicalDeviceState state = id == 0 ? OKAY : id == 1 ? CRITICAL : CRITICAL_MIGRATING;
        criticalDrives.push_back(critical->logical(id));
        criticalDrives.back()->setStatus(state);
        criticalOld->logical(id)->setStatus(state);
    }
    OldImage criticalImage(criticalOld, OldSide::LIVE);
    std::unique_ptr<TestAdapter> fresh = newAdapter(2, "C");
    TestLogicalDrive* freshDrive = fresh->logical(0);
    freshDrive->setStatus(CRITICAL);
    OldImage freshOld(newAdapter(2, "C").release(), OldSide::LIVE);

    auto compare = [&](Adapter* now, const OldImage& old) { monitor->compareLogicalDrives(events, now, old.get()); };
    // The monitor's construction used the first window up.
    compare(critical.get(), criticalImage);
    EXPECT_EQ(taken(), Rows{});

    // The first comparison after the window opens uses it up.
    FixedClock::advance(BaseRaidMonitor::CRITICAL_LOGICAL_DRIVES_INTERVAL);
    compare(calm.get(), calmOld);
    compare(critical.get(), criticalImage);
    EXPECT_EQ(taken(), Rows{});

    // A new critical drive is not counted.
    FixedClock::advance(BaseRaidMonitor::CRITICAL_LOGICAL_DRIVES_INTERVAL);
    compare(fresh.get(), freshOld);
    compare(critical.get(), criticalImage);
    adapter = fresh.get();
    EXPECT_EQ(taken(), (Rows{row(346, 3, "agentEventInfAddLogDrive", {P(freshDrive), "0.00 GB", "5", ""}, freshDrive),
                             row(399, 2, CHANGE, {P(freshDrive)}, freshDrive),
                             row(301, 2, "agentEventWrnLogicalCritical", {P(freshDrive)}, freshDrive)}));

    // One reminder naming the first paired critical drive; none for the
    // adapter after it, nor in the same window again.
    FixedClock::advance(BaseRaidMonitor::CRITICAL_LOGICAL_DRIVES_INTERVAL);
    compare(critical.get(), criticalImage);
    compare(calm.get(), calmOld);
    compare(critical.get(), criticalImage);
    adapter = critical.get();
    LogicalDrive* first = criticalDrives[1];
    EXPECT_EQ(taken(), Rows{row(338, 2, "agentEventWrnCriticalLogicalDrivePeriodic", {P(first)}, first)});

    // A comparison without one of its adapters leaves the window open.
    FixedClock::advance(BaseRaidMonitor::CRITICAL_LOGICAL_DRIVES_INTERVAL);
    monitor->compareLogicalDrives(events, critical.get(), nullptr);
    monitor->compareLogicalDrives(events, nullptr, critical.get());
    compare(critical.get(), criticalImage);
    EXPECT_EQ(taken(), Rows{row(338, 2, "agentEventWrnCriticalLogicalDrivePeriodic", {P(first)}, first)});
}

} // namespace
