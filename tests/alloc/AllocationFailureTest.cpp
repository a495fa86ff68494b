// Allocation failures, one per run, swept over a configuration read of the
// simulated controllers and over the Tarnell monitor's start and polls: no
// run crashes, leaks or ends with a partial configuration, and none raises
// an event that a run without failures does not.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "FailingAllocator.h"
#include "MonitorFixture.h"
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "SweepPoints.h"
#include "TarnellSim.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/tarnell/TarnellRaidMonitor.h"
#include "support/TestUtil.h"

namespace {

// Where two texts part, for a failure message.
std::string firstDifference(const std::string& expected, const std::string& actual)
{
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    const size_t from = at > 60 ? at - 60 : 0;
    return "they part at " + std::to_string(at) + " of " + std::to_string(expected.size()) + ": \"" +
           expected.substr(from, 120) + "\" became \"" + actual.substr(from, 120) + "\"";
}

// Sweeps stop reporting after a few faults; one shows the problem.
const int REPORTED_FAULTS = 5;

} // namespace

// The document of the default scenario's two controllers: whole with code 0,
// or code -3 with no document at all; nothing leaks (the sanitizer's leak
// check), and the library reads the whole configuration again afterwards.
TEST(AllocationFailure, ConfigurationReadIsWholeOrFailsWithResourceError)
{
    testsupport::TempCwd dir;
    tarnellsim::reset();
    TarnellLib lib;
    char* xml = nullptr;
    ASSERT_EQ(lib.getSystemConfig(&xml).getReturn(), Ret::SUCCESS);
    const std::string expected = xml;
    lib.freeBuffer(xml);

    xml = nullptr;
    allocfail::startCount();
    lib.getSystemConfig(&xml);
    const unsigned long total = allocfail::count();
    lib.freeBuffer(xml);

    int faults = 0;
    int failedRuns = 0;
    for (unsigned long n : allocfail::sweepPoints(total, 1200)) {
        if (faults >= REPORTED_FAULTS)
            break;
        xml = nullptr;
        allocfail::failAt(n);
        const Ret ret = lib.getSystemConfig(&xml);
        failedRuns += allocfail::disarm();
        const std::string got = xml ? xml : "";
        if (ret.getReturn() == Ret::SUCCESS && got != expected) {
            ADD_FAILURE() << "allocation " << n << ": a partial document with code 0; "
                          << firstDifference(expected, got);
            ++faults;
        } else if (ret.getReturn() != Ret::SUCCESS && (ret.getReturn() != Ret::RESOURCE || xml)) {
            ADD_FAILURE() << "allocation " << n << ": code " << ret.getReturn()
                          << (xml ? " with a document" : " without a document");
            ++faults;
        }
        lib.freeBuffer(xml);
    }
    EXPECT_GT(failedRuns, 0);

    xml = nullptr;
    ASSERT_EQ(lib.getSystemConfig(&xml).getReturn(), Ret::SUCCESS);
    EXPECT_EQ(expected, xml);
    lib.freeBuffer(xml);
}

namespace {

// The monitor's waits: the clocks move on a second each, and the monitor
// stops after the set number of waits.
struct MonitorWaits {
    static inline TarnellRaidMonitor* monitor = nullptr;
    static inline int count = 0;
    static inline int stopAfter = 0;

    static void wait(long milliSec)
    {
        const uint32_t seconds = static_cast<uint32_t>(milliSec / 1000);
        monitortest::FixedClock::advance(static_cast<time_t>(seconds));
        tarnellsim::advanceClock(seconds);
        if (monitor && ++count >= stopAfter)
            monitor->stop();
    }
};

std::string eventText(const NRMEvent& e)
{
    const Addr& a = e.address;
    return std::to_string(e.eventId) + " at " + std::to_string(a.getAdapterID()) + "/" +
           std::to_string(a.getChannelID()) + "/" + std::to_string(a.getDeviceID()) + "/" +
           std::to_string(a.getLogicalDriveID()) + ": " + e.text;
}

} // namespace

// The Tarnell monitor over controllers that do not change, started against
// the snapshot of a run before: its start-up comparison, then 17 one-second
// polls, of which one reads the configuration again (the poll rebuilds
// every 15 seconds) and three store the snapshot. A failed allocation may
// cost events, but raises none that the run without failures does not
// raise, and leaves the snapshot as it was.
TEST(AllocationFailure, TarnellMonitorRaisesNothingFromAFailedReading)
{
    testsupport::TempCwd dir;
    monitortest::MonitorDir monitorDir;
    const BaseRaidMonitor::SleepFunction previousSleep = BaseRaidMonitor::setSleepForTest(&MonitorWaits::wait);
    tarnellsim::Scenario scenario = tarnellsim::defaultScenario();
    for (tarnellsim::Controller& c : scenario.controllers)
        c.tasks.clear(); // no progress to report
    const std::string snapshotPath = monitorDir.libDir + "WATCHTARNELLConfig.xml";

    // The events of one start, with the allocation n failing (0: none).
    auto run = [&](unsigned long n) {
        tarnellsim::reset(scenario);
        TarnellEvents::resetForTest();
        TarnellLib::resetPollClocksForTest();
        std::vector<std::string> events;
        TarnellLib lib;
        TarnellRaidMonitor monitor(&lib, monitorDir.logDir());
        MonitorWaits::monitor = &monitor;
        MonitorWaits::count = 0;
        MonitorWaits::stopAfter = 17;
        if (n != 0)
            allocfail::failAt(n);
        else
            allocfail::startCount();
        monitor.start();
        allocfail::disarm();
        MonitorWaits::monitor = nullptr;
        EXPECT_TRUE(monitor.isStopped());
        for (const NRMEvent& e : monitor.getEvents(0))
            events.push_back(eventText(e));
        return events;
    };

    run(0); // stores the first snapshot
    const std::vector<std::string> baseline = run(0);
    const unsigned long total = allocfail::count();
    const std::string snapshot = testsupport::readFile(snapshotPath);
    ASSERT_FALSE(snapshot.empty());

    int faults = 0;
    for (unsigned long n : allocfail::sweepPoints(total, 200)) {
        if (faults >= REPORTED_FAULTS)
            break;
        std::multiset<std::string> allowed(baseline.begin(), baseline.end());
        for (const std::string& event : run(n)) {
            auto found = allowed.find(event);
            if (found != allowed.end()) {
                allowed.erase(found);
                continue;
            }
            ADD_FAILURE() << "allocation " << n << " raised " << event;
            ++faults;
        }
        if (testsupport::readFile(snapshotPath) != snapshot) {
            ADD_FAILURE() << "allocation " << n << " changed the snapshot";
            ++faults;
        }
    }
    BaseRaidMonitor::setSleepForTest(previousSleep);
}
