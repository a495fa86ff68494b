// The Qorl monitor's poll loop over the simulated Vesk controllers: the
// start-up check, a change seen by the next poll, stop, and the test hook.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "MonitorFixture.h"
#include "QorlRaidMonitor.h"
#include "VeskLib.h"
#include "VeskSim.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMEventIds.h"

namespace {

using namespace monitortest;

class QorlMonitorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vesksim::reset();
        dir.installCatalogue(testCatalogue());
        lib.reset(new VeskLib);
        monitor.reset(new QorlRaidMonitor(lib.get(), dir.logDir()));
    }
    void TearDown() override
    {
        if (thread.joinable()) {
            monitor->stop();
            thread.join();
        }
        monitor.reset();
        lib.reset();
        vesksim::reset();
    }

    void startThread()
    {
        thread = std::thread([this] { monitor->start(); });
    }

    // Takes the queued events until one with the id arrives (within about
    // ten seconds of real time); the events taken are in out.
    bool waitFor(int id, std::vector<NRMEvent>& out)
    {
        for (int round = 0; round < 10000; ++round) {
            NRMEvent batch[16];
            const int n = monitor->getEvents(batch, 16);
            for (int i = 0; i < n; ++i) {
                out.push_back(batch[i]);
                if (batch[i].eventId == id)
                    return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    MonitorDir dir;
    std::unique_ptr<VeskLib> lib;
    std::unique_ptr<QorlRaidMonitor> monitor;
    std::thread thread;
};

TEST_F(QorlMonitorTest, StartChecksThenPollsSeeALogicalDriveGoCritical)
{
    EXPECT_TRUE(monitor->isStopped());
    startThread();
    // The default scenario's drive "Data" (logical drive 2) is critical at start.
    std::vector<NRMEvent> events;
    ASSERT_TRUE(waitFor(nrmevent::LD_CRITICAL.id, events));
    EXPECT_EQ(events.back().address.getLogicalDriveID(), 2u);

    vesksim::Scenario scenario = vesksim::current();
    scenario.controllers[0].arrays[0].logicalDrives[0].state = CRITICAL;
    vesksim::reset(scenario);
    events.clear();
    ASSERT_TRUE(waitFor(nrmevent::LD_CRITICAL.id, events));
    EXPECT_EQ(events.back().address.getLogicalDriveID(), 0u);
    EXPECT_EQ(events.back().objectType, 4);

    monitor->stop();
    thread.join();
    EXPECT_TRUE(monitor->isStopped());
}

TEST_F(QorlMonitorTest, NoControllersQueuesOneEventAndTheHookQueuesScriptedOnes)
{
    vesksim::reset(vesksim::Scenario{});
    NRMEvent scripted;
    scripted.eventId = 304;
    scripted.severity = 4;
    scripted.text = "scripted";
    monitor->queueEventForTest(scripted);
    startThread();
    std::vector<NRMEvent> events;
    ASSERT_TRUE(waitFor(nrmevent::NO_CONTROLLERS.id, events));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].eventId, 304);
    EXPECT_EQ(events[0].text, "scripted");
}

} // namespace
