// The Pelm monitor's life cycle and polls: the start-up comparison with the
// stored snapshot, the event fetches, the refreshes and the comparisons of
// successive configurations, with the call log of the simulated library
// counting what the monitor reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "PelmMonitorTestUtil.h"
#include "support/TestUtil.h"

using namespace pelmmonitortest;
using testsupport::readFile;

namespace {

const std::string SNAPSHOT = "WATCHPELMConfig.xml";

TEST_F(PelmMonitorTest, ConstructionReadsTheSnapshotAndFetchesEveryListFromOne)
{
    make();
    EXPECT_EQ(configReads(), 1u);
    const std::vector<pelmsim::Call> fetches = pelmsim::calls("getEvents");
    ASSERT_EQ(fetches.size(), 2u);
    EXPECT_EQ(fetches[0].adapter, 0);
    EXPECT_EQ(fetches[0].from, 1u);
    EXPECT_EQ(fetches[1].adapter, 1);
    EXPECT_EQ(fetches[1].from, 1u);
    EXPECT_EQ(monitor->getControllerCount(), 2);
    EXPECT_EQ(monitor->currentAdapterList[0].lastSequence, 3);
    EXPECT_EQ(monitor->currentAdapterList[1].lastSequence, 1);
    EXPECT_EQ(monitor->previousAdapterList.size(), 2u);
    // The second of construction and the timers primed.
    EXPECT_EQ(FakeSleep::slept(), 1000);
    EXPECT_FALSE(monitor->isTimeToReportBadStripe());
    EXPECT_FALSE(monitor->running);
    EXPECT_TRUE(monitor->isStopped());
}

TEST_F(PelmMonitorTest, FirstStartReportsEveryControllerAddedAndWritesTheSnapshotWithPaths)
{
    make();
    EXPECT_FALSE(testsupport::fileExists(dir.libDir + SNAPSHOT));
    const std::vector<NRMEvent> events = startUp();
    const std::vector<std::string> seen = brief(events);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), "207/3 agentEventInfControllerAdded at 0/-/-/-");
    EXPECT_NE(std::find(seen.begin(), seen.end(), "207/3 agentEventInfControllerAdded at 1/-/-/-"), seen.end());
    // The check rules and the running rebuild of controller 0 (no stored tasks).
    EXPECT_NE(std::find(seen.begin(), seen.end(), "301/2 agentEventWrnLogicalCritical at 0/1/-/-"), seen.end());
    std::vector<std::string> rebuild;
    for (const std::string& line : seen) {
        if (line.find("agentEventInfRebuildDetected") != std::string::npos)
            rebuild.push_back(line);
    }
    EXPECT_EQ(rebuild, (std::vector<std::string>{"304/4 agentEventInfRebuildDetected at 0/1/-/-",
                                                  "399/2 agentEventInfRebuildDetected at 0/1/-/-"}));
    // The events of construction are history: none is translated.
    EXPECT_TRUE(only(events, {418}).empty());

    const std::string snapshot = readFile(dir.libDir + SNAPSHOT);
    for (const char* path : {"LDPath=\"pelm/02:04.0\"", "LDPath=\"pelm/02:04.0/c1/t2\"", "LDPath=\"pelm/02:04.0/ld1\"",
                             "LDPath=\"pelm/03:00.0/ld0\""})
        EXPECT_NE(snapshot.find(path), std::string::npos) << path;
    // The running rebuild is stored with it.
    EXPECT_NE(snapshot.find("<Progress "), std::string::npos);
    EXPECT_NE(snapshot.find("taskType=\"6\""), std::string::npos);

    // A second run compares with that snapshot: nothing changed, nothing raised.
    make();
    EXPECT_EQ(brief(startUp()), std::vector<std::string>{});
}

