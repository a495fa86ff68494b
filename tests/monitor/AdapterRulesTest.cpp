// The adapter rules on adapters built in code, against the test catalogue:
// the start-up check, a table of comparisons (each with the old adapter live
// and stored as a snapshot and read back) and the bad-stripe reminder that
// all adapters of a monitor share.
#include <gtest/gtest.h>

#include <functional>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "RulesTestUtil.h"
#include "support/TestUtil.h"

using namespace monitortest;

namespace {

using Rows = std::vector<std::string>;

class AdapterRules : public RulesTest {
public:
    std::string row(int id, int severity, const std::string& key, const std::vector<std::string>& arguments)
    {
        return adapterRow(id, severity, key, arguments, adapter);
    }
    // The adapter's phrase, the first argument of every event.
    std::string P() { return monitor->getEventID(adapter); }

    TestAdapter* adapter = nullptr;
};

// A working adapter with a battery in order and matching code versions.
std::unique_ptr<TestAdapter> workingAdapter(unsigned long id, const char* serial)
{
    auto a = std::make_unique<TestAdapter>(id);
    a->describe("V", "N", serial, 3);
    a->setBattery(BATTERY_STATUS_OK);
    a->setVersions(CODE_VERSION_MATCH, "B1", "F1", "D1");
    return a;
}

const char* const CHANGE = "agentEventInfControllerStateChange";

TEST_F(AdapterRules, CheckReportsTheStateOfAnAdapterSeenFirst)
{
    struct Case {
        const char* name;
        std::function<void(TestAdapter&)> setUp;
        std::function<Rows(AdapterRules&)> expected;
    };
    using T = AdapterRules;
    const Case cases[] = {
        {"working, nothing to tell", [](TestAdapter&) {}, [](T& t) { return Rows{t.row(299, 3, CHANGE, {t.P()})}; }},
        // A failed adapter tells of nothing else.
        {"failed",
         [](TestAdapter& a) {
             a.setStatus(CONTROLLER_STATUS_FAILED);
             a.setBattery(BATTERY_STATUS_FAILED);
             a.setBatteryWarning(true);
             a.setVersions(CODE_VERSION_NO_MATCH, "B", "F", "D");
             a.setHeat(true, 90, 60);
             a.logical(0)->setBadStripes(1);
         },
         [](T& t) {
             return Rows{t.row(299, 1, CHANGE, {t.P()}), t.row(202, 1, "agentEventErrController", {t.P()})};
         }},
        {"battery failed and over temperature",
         [](TestAdapter& a) {
             a.setBattery(BATTERY_STATUS_FAILED);
             a.setBatteryWarning(true);
         },
         [](T& t) {
             const std::string failed = "agentEventErrBBCNewBattery", hot = "agentEventWrnBatteryOvertemp";
             return Rows{t.row(299, 3, CHANGE, {t.P()}), t.row(203, 1, failed, {t.P()}),
                         t.row(299, 2, failed, {t.P()}),    t.row(211, 2, hot, {t.P()}),
                         t.row(299, 2, hot, {t.P()})};
         }},
        {"battery discharging",
         [](TestAdapter& a) { a.setBattery(BATTERY_STATUS_DISCHARGING); },
         [](T& t) {
             const std::string low = "agentEventWrnBatteryLow";
             return Rows{t.row(299, 3, CHANGE, {t.P()}), t.row(214, 2, low, {t.P()}), t.row(299, 2, low, {t.P()})};
         }},
        {"battery in maintenance", [](TestAdapter& a) { a.setBattery(BATTERY_STATUS_MAINTENANCE); },
         [](T& t) { return Rows{t.row(299, 3, CHANGE, {t.P()})}; }},
        {"no battery, temperature warning set",
         [](TestAdapter& a) {
             a.setBattery(BATTERY_STATUS_NOT_INSTALLED);
             a.setBatteryWarning(true);
         },
         [](T& t) { return Rows{t.row(299, 3, CHANGE, {t.P()})}; }},
        // The versions lengthen the argument list for the events after 210.
        {"versions do not match, over temperature, bad stripes",
         [](TestAdapter& a) {
             a.setVersions(CODE_VERSION_NO_MATCH, "B9", "F9", "D9");
             a.setHeat(true, 60, 60);
             a.logical(1)->setBadStripes(2);
         },
         [](T& t) {
             const std::vector<std::string> four{t.P(), "B9", "F9", "D9"};
             return Rows{t.row(299, 3, CHANGE, {t.P()}), t.row(210, 2, "agentEventWrnMismatchedVersions", four),
                         t.row(213, 2, "agentEventWrnControllerOvertemp", four),
                         t.row(215, 2, "agentEventWrnBadStripes", four)};
         }},
        {"below its temperature threshold, version match not supported",
         [](TestAdapter& a) {
             a.setHeat(true, 59, 60);
             a.setVersions(CODE_VERSION_NOT_SUPPORTED, "B", "F", "D");
         },
         [](T& t) { return Rows{t.row(299, 3, CHANGE, {t.P()})}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<TestAdapter> a = workingAdapter(4, "SN4");
        c.setUp(*a);
        adapter = a.get();
        monitor->checkAdapter(events, a.get());
        EXPECT_EQ(taken(), c.expected(*this));
    }
    monitor->checkAdapter(events, nullptr);
    EXPECT_EQ(taken(), Rows{});
}

TEST_F(AdapterRules, CompareReportsEveryChangeAndAnswersTheResult)
{
    struct Case {
        const char* name;
        std::function<void(TestAdapter& now, TestAdapter& old)> setUp;
        std::function<Rows(AdapterRules&)> expected;
        int result;
        bool hook;
    };
    using T = AdapterRules;
    const std::string normal = "agentEventInfBatteryNormal";
    const Case cases[] = {
        {"unchanged", [](TestAdapter&, TestAdapter&) {}, [](T&) { return Rows{}; }, 12, true},
        {"working again after failure", [](TestAdapter&, TestAdapter& o) { o.setStatus(CONTROLLER_STATUS_FAILED); },
         [](T& t) { return Rows{t.row(208, 3, "agentEventInfControllerReplace", {t.P()})}; }, 11, false},
        // Nothing else is compared for a newly failed adapter.
        {"failed after working",
         [](TestAdapter& n, TestAdapter&) {
             n.setStatus(CONTROLLER_STATUS_FAILED);
             n.setBattery(BATTERY_STATUS_FAILED);
         },
         [](T& t) {
             return Rows{t.row(299, 1, CHANGE, {t.P()}), t.row(202, 1, "agentEventErrController", {t.P()})};
         },
         13, false},
        {"failed before and after, battery failing",
         [](TestAdapter& n, TestAdapter& o) {
             n.setStatus(CONTROLLER_STATUS_FAILED);
             o.setStatus(CONTROLLER_STATUS_FAILED);
             n.setBattery(BATTERY_STATUS_FAILED);
         },
         [](T& t) {
             const std::string key = "agentEventErrBBCNewBattery";
             return Rows{t.row(203, 1, key, {t.P()}), t.row(299, 2, key, {t.P()})};
         },
         13, true},
        {"failed after passive",
         [](TestAdapter& n, TestAdapter& o) {
             n.setStatus(CONTROLLER_STATUS_FAILED);
             o.setStatus(CONTROLLER_STATUS_PASSIVE);
         },
         [](T& t) { return Rows{t.row(299, 1, CHANGE, {t.P()})}; }, 13, true},
        {"passive after working", [](TestAdapter& n, TestAdapter&) { n.setStatus(CONTROLLER_STATUS_PASSIVE); },
         [](T& t) { return Rows{t.row(299, 3, CHANGE, {t.P()})}; }, 13, true},
        {"battery failed on both sides",
         [](TestAdapter& n, TestAdapter& o) {
             n.setBattery(BATTERY_STATUS_FAILED);
             o.setBattery(BATTERY_STATUS_FAILED);
         },
         [](T&) { return Rows{}; }, 12, true},
        {"battery discharging",
         [](TestAdapter& n, TestAdapter&) { n.setBattery(BATTERY_STATUS_DISCHARGING); },
         [](T& t) {
             const std::string key = "agentEventWrnBatteryLow";
             return Rows{t.row(214, 2, key, {t.P()}), t.row(299, 2, key, {t.P()})};
         },
         12, true},
        {"battery failed to charging",
         [&](TestAdapter& n, TestAdapter& o) {
             n.setBattery(BATTERY_STATUS_CHARGING);
             o.setBattery(BATTERY_STATUS_FAILED);
         },
         [&](T& t) { return Rows{t.row(217, 3, normal, {t.P()}), t.row(299, 3, normal, {t.P()})}; }, 12, true},
        {"battery charging to in order",
         [](TestAdapter& n, TestAdapter& o) {
             n.setBattery(BATTERY_STATUS_OK);
             o.setBattery(BATTERY_STATUS_CHARGING);
         },
         [](T&) { return Rows{}; }, 12, true},
        // Only the new adapter's battery is tested for being installed.
        {"battery removed, temperature warning cleared",
         [](TestAdapter& n, TestAdapter& o) {
             n.setBattery(BATTERY_STATUS_NOT_INSTALLED);
             o.setBatteryWarning(true);
         },
         [](T&) { return Rows{}; }, 12, true},
        {"battery temperature warning set",
         [](TestAdapter& n, TestAdapter&) { n.setBatteryWarning(true); },
         [](T& t) {
             const std::string key = "agentEventWrnBatteryOvertemp";
             return Rows{t.row(211, 2, key, {t.P()}), t.row(299, 2, key, {t.P()})};
         },
         12, true},
        {"battery temperature warning cleared",
         [](TestAdapter&, TestAdapter& o) { o.setBatteryWarning(true); },
         [](T& t) {
             const std::string key = "agentEventInfBatteryTempNormal";
             return Rows{t.row(216, 3, key, {t.P()}), t.row(299, 3, key, {t.P()})};
         },
         12, true},
        // The compare reports no versions and no adapter temperature.
        {"versions do not match, over temperature",
         [](TestAdapter& n, TestAdapter&) {
             n.setVersions(CODE_VERSION_NO_MATCH, "B", "F", "D");
             n.setHeat(true, 90, 60);
         },
         [](T&) { return Rows{}; }, 12, true},
    };
    for (OldSide side : OLD_SIDES) {
        SCOPED_TRACE(sideName(side));
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            std::unique_ptr<TestAdapter> now = workingAdapter(2, "NEW");
            TestAdapter* oldAdapter = workingAdapter(2, "OLD").release();
            c.setUp(*now, *oldAdapter);
            OldImage old(oldAdapter, side);
            adapter = now.get();
            EXPECT_EQ(monitor->compareAdapter(events, now.get(), old.get()), c.result);
            EXPECT_EQ(taken(), c.expected(*this));
            EXPECT_EQ(takenHooks(), c.hook ? Rows{"adapter 2"} : Rows{});
        }
    }
}

TEST_F(AdapterRules, CompareWithoutOldAdapterRaisesOnlyAddedAndWithoutNewAdapterNothing)
{
    std::unique_ptr<TestAdapter> now = workingAdapter(1, "NEW");
    now->setStatus(CONTROLLER_STATUS_FAILED);
    now->setBattery(BATTERY_STATUS_FAILED);
    now->logical(0)->setBadStripes(1);
    adapter = now.get();
    FixedClock::advance(BaseRaidMonitor::BAD_STRIPE_INTERVAL);
    EXPECT_EQ(monitor->compareAdapter(events, now.get(), nullptr), BaseRaidMonitor::ADAPTER_COMPARE_ADDED);
    EXPECT_EQ(taken(), Rows{row(207, 3, "agentEventInfControllerAdded", {P()})});

    EXPECT_EQ(monitor->compareAdapter(events, nullptr, now.get()), BaseRaidMonitor::ADAPTER_COMPARE_NOT_WORKING);
    EXPECT_EQ(taken(), Rows{});
    EXPECT_EQ(takenHooks(), Rows{});
    // Neither call reached the reminder: its window is still open.
    EXPECT_TRUE(monitor->isTimeToReportBadStripe());
}

TEST_F(AdapterRules, OneBadStripeWindowServesAllAdapters)
{
    std::unique_ptr<TestAdapter> clean = workingAdapter(0, "A");
    std::unique_ptr<TestAdapter> striped = workingAdapter(1, "B");
    striped->logical(0)->setBadStripes(3);
    OldImage oldClean(workingAdapter(0, "A").release(), OldSide::LIVE);
    OldImage oldStriped(workingAdapter(1, "B").release(), OldSide::LIVE);
    auto compareBoth = [&](bool stripedFirst) {
        if (stripedFirst)
            monitor->compareAdapter(events, striped.get(), oldStriped.get());
        monitor->compareAdapter(events, clean.get(), oldClean.get());
        if (!stripedFirst)
            monitor->compareAdapter(events, striped.get(), oldStriped.get());
    };

    // The monitor's construction used the first window up.
    compareBoth(true);
    EXPECT_EQ(taken(), Rows{});

    // An adapter without bad stripes compared first uses the window up.
    FixedClock::advance(BaseRaidMonitor::BAD_STRIPE_INTERVAL);
    compareBoth(false);
    EXPECT_EQ(taken(), Rows{});

    FixedClock::advance(BaseRaidMonitor::BAD_STRIPE_INTERVAL);
    compareBoth(true);
    adapter = striped.get();
    EXPECT_EQ(taken(), Rows{row(215, 2, "agentEventWrnBadStripes", {P()})});
    compareBoth(true);
    EXPECT_EQ(taken(), Rows{});
}

// The trace and error lines of every rule, in the groups of the debug mask.
TEST_F(AdapterRules, RulesWriteTheirTraceAndErrorLines)
{
    std::unique_ptr<TestAdapter> a = workingAdapter(4, "SN4");
    a->setLimit(MAX_LOGICAL_DRIVES, 8);
    a->drive(a->channel(0, SCSI), 3);
    a->logical(2)->setStatus(CRITICAL);
    std::unique_ptr<TestAdapter> b = workingAdapter(4, "OLD");
    b->setLimit(MAX_LOGICAL_DRIVES, 8);
    auto runAll = [&] {
        monitor->checkAdapter(events, nullptr);
        monitor->checkAdapter(events, a.get());
        monitor->compareAdapter(events, nullptr, a.get());
        monitor->compareAdapter(events, a.get(), nullptr);
        monitor->compareAdapter(events, a.get(), b.get());
        monitor->checkPhysicalDrives(events, nullptr);
        monitor->checkPhysicalDrives(events, a.get());
        monitor->comparePhysicalDrives(events, a.get(), nullptr);
        monitor->comparePhysicalDrives(events, b.get(), a.get());
        monitor->checkLogicalDrives(events, nullptr);
        monitor->checkLogicalDrives(events, a.get());
        monitor->compareLogicalDrives(events, nullptr, a.get());
        monitor->compareLogicalDrives(events, b.get(), a.get());
    };
    // The lines of the rules in the debug log, without their time stamps.
    const std::string log = dir.logDir() + "WATCHTESTDebug.log";
    auto ruleLines = [&] {
        std::vector<std::string> lines;
        std::istringstream text(testsupport::readFile(log));
        for (std::string line; std::getline(text, line);) {
            const std::string::size_type start = line.find("]  ");
            if (start != std::string::npos &&
                (line.find("Entering") != std::string::npos || line.find("::check") != std::string::npos ||
                 line.find("::compare") != std::string::npos))
                lines.push_back(line.substr(start + 3));
        }
        return lines;
    };
    const std::vector<std::string> errors{
        "ERROR: BaseRaidMonitor::checkAdapter adapterIN is NULL!!!",
        "ERROR: BaseRaidMonitor::compareAdapter newAdapterIN is NULL!!!",
        "ERROR: BaseRaidMonitor::checkPhysicalDrives adapterIN is NULL!!!",
        "ERROR: BaseRaidMonitor::comparePhysicalDrives adapter is NULL!!!",
        "ERROR: BaseRaidMonitor::checkLogicalDrives adapterIN is NULL!!!",
        "ERROR: BaseRaidMonitor::compareLogicalDrives adapter is NULL!!!",
    };
    {
        DebugMask mask(NRM_DEBUG_ERRORS);
        runAll();
        EXPECT_EQ(ruleLines(), errors);
    }
    std::remove(log.c_str());
    monitor.reset(new TestRaidMonitor(nullptr));
    DebugMask mask(0xFFFFFF);
    runAll();
    EXPECT_EQ(ruleLines(), (std::vector<std::string>{
                               errors[0],
                               "   Entering checkAdapter(&ecIN, KRNA: 4)",
                               errors[1],
                               "   Entering compareAdapter(&ecIN, KRNA: SN4 vs NULL)",
                               "   Entering compareAdapter(&ecIN, KRNA: SN4 vs OLD)",
                               errors[2],
                               "   Entering checkPhysicalDrives(&ecIN, KRNA: 4)",
                               "       Entering checkPhysicalDrive(&ecIN, PD: 3) State = 1.",
                               errors[3],
                               "   Entering comparePhysicalDrives(&ecIN, KRNA: 4)",
                               errors[4],
                               "   Entering checkLogicalDrives(&ecIN, KRNA: 4)",
                               "       Entering checkLogicalDrive(&ecIN, LD: 2) State = 3.",
                               errors[5],
                               "   Entering compareLogicalDrives(&ecIN, KRNA: 4)",
                           }));
}

} // namespace
