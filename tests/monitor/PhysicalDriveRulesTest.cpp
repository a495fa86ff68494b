// The physical-drive rules on trees built in code, against the test
// catalogue: the check rule's events, then a table of transitions between a
// previous image (live, or stored and read back) and the live drive, and the
// 30-day reminder of unsupported drives.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "RulesTestUtil.h"

using namespace monitortest;

namespace {

using Rows = std::vector<std::string>;

const char* const UNSUPPORTED = "NORVEX";

// An adapter of the tests: adapter id 0, described with the serial.
TestAdapter* newAdapter(const char* serial)
{
    auto* a = new TestAdapter(0);
    a->describe("V", "N", serial, 3);
    a->setLimit(MAX_LOGICAL_DRIVES, 8);
    return a;
}

class PhysicalDriveRules : public RulesTest {
public:
    // The events of one rule call about drives of the adapter; P and R give
    // a drive's object and replacement phrases.
    std::string row(int id, int severity, const std::string& key, const std::vector<std::string>& arguments,
                    HardDrive* drive)
    {
        return driveRow(id, severity, key, arguments, adapter, drive);
    }
    std::string P(HardDrive* d) { return monitor->getEventID(d); }
    std::string R(HardDrive* d) { return monitor->getReplacementID(d); }

    Adapter* adapter = nullptr;
};

TEST_F(PhysicalDriveRules, CheckRuleReportsFailurePfaAndVendorOfEveryValidDrive)
{
    TestAdapter a(1);
    a.describe("V", "N", "SN", 3);
    adapter = &a;
    Channel* scsi = a.channel(0, SCSI);
    TestDrive* dead = a.drive(scsi, 0);
    dead->setStateProperty(DRIVE_DEAD);
    dead->setPfa(true, true);
    TestDrive* deadNoFru = a.drive(scsi, 1);
    deadNoFru->setStateProperty(DRIVE_DEAD);
    deadNoFru->setFruNumber("");
    TestDrive* pfaOnly = a.drive(scsi, 2);
    pfaOnly->setPfa(true, true);
    pfaOnly->setFruNumber("");
    pfaOnly->setVendor("");
    TestDrive* pfaUnsupported = a.drive(scsi, 3);
    pfaUnsupported->setPfa(false, true);
    TestDrive* empty = a.drive(scsi, 4);
    empty->setStateProperty(DRIVE_EMPTY);
    empty->setVendor(UNSUPPORTED);
    TestDrive* foreign = a.drive(scsi, 5);
    foreign->setVendor(UNSUPPORTED);
    a.drive(scsi, 0xFF); // spurious: passed over
    TestDrive* loose = a.drive(nullptr, 6);
    loose->setStateProperty(DRIVE_READY);

    monitor->checkPhysicalDrives(events, &a);
    const Rows rows = taken();
    const std::string change = "agentEventInfDriveStateChange";
    EXPECT_EQ(rows, (Rows{
                           // PFA takes precedence in the state change's severity.
                           row(499, 2, change, {P(dead), R(dead)}, dead),
                           row(404, 1, "agentEventErrDefunctDriveRepl", {P(dead), R(dead)}, dead),
                           row(405, 2, "agentEventWrnPFADriveRepl", {P(dead), R(dead)}, dead),
                           // Without FRU number: the id 401, the key by the vendor and model.
                           row(499, 1, change, {P(deadNoFru), R(deadNoFru)}, deadNoFru),
                           row(401, 1, "agentEventErrDefunctDriveRepl", {P(deadNoFru), R(deadNoFru)}, deadNoFru),
                           // No replacement phrase at all: the plain key; no vendor, unsupported.
                           row(499, 2, change, {P(pfaOnly), ""}, pfaOnly),
                           row(402, 2, "agentEventWrnPFADrive", {P(pfaOnly), ""}, pfaOnly),
                           row(406, 2, "agentEventWrnUnsupportedPhysDrive", {P(pfaOnly), ""}, pfaOnly),
                           row(499, 3, change, {P(pfaUnsupported), R(pfaUnsupported)}, pfaUnsupported),
                           // An empty slot is never tested for its vendor.
                           row(499, 3, change, {P(empty), R(empty)}, empty),
                           row(499, 3, change, {P(foreign), R(foreign)}, foreign),
                           row(406, 2, "agentEventWrnUnsupportedPhysDrive", {P(foreign), R(foreign)}, foreign),
                           // Below the adapter without a channel: channel id unset.
                           row(499, 3, change, {P(loose), R(loose)}, loose),
                       }));
    ASSERT_FALSE(rows.empty());
    EXPECT_NE(rows.back().find(" at 1/-/-/-/6 "), std::string::npos) << rows.back();

    // Without the vendor check no drive is unsupported.
    monitor->vendorCheck = false;
    monitor->checkPhysicalDrive(events, &a, foreign);
    EXPECT_EQ(taken(), Rows{row(499, 3, change, {P(foreign), R(foreign)}, foreign)});
}

// One transition of a drive at channel 1, device 2: its previous image o
// and the live drive n (one of them absent when the case says so; setUp runs
// only with both), events in order and whether the family hook is called
// for the pair.
struct Transition {
    const char* name;
    std::function<void(TestDrive* o, TestDrive* n)> setUp;
    std::function<Rows(PhysicalDriveRules& t, HardDrive* o, HardDrive* n)> expected;
    bool hook;
    bool oldPresent = true;
    bool newPresent = true;
};

void states(TestDrive* o, EnumPhysicalDeviceState x, TestDrive* n, EnumPhysicalDeviceState y)
{
    o->setStateProperty(x);
    n->setStateProperty(y);
}

TEST_F(PhysicalDriveRules, CompareRuleTransitions)
{
    const std::string change = "agentEventInfDriveStateChange";
    const std::string removed = "agentEventInfDeleteDiskDrive";
    const std::string added = "agentEventInfAddDiskDrive";
    const std::string failed = "agentEventErrDefunctDriveRepl";
    const std::string unsupported = "agentEventWrnUnsupportedPhysDrive";
    using T = PhysicalDriveRules;
    const Transition transitions[] = {
        {"unchanged", [](TestDrive*, TestDrive*) {}, [](T&, HardDrive*, HardDrive*) { return Rows{}; }, true},
        {"removed", [](TestDrive*, TestDrive*) {},
         [&](T& t, HardDrive* o, HardDrive*) {
             return Rows{t.row(408, 3, removed, {t.P(o)}, o), t.row(499, 1, removed, {t.P(o)}, o)};
         },
         false, true, false},
        {"online to empty", [](TestDrive* o, TestDrive* n) { states(o, DRIVE_ONLINE, n, DRIVE_EMPTY); },
         [&](T& t, HardDrive* o, HardDrive* n) {
             return Rows{t.row(408, 3, removed, {t.P(o)}, o), t.row(499, 1, removed, {t.P(o)}, o),
                         t.row(499, 3, change, {t.P(n), t.R(n)}, n)};
         },
         true},
        {"added", [](TestDrive*, TestDrive*) {},
         [&](T& t, HardDrive*, HardDrive* n) {
             return Rows{t.row(407, 3, added, {t.P(n)}, n), t.row(499, 3, change, {t.P(n), t.R(n)}, n)};
         },
         false, false, true},
        // The failed drive's fields are the old drive's, the arguments the new one's.
        {"online to dead", [](TestDrive* o, TestDrive* n) { states(o, DRIVE_ONLINE, n, DRIVE_DEAD); },
         [&](T& t, HardDrive* o, HardDrive* n) {
             return Rows{t.row(404, 1, failed, {t.P(n), t.R(n)}, o), t.row(499, 1, failed, {t.P(n), t.R(n)}, o)};
         },
         true},
        {"online to dead, old drive without FRU number",
         [](TestDrive* o, TestDrive* n) {
             states(o, DRIVE_ONLINE, n, DRIVE_DEAD);
             o->setFruNumber("");
         },
         [&](T& t, HardDrive* o, HardDrive* n) {
             return Rows{t.row(401, 1, failed, {t.P(n), t.R(n)}, o), t.row(499, 1, failed, {t.P(n), t.R(n)}, o)};
         },
         true},
        {"online to dead, no replacement phrase",
         [](TestDrive* o, TestDrive* n) {
             states(o, DRIVE_ONLINE, n, DRIVE_DEAD);
             o->setFruNumber("");
             n->setFruNumber("");
             n->setVendor("");
         },
         [&](T& t, HardDrive* o, HardDrive* n) {
             const std::string key = "agentEventErrDefunctDrive";
             return Rows{t.row(401, 1, key, {t.P(n), ""}, o), t.row(499, 1, key, {t.P(n), ""}, o)};
         },
         true},
        {"online to dead with a PFA error newly set",
         [](TestDrive* o, TestDrive* n) {
             states(o, DRIVE_ONLINE, n, DRIVE_DEAD);
             n->setPfa(true, true);
         },
         [&](T& t, HardDrive* o, HardDrive* n) {
             const std::string pfa = "agentEventWrnPFADriveRepl";
             return Rows{t.row(404, 1, failed, {t.P(n), t.R(n)}, o), t.row(499, 1, failed, {t.P(n), t.R(n)}, o),
                         t.row(405, 2, pfa, {t.P(n), t.R(n)}, n), t.row(499, 2, pfa, {t.P(n), t.R(n)}, n)};
         },
         true},
        // Back from failure on an unsupported drive: 406 at once, untimed.
        {"dead to rebuilding, unsupported",
         [](TestDrive* o, TestDrive* n) {
             states(o, DRIVE_DEAD, n, DRIVE_REBUILDING);
             n->setVendor(UNSUPPORTED);
         },
         [&](T& t, HardDrive*, HardDrive* n) {
             const std::string key = "agentEventInfDefunctReplace";
             return Rows{t.row(403, 3, key, {t.P(n), t.R(n)}, n), t.row(499, 3, key, {t.P(n), t.R(n)}, n),
                         t.row(406, 2, unsupported, {t.P(n)}, n)};
         },
         true},
        {"dead to ready, unsupported: the timed case",
         [](TestDrive* o, TestDrive* n) {
             states(o, DRIVE_DEAD, n, DRIVE_READY);
             n->setVendor(UNSUPPORTED);
         },
         [&](T& t, HardDrive*, HardDrive* n) {
             const std::string key = "agentEventInfDefunctReplace";
             return Rows{t.row(403, 3, key, {t.P(n), t.R(n)}, n), t.row(499, 3, key, {t.P(n), t.R(n)}, n)};
         },
         true},
        {"ready to spare", [](TestDrive* o, TestDrive* n) { states(o, DRIVE_READY, n, DRIVE_SPARE); },
         [&](T& t, HardDrive*, HardDrive* n) {
             const std::string key = "agentEventInfSpareCreated";
             return Rows{t.row(497, 3, key, {t.P(n), t.R(n)}, n), t.row(499, 3, key, {t.P(n), t.R(n)}, n)};
         },
         true},
        {"spare to ready", [](TestDrive* o, TestDrive* n) { states(o, DRIVE_SPARE, n, DRIVE_READY); },
         [&](T& t, HardDrive*, HardDrive* n) {
             const std::string key = "agentEventInfSpareDeleted";
             return Rows{t.row(498, 3, key, {t.P(n), t.R(n)}, n), t.row(499, 3, key, {t.P(n), t.R(n)}, n)};
         },
         true},
        {"online to spare", [](TestDrive* o, TestDrive* n) { states(o, DRIVE_ONLINE, n, DRIVE_SPARE); },
         [&](T& t, HardDrive*, HardDrive* n) { return Rows{t.row(499, 3, change, {t.P(n), t.R(n)}, n)}; }, true},
        {"empty to ready, unsupported",
         [](TestDrive* o, TestDrive* n) {
             states(o, DRIVE_EMPTY, n, DRIVE_READY);
             n->setVendor(UNSUPPORTED);
         },
         [&](T& t, HardDrive*, HardDrive* n) {
             return Rows{t.row(407, 3, added, {t.P(n), t.R(n)}, n), t.row(499, 3, change, {t.P(n), t.R(n)}, n),
                         t.row(406, 2, unsupported, {t.P(n), t.R(n)}, n),
                         t.row(499, 3, change, {t.P(n), t.R(n)}, n), t.row(406, 2, unsupported, {t.P(n)}, n)};
         },
         true},
        {"PFA error set", [](TestDrive*, TestDrive* n) { n->setPfa(true, true); },
         [&](T& t, HardDrive*, HardDrive* n) {
             const std::string key = "agentEventWrnPFADriveRepl";
             return Rows{t.row(405, 2, key, {t.P(n), t.R(n)}, n), t.row(499, 2, key, {t.P(n), t.R(n)}, n)};
         },
         true},
        {"PFA error set on a drive without FRU number",
         [](TestDrive*, TestDrive* n) {
             n->setPfa(true, true);
             n->setFruNumber("");
         },
         [&](T& t, HardDrive*, HardDrive* n) {
             const std::string key = "agentEventWrnPFADriveRepl";
             return Rows{t.row(402, 2, key, {t.P(n), t.R(n)}, n), t.row(499, 2, key, {t.P(n), t.R(n)}, n)};
         },
         true},
        {"PFA error cleared", [](TestDrive* o, TestDrive*) { o->setPfa(true, true); },
         [](T&, HardDrive*, HardDrive*) { return Rows{}; }, true},
        {"PFA error set, old image without PFA support",
         [](TestDrive* o, TestDrive* n) {
             o->setPfa(false, false);
             n->setPfa(true, true);
         },
         [](T&, HardDrive*, HardDrive*) { return Rows{}; }, true},
        // Quiet pairs are passed over: no PFA, vendor or hook step.
        {"online to rebuilding with a PFA error set",
         [](TestDrive* o, TestDrive* n) {
             states(o, DRIVE_ONLINE, n, DRIVE_REBUILDING);
             n->setPfa(true, true);
         },
         [](T&, HardDrive*, HardDrive*) { return Rows{}; }, false},
        {"empty to empty, unsupported",
         [](TestDrive* o, TestDrive* n) {
             states(o, DRIVE_EMPTY, n, DRIVE_EMPTY);
             n->setVendor(UNSUPPORTED);
         },
         [](T&, HardDrive*, HardDrive*) { return Rows{}; }, true},
    };

    for (OldSide side : OLD_SIDES) {
        SCOPED_TRACE(sideName(side));
        for (const Transition& c : transitions) {
            SCOPED_TRACE(c.name);
            // The old adapter has another serial, so that the old drive's
            // phrase differs from the new one's. Both hold a drive whose
            // image is the same before the one of the case.
            TestAdapter* oldAdapter = newAdapter("OLD");
            oldAdapter->drive(oldAdapter->channel(0, SCSI), 9);
            Channel* oldChannel = oldAdapter->channel(1, SCSI);
            TestDrive* o = c.oldPresent ? oldAdapter->drive(oldChannel, 2) : nullptr;
            if (o) {
                o->setSerialNumber("OLDSER");
                o->setFruNumber("FRU-OLD");
            }
            std::unique_ptr<TestAdapter> now(newAdapter("NEW"));
            now->drive(now->channel(0, SCSI), 9);
            Channel* newChannel = now->channel(1, SCSI);
            TestDrive* n = c.newPresent ? now->drive(newChannel, 2) : nullptr;
            if (o && n)
                c.setUp(o, n);
            adapter = now.get();
            const Rows expected = c.expected(*this, o, n);
            OldImage old(oldAdapter, side);

            monitor->comparePhysicalDrives(events, now.get(), old.get());
            EXPECT_EQ(taken(), expected);
            Rows hooks{"drive 0/0/9"};
            if (c.hook)
                hooks.push_back("drive 0/1/2");
            EXPECT_EQ(takenHooks(), hooks);
        }
    }
}

TEST_F(PhysicalDriveRules, UnsupportedDrivesShareOneThirtyDayWindow)
{
    TestAdapter* oldAdapter = newAdapter("A");
    std::unique_ptr<TestAdapter> now(newAdapter("A"));
    adapter = now.get();
    std::vector<HardDrive*> drives;
    for (unsigned long id = 0; id < 3; ++id) {
        oldAdapter->drive(oldAdapter->channel(0, SCSI), id)->setVendor(UNSUPPORTED);
        TestDrive* d = now->drive(now->channel(0, SCSI), id);
        d->setVendor(UNSUPPORTED);
        drives.push_back(d);
    }
    OldImage old(oldAdapter, OldSide::LIVE);
    const std::string key = "agentEventWrnUnsupportedPhysDrive";

    // The monitor's construction used the first window up.
    monitor->comparePhysicalDrives(events, now.get(), old.get());
    EXPECT_EQ(taken(), Rows{});

    for (int window = 0; window < 2; ++window) {
        FixedClock::advance(BaseRaidMonitor::UNSUPPORTED_DRIVES_INTERVAL);
        monitor->comparePhysicalDrives(events, now.get(), old.get());
        // The first drive in list order takes every window.
        EXPECT_EQ(taken(), Rows{row(406, 2, key, {P(drives[0])}, drives[0])});
        monitor->comparePhysicalDrives(events, now.get(), old.get());
        EXPECT_EQ(taken(), Rows{});
    }
    EXPECT_FALSE(monitor->isTimeToReportUnsupportedDrives());
}

TEST_F(PhysicalDriveRules, MissingAdaptersRaiseNothing)
{
    TestAdapter a(0);
    a.drive(a.channel(0, SCSI), 1)->setStateProperty(DRIVE_DEAD);
    monitor->checkPhysicalDrives(events, nullptr);
    monitor->comparePhysicalDrives(events, &a, nullptr);
    monitor->comparePhysicalDrives(events, nullptr, &a);
    EXPECT_EQ(taken(), Rows{});
    EXPECT_EQ(takenHooks(), Rows{});
}

} // namespace