TEST_F(PelmMonitorTest, ControllerMovedBetweenRunsIsRemovedAndAdded)
{
    make();
    startUp();
    ASSERT_TRUE(pelmsim::moveController(1, 9, 1, 2));
    make();
    const std::vector<NRMEvent> events = startUp();
    const std::vector<NRMEvent> removed = only(events, {202});
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(brief(removed[0]), "202/1 agentEventInfControllerRemoved at 1/-/-/-");
    EXPECT_EQ(removed[0].eventName, "EVENT_TARNELL_STATE_FAILED");
    EXPECT_EQ(removed[0].objectType, NRM_OBJECT_ADAPTER);
    EXPECT_EQ(removed[0].adapterSerial, "3-0-0"); // no serial: bus-function-device
    EXPECT_EQ(brief(only(events, {207})), std::vector<std::string>{"207/3 agentEventInfControllerAdded at 1/-/-/-"});
    // Removals come after the comparisons.
    EXPECT_EQ(events.back().eventId, 202);
}

TEST_F(PelmMonitorTest, ControllerGoneBetweenPollsIsReportedAfterTheNextRefresh)
{
    make();
    startUp();
    comparePoll(); // the first refresh of the run
    ASSERT_TRUE(pelmsim::removeController(1));
    EXPECT_EQ(brief(comparePoll()), std::vector<std::string>{}); // within the interval: not seen yet
    FixedClock::advance(PelmRaidMonitor::REFRESH_INTERVAL);
    const std::vector<NRMEvent> events = comparePoll();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(brief(events[0]), "202/1 agentEventErrController at 1/-/-/-");
    EXPECT_EQ(monitor->getControllerCount(), 1);
    // The snapshot follows the refresh.
    EXPECT_EQ(readFile(dir.libDir + SNAPSHOT).find("pelm/03:00.0"), std::string::npos);
}

TEST_F(PelmMonitorTest, RefreshesEverySixtySecondsOrWhenEventsArrive)
{
    make();
    startUp();
    size_t reads = configReads();
    comparePoll(); // the run's first refresh
    EXPECT_EQ(configReads(), ++reads);
    FixedClock::advance(59);
    comparePoll();
    EXPECT_EQ(configReads(), reads);

    // Events force a refresh within the interval, and are translated in it.
    ASSERT_TRUE(pelmsim::mediaError(0, 0, 1));
    const std::vector<NRMEvent> events = comparePoll();
    EXPECT_EQ(configReads(), ++reads);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(brief(events[0]), "418/2 agentEventWrnBadBlock at 0/-/0/1");
    EXPECT_EQ(events[0].deviceSerial, "3JA0A002");
    // Each poll fetches every list from after the newest event seen.
    const std::vector<pelmsim::Call> fetches = pelmsim::calls("getEvents");
    EXPECT_EQ(fetches[fetches.size() - 2].from, 4u);

    comparePoll();
    EXPECT_EQ(configReads(), reads);
    EXPECT_EQ(pelmsim::calls("getEvents").back().from, 2u);
    EXPECT_EQ(pelmsim::calls("getEvents")[pelmsim::calls("getEvents").size() - 2].from, 5u);
    FixedClock::advance(59);
    comparePoll();
    EXPECT_EQ(configReads(), reads);
    FixedClock::advance(1);
    comparePoll(); // 60 s after the last refresh
    EXPECT_EQ(configReads(), ++reads);
}

TEST_F(PelmMonitorTest, WithoutControllersStartRaisesOneNoControllerEvent)
{
    pelmsim::reset(pelmsim::Scenario());
    make();
    // Stop in the pause after the third poll.
    static PelmRaidMonitor* running = nullptr;
    static int sleeps = 0;
    running = monitor.get();
    sleeps = 0;
    BaseRaidMonitor::SleepFunction fake = BaseRaidMonitor::setSleepForTest([](long ms) {
        FixedClock::advance(ms / 1000);
        if (++sleeps == 3 * 5)
            running->stop();
    });
    monitor->start();
    BaseRaidMonitor::setSleepForTest(fake);
    EXPECT_TRUE(monitor->isStopped());
    const std::vector<NRMEvent> events = monitor->getEvents(0);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(brief(events[0]), "201/3 agentEventInfNoControllers at -/-/-/-");
    EXPECT_EQ(events[0].objectType, NRM_OBJECT_SYSTEM);
    EXPECT_EQ(events[0].eventName, "EVENT_TARNELL_STATE_NOTFOUND");
    EXPECT_EQ(sleeps, 15);
}

