// The life cycle and poll loop of the Tarnell monitor, and its start-up
// comparison of the stored snapshot with the live controllers.
#include <gmock/gmock.h>

#include "TarnellMonitorFixture.h"

using namespace tarnelltest;
using ::testing::HasSubstr;

namespace {

// A controller like the first of the default scenario (which has product
// data, so its serial number is read) under another C-API number.
tarnellsim::Controller likeFirst(uint16_t number, const char* serial)
{
    tarnellsim::Controller controller = tarnellsim::defaultScenario().controllers[0];
    controller.number = number;
    controller.slot = static_cast<uint16_t>(number + 1);
    controller.vpdSerial = serial;
    return controller;
}

// Controllers A and B with serial numbers of their own.
tarnellsim::Scenario twoControllers()
{
    tarnellsim::Scenario scenario = tarnellsim::defaultScenario();
    scenario.controllers = {likeFirst(2, "SERIAL-A"), likeFirst(5, "SERIAL-B")};
    return scenario;
}

std::vector<int> idsOf(const std::vector<NRMEvent>& events)
{
    std::vector<int> ids;
    for (const NRMEvent& event : events)
        ids.push_back(event.eventId);
    return ids;
}

int countOf(const std::vector<NRMEvent>& events, int id)
{
    int n = 0;
    for (const NRMEvent& event : events)
        n += event.eventId == id;
    return n;
}

} // namespace

TEST_F(TarnellMonitorTest, NoControllerQueuesOneEventWritesOneSnapshotAndIdlesUntilStopped)
{
    tarnellsim::reset(tarnellsim::Scenario{});
    makeMonitor();
    int snapshotsSeen = 0;
    Waits::hook = [&](int) {
        if (snapshotExists()) {
            ++snapshotsSeen;
            std::remove(snapshotPath().c_str());
        }
    };
    runFor(12); // two idle cycles and part of a third
    EXPECT_TRUE(monitor->isStopped());
    EXPECT_EQ(snapshotsSeen, 1);
    const std::vector<NRMEvent> events = takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].eventId, 201);
    EXPECT_EQ(events[0].severity, 3);
    EXPECT_EQ(events[0].objectType, NRM_OBJECT_SYSTEM);
    EXPECT_EQ(events[0].eventName, "EVENT_TARNELL_STATE_NOTFOUND");
    EXPECT_THAT(events[0].text, HasSubstr("agentEventInfNoControllers"));
    // An idle cycle polls nobody.
    EXPECT_TRUE(lib->calls.empty());
}

TEST_F(TarnellMonitorTest, StopTakesEffectWithinOneIdleStep)
{
    tarnellsim::reset(tarnellsim::Scenario{});
    makeMonitor();
    runFor(3);
    EXPECT_EQ(Waits::count, 3);
    EXPECT_TRUE(monitor->isStopped());
    EXPECT_FALSE(monitor->running);
    EXPECT_EQ(monitor->startTime.load(), 0);
}

TEST_F(TarnellMonitorTest, SnapshotIsWrittenBeforeTheFirstCycleAndAfterEveryFifth)
{
    makeMonitor();
    lib->script = [](const ScriptedLib::Call&) { return static_cast<const char*>(nullptr); };
    std::vector<int> writtenBefore;
    Waits::hook = [&](int wait) {
        if (snapshotExists()) {
            writtenBefore.push_back(wait);
            std::remove(snapshotPath().c_str());
        }
    };
    runFor(12);
    // One wait per cycle: seen at the waits of cycles 1, 6 and 11.
    EXPECT_EQ(writtenBefore, (std::vector<int>{1, 6, 11}));
}

TEST_F(TarnellMonitorTest, EventsOfAllControllersAreTranslatedOnceWithOneCounter)
{
    makeMonitor();
    lib->getNewSystem();
    const std::vector<Adapter*> adapters = currentAdapters();
    ASSERT_EQ(adapters.size(), 2u);
    const std::string id = std::to_string(adapters[0]->getAdapterID());
    std::string text;
    for (int n = 5; n <= 7; ++n)
        text += raidEvent("eventType=\"1\" eventCode=\"250\" eventNumber=\"" + std::to_string(n) + "\" adapterID=\"" +
                          id + "\"");
    // Cycle 1: both controllers' calls carry events 5-7; cycle 2 leaves the
    // buffer as it was; cycle 3 gives a text older than the counter.
    int cycle = 1;
    Waits::hook = [&](int) { ++cycle; };
    const std::string old = raidEvent("eventCode=\"250\" eventNumber=\"3\" adapterID=\"" + id + "\"");
    lib->script = [&](const ScriptedLib::Call&) -> const char* {
        if (cycle == 1)
            return text.c_str();
        return cycle == 3 ? old.c_str() : nullptr;
    };
    runFor(3);
    EXPECT_EQ(countOf(takeEvents(), 250), 3);
    ASSERT_EQ(lib->calls.size(), 6u);
    const std::vector<unsigned long> expected{1, 8, 8, 8, 8, 8};
    for (size_t k = 0; k < expected.size(); ++k)
        EXPECT_EQ(lib->calls[k].since, expected[k]) << "call " << k;

    // A restart begins at event 1 again.
    lib->calls.clear();
    cycle = 2;
    runFor(1);
    ASSERT_FALSE(lib->calls.empty());
    EXPECT_EQ(lib->calls[0].since, 1u);
}

