// The rules end to end: TestRaidMonitor's poll loop over TarnellLib and the
// simulated controllers of the default scenario, on a thread of its own, a
// delivery thread taking the events out through getEvents, and the snapshot
// file between two starts.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RulesTestUtil.h"
#include "monitor/NRMEventCollection.h"
#include "support/TestUtil.h"

using namespace monitortest;

namespace {

using Clock = std::chrono::steady_clock;

// What the monitor thread does in each pause of its loop, after the fake
// sleep: the pause's number, from 1, is the number of polls made.
std::function<void(int)> onPause;
int pauses = 0;
BaseRaidMonitor::SleepFunction fakeSleep = nullptr;

void sleepThenAct(long milliSec)
{
    fakeSleep(milliSec);
    onPause(++pauses);
}

class RulesEndToEnd : public tarnelltest::SimTest {
protected:
    void SetUp() override
    {
        tarnelltest::SimTest::SetUp();
        dir.installCatalogue(testCatalogue());
    }

    // Runs the monitor's loop for the given number of polls on a thread of
    // its own, with the action (if any) on that thread between its first two
    // polls, while a delivery thread takes the events out through getEvents;
    // the events delivered, in order. The stop request comes in the pause
    // after the last poll, so that no poll sees the start time it clears.
    std::vector<NRMEvent> run(TestRaidMonitor& monitor, int polls, std::function<void()> afterFirstPoll = {})
    {
        pauses = 0;
        onPause = [&](int pause) {
            if (pause == 1 && afterFirstPoll)
                afterFirstPoll();
            if (pause >= polls)
                monitor.stop();
        };
        fakeSleep = BaseRaidMonitor::setSleepForTest(&sleepThenAct);
        std::atomic<bool> delivering{true};
        std::vector<NRMEvent> delivered;
        std::thread delivery([&] {
            std::vector<NRMEvent> batch(16);
            for (;;) {
                const bool last = !delivering;
                int moved;
                while ((moved = monitor.getEvents(batch.data(), static_cast<int>(batch.size()))) > 0)
                    delivered.insert(delivered.end(), batch.begin(), batch.begin() + moved);
                if (last)
                    return;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        std::thread monitorThread([&monitor] { monitor.start(); });
        monitorThread.join();
        delivering = false;
        delivery.join();
        BaseRaidMonitor::setSleepForTest(fakeSleep);
        EXPECT_EQ(pauses, polls);
        EXPECT_EQ(monitor.getNumberOfEvents(), 0);
        return delivered;
    }

    MonitorDir dir;
};

// An event in brief: id/severity and the ids of its address.
std::string brief(const NRMEvent& e)
{
    const Addr& a = e.address;
    std::string s = std::to_string(e.eventId) + "/" + std::to_string(e.severity) + " A" + rowNumber(a.getAdapterID());
    if (a.getChannelID() != STORID_UNDEFINED || a.getDeviceID() != STORID_UNDEFINED)
        s += " C" + rowNumber(a.getChannelID()) + " D" + rowNumber(a.getDeviceID());
    if (a.getLogicalDriveID() != STORID_UNDEFINED)
        s += " L" + rowNumber(a.getLogicalDriveID());
    return s;
}

// The events in brief without the plain state changes (severity 3) of the
// check rules, which name every drive and logical drive.
std::vector<std::string> specific(const std::vector<NRMEvent>& events)
{
    std::vector<std::string> found;
    for (const NRMEvent& e : events)
        if (!((e.eventId == 499 || e.eventId == 399) && e.severity == NRM_EVENT_INFORMATION))
            found.push_back(brief(e));
    return found;
}

int countOf(const std::vector<NRMEvent>& events, int id)
{
    int n = 0;
    for (const NRMEvent& e : events)
        n += e.eventId == id ? 1 : 0;
    return n;
}

// The drives (or logical drives) of the system that the rules look at: the
// filter passes over the sub-logical drives of spanned drives, whose ids lie
// above an adapter's limit.
int validOf(TestRaidMonitor& monitor, System* system, bool logical)
{
    int n = 0;
    for (unsigned long k = 0; k < system->getNumAdapters(); ++k) {
        Adapter* adapter = system->getAdapter(k);
        std::vector<RaidObject*> found;
        adapter->getChildren(found, logical ? "LogicalDrive" : "HardDrive", true, true);
        for (RaidObject* o : found)
            n += (logical ? monitor.isValidLogicalDrive(adapter, static_cast<LogicalDrive*>(o))
                          : monitor.isValidPhysicalDrive(adapter, static_cast<HardDrive*>(o)))
                     ? 1
                     : 0;
    }
    return n;
}

// What a first start reports of the default scenario: each controller
// added, then its check rules: controller A's dead drive and critical
// logical drive 3 and the power supply its SAF-TE enclosure lacks;
// controller B's dead drive, its drive of an unsupported vendor, its drive
// predicting failure and its blocked logical drive 3.
const std::vector<std::string> FIRST_START = {
    "207/3 A0",       "299/3 A0",       "499/1 A0 C1 D2", "404/1 A0 C1 D2", "399/2 A0 L3",
    "301/2 A0 L3",    "512/1 A0 C0 D15", "207/3 A1",      "299/3 A1",       "499/1 A1 C1 D7",
    "404/1 A1 C1 D7", "406/2 A1 C1 D8", "499/2 A1 C1 D9", "405/2 A1 C1 D9", "302/1 A1 L3",
};

TEST_F(RulesEndToEnd, FirstStartReportsEveryControllerWithItsState)
{
    TarnellLib lib;
    TestRaidMonitor monitor(&lib);
    const std::vector<NRMEvent> events = run(monitor, 2);
    EXPECT_EQ(specific(events), FIRST_START);

    // Every drive and logical drive is named once by its state change (of
    // the logical drives the nine top-level ones).
    System* live = monitor.previousSystem.getSystem();
    ASSERT_NE(live, nullptr);
    EXPECT_EQ(countOf(events, 499), validOf(monitor, live, false));
    EXPECT_EQ(countOf(events, 399), validOf(monitor, live, true));
    EXPECT_EQ(countOf(events, 399), 9);

    // The failed drive in full: its FRU number and serial, the adapter's
    // serial, the texts of the catalogue.
    const NRMEvent* failed = nullptr;
    for (const NRMEvent& e : events)
        if (e.eventId == 404 && !failed)
            failed = &e;
    ASSERT_NE(failed, nullptr);
    const std::string drive =
        "eventArgControllerScsiDevice[eventArgController2[1| ZEQ Tarnell B2 #ZQA3120045|3]|2|2]";
    const EventRow expected =
        EventRow(404, 1, "EVENT_TARNELL_PD_STATE_FAILED", NRM_OBJECT_PHYSICAL_DRIVE,
                 textOf("agentEventErrDefunctDriveRepl", {drive, "deviceArgFRU[06P5762]"}))
            .at(0, 1, 2)
            .fru("06P5762")
            .serial("7VB00113")
            .adapterSerialIs("ZQA3120045");
    EXPECT_EQ(rowOf(*failed).line(), expected.line());

    // The enclosure's missing third power supply, by its index from 0 and
    // its number from 1 in the text, on the enclosure's channel.
    const NRMEvent* absent = nullptr;
    for (const NRMEvent& e : events)
        if (e.eventId == 512 && !absent)
            absent = &e;
    ASSERT_NE(absent, nullptr);
    const std::string channel = "eventArgControllerChannel[eventArgController2[1| ZEQ Tarnell B2 #ZQA3120045|3]|1]";
    EXPECT_EQ(rowOf(*absent).line(), EventRow(512, 1, "EVENT_TARNELL_ENC_PS_REMOVED", NRM_OBJECT_POWER_SUPPLY,
                                              keyText("agentEventWrnPowerRemoved", {"3", channel}))
                                         .at(0, 0, 15)
                                         .powerSupply(2)
                                         .adapterSerialIs("ZQA3120045")
                                         .line());
}

TEST_F(RulesEndToEnd, RestartOverTheSnapshotReportsOnlyChanges)
{
    TarnellLib lib;
    {
        TestRaidMonitor first(&lib);
        EXPECT_EQ(specific(run(first, 1)), FIRST_START);
    }

    // Nothing changed while no monitor ran, nor between its polls.
    {
        TestRaidMonitor second(&lib);
        EXPECT_EQ(specific(run(second, 3)), std::vector<std::string>{});
    }

    // A member of logical drives 0 (RAID-5) and 1 (RAID-0) of controller A
    // taken down between two polls: the failure with the drive's FRU number
    // and serial, then the two logical drives.
    TestRaidMonitor third(&lib);
    const Addr member(0, STORID_UNDEFINED, STORID_UNDEFINED, 0, 0, BLOCK_UNDEFINED, STORID_UNDEFINED, STORID_UNDEFINED);
    Ret down;
    const std::vector<NRMEvent> events = run(third, 2, [&] { down = lib.downHardDrive(member, true); });
    EXPECT_EQ(down.getReturn(), Ret::SUCCESS);
    EXPECT_EQ(specific(events), (std::vector<std::string>{"404/1 A0 C0 D0", "499/1 A0 C0 D0", "301/2 A0 L0",
                                                          "399/2 A0 L0", "303/1 A0 L1", "399/1 A0 L1"}));
    ASSERT_GE(events.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(events[i].fruNumber, "06P5760");
        EXPECT_EQ(events[i].deviceSerial, "3KA00101");
        EXPECT_EQ(events[i].text, events[0].text);
    }
}

TEST_F(RulesEndToEnd, DamagedSnapshotAtStartCountsAsNone)
{
    TarnellLib lib;
    {
        TestRaidMonitor first(&lib);
        run(first, 1);
    }
    const std::string snapshot = dir.libDir + "WATCHTESTConfig.xml";
    const std::string text = testsupport::readFile(snapshot);
    ASSERT_GT(text.size(), 100u);
    writeFile(snapshot, text.substr(0, text.size() / 2));

    TestRaidMonitor second(&lib);
    EXPECT_EQ(specific(run(second, 1)), FIRST_START);
}

} // namespace