// The life cycle on the monitor's own thread: stop() from the test thread
// during a pause ends the loop within a step; a restart finds no stored
// tree, raises nothing at start and refreshes at once.
TEST_F(PelmMonitorTest, StopDuringThePauseEndsTheLoopAndARestartRaisesNothingAtStart)
{
    make();
    static PelmRaidMonitor* running = nullptr;
    static int sleeps = 0;
    static int sleepsAtStop = 0;
    running = monitor.get();
    sleeps = 0;
    sleepsAtStop = 0;
    BaseRaidMonitor::SleepFunction fake = BaseRaidMonitor::setSleepForTest([](long ms) {
        FixedClock::advance(ms / 1000);
        // The second step of the second pause.
        if (++sleeps == 7) {
            running->stop();
            sleepsAtStop = sleeps;
        }
    });
    monitor->start();
    EXPECT_EQ(sleeps, sleepsAtStop);
    EXPECT_TRUE(monitor->isStopped());
    EXPECT_FALSE(monitor->running);
    EXPECT_EQ(monitor->startTime, 0);
    EXPECT_TRUE(monitor->firstRefresh);
    EXPECT_FALSE(monitor->getEvents(0).empty());

    // A restart: CHECK_CONFIG has no stored tree; the first poll refreshes.
    sleeps = 0;
    const size_t reads = configReads();
    ASSERT_TRUE(pelmsim::setDriveState(0, 1, 3, DRIVE_DEAD));
    monitor->start();
    BaseRaidMonitor::setSleepForTest(fake);
    // At once, and again in the next poll: the first fell at second 0 of
    // the run, which counts as none.
    EXPECT_EQ(configReads(), reads + 2);
    const std::vector<NRMEvent> events = monitor->getEvents(0);
    const std::vector<std::string> seen = brief(events);
    EXPECT_TRUE(only(events, {207}).empty());
    EXPECT_NE(std::find(seen.begin(), seen.end(), "404/1 agentEventErrDefunctDriveRepl at 0/-/1/3"), seen.end())
        << testing::PrintToString(seen);
}

// As the provider module runs it: the loop on a thread of its own, stop()
// and isStopped() from another.
TEST_F(PelmMonitorTest, StopFromAnotherThreadEndsTheLoop)
{
    make();
    std::thread loop([this] { monitor->start(); });
    // Some polls, with a scripted change among them.
    while (pelmsim::calls("getEvents").size() < 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(pelmsim::mediaError(0, 1, 2));
    std::vector<NRMEvent> events;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (only(events, {418}).empty() && std::chrono::steady_clock::now() < deadline) {
        for (const NRMEvent& e : monitor->getEvents(0))
            events.push_back(e);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(only(events, {418}).size(), 1u);
    EXPECT_FALSE(monitor->isStopped());
    monitor->stop();
    while (!monitor->isStopped())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    loop.join();
    EXPECT_FALSE(monitor->running);
}

TEST_F(PelmMonitorTest, SecondStartWhileRunningOnlyLogs)
{
    make();
    monitor->running = true;
    pelmsim::clearCalls();
    monitor->start();
    EXPECT_TRUE(pelmsim::calls().empty());
    EXPECT_EQ(monitor->getNumberOfEvents(), 0);
    EXPECT_TRUE(monitor->isStopped());
    monitor->running = false;
}

TEST_F(PelmMonitorTest, WithoutALibraryNothingPolls)
{
    PelmRaidMonitor none(nullptr);
    EXPECT_EQ(none.getControllerCount(), 0);
    none.running = true;
    none.run();
    EXPECT_TRUE(none.isStopped());
    none.running = false;
}

} // namespace