TEST_F(TarnellMonitorTest, EventNumberScanIsBoundedAndUnsigned)
{
    struct Case {
        const char* text;
        bool found;
        uint32_t number;
    };
    const Case cases[] = {
        {"<RaidEvent eventNumber=\"5\" /><RaidEvent eventNumber=\"7\" />", true, 7},
        {"<RaidEvent eventNumber=\"4294967295\" />", true, 4294967295u},
        {"<RaidEvent eventNumber=\"4294967296\" />", false, 0},
        {"<RaidEvent eventNumber=\"2\" /> eventNumber", false, 0},
        {"<RaidEvent eventNumber=", false, 0},
        {"<RaidEvent eventNumber=\"", false, 0},
        {"<RaidEvent eventNumber=\"-3\" />", false, 0},
        {"<RaidEvent eventNumber = \"3\" />", false, 0},
        {"", false, 0},
    };
    for (const Case& c : cases) {
        uint32_t number = 0;
        EXPECT_EQ(TarnellRaidMonitor::newestEventNumber(c.text, number), c.found) << c.text;
        if (c.found) {
            EXPECT_EQ(number, c.number) << c.text;
        }
    }
}

TEST_F(TarnellMonitorTest, StartWhileRunningReturnsAtOnce)
{
    makeMonitor();
    lib->script = [](const ScriptedLib::Call&) { return static_cast<const char*>(nullptr); };
    int nestedWaits = -1;
    Waits::hook = [&](int wait) {
        if (wait == 1) {
            monitor->start();
            nestedWaits = Waits::count - wait;
        }
    };
    runFor(2);
    EXPECT_EQ(nestedWaits, 0);
    EXPECT_TRUE(monitor->isStopped());
}

TEST_F(TarnellMonitorTest, RestartsGiveTheirSystemsBack)
{
    makeMonitor();
    lib->script = [](const ScriptedLib::Call&) { return static_cast<const char*>(nullptr); };
    runFor(1);
    runFor(1);
    const size_t held = lib->heldSystemCount();
    for (int n = 0; n < 100; ++n)
        runFor(1);
    EXPECT_LE(lib->heldSystemCount(), held);
}

TEST_F(TarnellMonitorTest, StartUpReportsRemovedControllersFirst)
{
    tarnellsim::reset(twoControllers());
    makeMonitor();
    startUp();
    takeEvents();

    // Stored A and B, live A only.
    tarnellsim::Scenario onlyA = twoControllers();
    onlyA.controllers.pop_back();
    tarnellsim::reset(onlyA);
    startUp();
    const std::vector<NRMEvent> events = takeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(countOf(events, 202), 1);
    EXPECT_EQ(events[0].eventId, 202);
    EXPECT_EQ(events[0].severity, 3);
    EXPECT_EQ(events[0].objectType, NRM_OBJECT_ADAPTER);
    EXPECT_EQ(events[0].eventName, "EVENT_TARNELL_STATE_FAILED");
    EXPECT_EQ(events[0].adapterSerial, "SERIAL-B");
    EXPECT_THAT(events[0].text, HasSubstr("agentEventInfControllerRemoved"));
    EXPECT_EQ(countOf(events, 207), 0);
}

TEST_F(TarnellMonitorTest, StartUpChecksAddedControllers)
{
    // Without a snapshot every controller is added.
    tarnellsim::reset(twoControllers());
    makeMonitor();
    startUp();
    EXPECT_EQ(countOf(takeEvents(), 207), 2);

    // Stored A and B, live A, B and a new C: one 207 for C, then C's check
    // rules, and no removal.
    tarnellsim::Scenario withC = twoControllers();
    withC.controllers.push_back(likeFirst(7, "SERIAL-C"));
    tarnellsim::reset(withC);
    startUp();
    const std::vector<NRMEvent> events = takeEvents();
    EXPECT_EQ(countOf(events, 202), 0);
    ASSERT_EQ(countOf(events, 207), 1);
    EXPECT_EQ(events[0].eventId, 207);
    EXPECT_THAT(events[0].adapterSerial, "SERIAL-C");
    // C's dead drive is reported by the check rules.
    EXPECT_GT(events.size(), 1u);
}

TEST_F(TarnellMonitorTest, ControllersWithoutSerialNumbersEachMeetTheirOwnSnapshot)
{
    tarnellsim::Scenario scenario = tarnellsim::defaultScenario();
    scenario.controllers[0].vpdSerial = "";
    scenario.controllers[1].vpdSerial = "";
    tarnellsim::reset(scenario);
    makeMonitor();
    startUp();
    takeEvents();
    startUp();
    const std::vector<NRMEvent> events = takeEvents();
    EXPECT_EQ(countOf(events, 202), 0);
    EXPECT_EQ(countOf(events, 207), 0) << ::testing::PrintToString(idsOf(events));

    // One of them gone: one removal, nothing added.
    scenario.controllers.pop_back();
    tarnellsim::reset(scenario);
    startUp();
    const std::vector<NRMEvent> after = takeEvents();
    EXPECT_EQ(countOf(after, 202), 1);
    EXPECT_EQ(countOf(after, 207), 0);
}

TEST_F(TarnellMonitorTest, RebuildEndingInTheSimulatorIsQueuedOnce)
{
    makeMonitor();
    runFor(1); // the start-up and its snapshot
    takeEvents();
    // The rebuild of logical drive 3 runs at 35 %; a long simulated wait ends it.
    Waits::hook = [](int wait) {
        if (wait == 2)
            tarnellsim::advanceClock(7200);
    };
    runFor(30);
    const std::vector<NRMEvent> events = takeEvents();
    EXPECT_EQ(countOf(events, 305), 1) << ::testing::PrintToString(idsOf(events));
}
