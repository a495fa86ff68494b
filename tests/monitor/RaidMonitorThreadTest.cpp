// A family monitor on its own thread, as the provider module runs it: the
// poll loop of TestRaidMonitor over TarnellLib and the simulated
// controllers, a delivery thread taking the queued events out and a stopper
// thread ending the loop. The fake sleep moves the fixed clock, so the
// 5-second pauses take a millisecond of real time.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "MonitorFixture.h"
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "TestRaidMonitor.h"
#include "monitor/NRMEventCollection.h"

using namespace monitortest;
using testsupport::readFile;

namespace {

using Clock = std::chrono::steady_clock;

// Polls the condition every millisecond for up to 30 seconds of real time.
bool eventually(const std::function<bool()>& condition)
{
    const Clock::time_point end = Clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (Clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class RaidMonitorThreads : public tarnelltest::SimTest {
protected:
    // Replaces the configuration file whole, so that the monitor thread
    // reads the old text or the new one.
    void replaceConfig(const std::string& text)
    {
        const std::string path = dir.libDir + "NRMConfig.conf";
        writeFile(path + ".new", text);
        ASSERT_EQ(rename((path + ".new").c_str(), path.c_str()), 0);
    }

    MonitorDir dir;
};

TEST_F(RaidMonitorThreads, LoopPollsDeliversAndStopsOnRequest)
{
    TarnellLib lib;
    replaceConfig("nrm.debugMask = 0\n");
    TestRaidMonitor monitor(&lib);
    ASSERT_TRUE(monitor.isStopped());
    const Clock::time_point began = Clock::now();

    std::thread monitorThread([&monitor] { monitor.start(); });
    std::atomic<bool> delivering{true};
    std::atomic<int> delivered{0};
    std::vector<int> ids;
    std::thread delivery([&] {
        while (delivering) {
            const int count = monitor.getNumberOfEvents();
            if (count > 0) {
                std::vector<NRMEvent> events(static_cast<size_t>(count));
                const int moved = monitor.getEvents(events.data(), count);
                // The test's own events, not those of the controllers.
                for (int i = 0; i < moved; ++i) {
                    if (events[static_cast<size_t>(i)].eventName != "EVENT")
                        continue;
                    ids.push_back(events[static_cast<size_t>(i)].eventId);
                    ++delivered;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    ASSERT_TRUE(eventually([&] { return monitor.cycles >= 1; }));
    EXPECT_FALSE(monitor.isStopped());
    // The snapshot of the simulated controllers was written.
    const std::string snapshot = readFile(dir.libDir + "WATCHTESTConfig.xml");
    EXPECT_NE(snapshot.find("<Controller "), std::string::npos);

    // Events queued while the loop runs reach the delivery thread, in order.
    for (int i = 0; i < 50; ++i) {
        NRMEvent event(300 + i, NRM_EVENT_WARNING, "text", "EVENT");
        monitor.eventQueue->addEvent(event);
    }
    EXPECT_TRUE(eventually([&] { return delivered == 50; }));

    // A changed configuration file takes effect after a cycle.
    EXPECT_EQ(NRMDebugFlag.load(), NRM_DEBUG_ERRORS);
    replaceConfig("nrm.debugMask = 2\n");
    EXPECT_TRUE(eventually([] { return NRMDebugFlag.load() == 0xFFFFFF; }));

    std::thread stopper([&monitor] {
        monitor.stop();
        while (!monitor.isStopped())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    stopper.join();
    monitorThread.join();
    delivering = false;
    delivery.join();

    EXPECT_LT(Clock::now() - began, std::chrono::seconds(60));
    EXPECT_FALSE(monitor.running);
    EXPECT_EQ(monitor.startTime, 0);
    // The last poll's configuration is kept, now that the loop has ended.
    EXPECT_NE(monitor.previousSystem.getSystem(), nullptr);
    ASSERT_EQ(ids.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(ids[static_cast<size_t>(i)], 300 + i);
    // Each cycle paused pollSeconds through the sleep seam.
    EXPECT_GE(FakeSleep::slept(), 1000 + 5000LL * monitor.cycles);
}

TEST_F(RaidMonitorThreads, MonitorNeverStartedAnswersStoppedWithoutEvents)
{
    TarnellLib lib;
    TestRaidMonitor monitor(&lib);
    std::atomic<bool> stopped{false};
    std::atomic<int> events{-1};
    std::thread caller([&] {
        stopped = monitor.isStopped();
        events = monitor.getNumberOfEvents();
    });
    caller.join();
    EXPECT_TRUE(stopped);
    EXPECT_EQ(events, 0);
}

} // namespace
