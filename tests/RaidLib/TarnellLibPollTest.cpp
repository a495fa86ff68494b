#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "RaidLib/TarnellLib.h"
#include "RaidLib/Util/Date.h"
#include "RaidModel/Implementation/Tarnell/TarnellEventList.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "storagedll/storintf.h"

// The event poll of the Tarnell library over the simulated controllers: its
// clocks (on a clock of the test's own), the snapshot rotation, a vanished
// controller, and the events it hands out.

using namespace tarnelltest;

namespace {

const uint32_t START = 1714986000;
uint32_t fakeNow = START;
time_t fakeClock() { return static_cast<time_t>(fakeNow); }

class TarnellLibPollTest : public EventRulesTest {
protected:
    void SetUp() override
    {
        EventRulesTest::SetUp();
        TarnellLib::resetPollClocksForTest();
        fakeNow = START;
        previousClock = Date::setClock(fakeClock);
        objectsBefore = globalRaidObjectCounter.load();
    }
    void TearDown() override
    {
        Date::setClock(previousClock);
        TarnellLib::resetPollClocksForTest();
        EventRulesTest::TearDown();
    }
    Date::ClockFn previousClock = nullptr;
    uint32_t objectsBefore = 0;
};

// A caller of the poll that keeps the document handed out last.
class Poller {
public:
    explicit Poller(TarnellLib& lib) : lib(lib) {}
    ~Poller() { lib.freeBuffer(xml); }
    Poller(const Poller&) = delete;
    Poller& operator=(const Poller&) = delete;

    // One poll; true when it handed out a new document (the new array is
    // made before the old one is released, so the pointer differs).
    bool poll(STORID_T adapterID, unsigned long since = 0)
    {
        char* before = xml;
        EXPECT_EQ(Ret(0), lib.getEvents(Addr(adapterID), since, &xml));
        return xml != before;
    }
    std::string text() const { return xml ? xml : "(null)"; }
    std::vector<ListedEvent> events() const { return listEvents(text()); }

    TarnellLib& lib;
    char* xml = nullptr;
};

TEST_F(TarnellLibPollTest, FirstPollHandsOutAnEmptyDocumentAndTheSecondRotates)
{
    TarnellLib lib;
    Poller p(lib);
    EXPECT_TRUE(p.poll(0));
    ASSERT_NE(nullptr, p.xml);
    EXPECT_EQ('\0', p.xml[0]) << "one byte: the empty text";
    TarnellSystem* first = lib.getCurrentSystem();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(2u, first->getNumAdapters());
    EXPECT_EQ(nullptr, lib.getOldSystem());
    EXPECT_EQ(START, TarnellLib::lastConfigChangeTime);

    // Whatever the clocks say, the second call rotates: there is no old
    // snapshot yet.
    fakeNow += 1;
    EXPECT_TRUE(p.poll(0));
    EXPECT_EQ(first, lib.getOldSystem());
    ASSERT_NE(nullptr, lib.getCurrentSystem());
    EXPECT_NE(first, lib.getCurrentSystem());
    EXPECT_STREQ("", p.xml);

    // Within the minimum age nothing is built and the document stays.
    fakeNow += 1;
    TarnellSystem* current = lib.getCurrentSystem();
    char* kept = p.xml;
    EXPECT_FALSE(p.poll(0));
    EXPECT_EQ(kept, p.xml);
    EXPECT_EQ(current, lib.getCurrentSystem());
    EXPECT_EQ(first, lib.getOldSystem());
}

// With both snapshots present, which check runs, whether it compares and
// which clock it stamps, by the time since each clock was set.
TEST_F(TarnellLibPollTest, ClocksDecideWhetherToCompare)
{
    enum Progress { SAME, MOVED };
    struct Row {
        const char* name;
        int32_t sinceMain, sinceCheck, sinceCompare; // seconds before now
        bool controllerChanged;                     // the C API reports a change
        Progress progress;
        bool compares;
    };
    const Row rows[] = {
        {"unconditional after 16 s", 16, 0, 5, false, SAME, true},
        {"unconditional, snapshot younger than 5 s", 16, 0, 4, false, SAME, false},
        {"15 s are not more than 15", 15, 0, 9, false, SAME, false},
        {"reported change", 10, 6, 6, true, SAME, true},
        {"no reported change", 10, 6, 6, false, SAME, false},
        {"reported change 2 s after a comparison", 10, 6, 2, true, SAME, false},
        {"5 s are not more than 5", 10, 5, 9, true, SAME, false},
        {"task progress moved", 3, 3, 6, false, MOVED, true},
        {"task progress unchanged", 3, 3, 6, true, SAME, false},
        {"clock set back", -100, -100, -100, false, SAME, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        tarnellsim::reset();
        TarnellEvents::resetForTest();
        TarnellLib::resetPollClocksForTest();
        fakeNow = START;
        TarnellLib lib;
        Poller p(lib);
        ASSERT_TRUE(p.poll(0));
        ASSERT_TRUE(p.poll(0));
        TarnellSystem* current = lib.getCurrentSystem();
        TarnellSystem* old = lib.getOldSystem();

        fakeNow = START + 1000;
        TarnellLib::lastMainThreadTimeCall = fakeNow - static_cast<uint32_t>(row.sinceMain);
        TarnellLib::lastConfigChangeTimeCall = fakeNow - static_cast<uint32_t>(row.sinceCheck);
        TarnellLib::lastConfigChangeTime = fakeNow - static_cast<uint32_t>(row.sinceCompare);
        const uint32_t mainBefore = TarnellLib::lastMainThreadTimeCall;
        const uint32_t checkBefore = TarnellLib::lastConfigChangeTimeCall;
        const uint32_t compareBefore = TarnellLib::lastConfigChangeTime;
        if (row.controllerChanged) {
            ASSERT_EQ(Ret(0), lib.setCopyBack(Addr(0), false));
        }
        Addr first(0);
        _REBUILD_STATUS progress;
        ASSERT_EQ(Ret(0), static_cast<TarnellAdapter*>(lib.getCurrentObject(first))->returnProgress(progress));
        if (row.progress == MOVED)
            progress.ucStatus ^= 0x01;
        TarnellEvents::saveProgress(0, progress);

        const bool unconditional = static_cast<uint32_t>(fakeNow - mainBefore) > 15u;
        const bool changeCheck = !unconditional && static_cast<uint32_t>(fakeNow - checkBefore) > 5u;
        EXPECT_EQ(row.compares, p.poll(0));
        if (row.compares) {
            EXPECT_EQ(current, lib.getOldSystem());
            EXPECT_NE(current, lib.getCurrentSystem());
            EXPECT_EQ(fakeNow, TarnellLib::lastConfigChangeTime);
        } else {
            EXPECT_EQ(current, lib.getCurrentSystem());
            EXPECT_EQ(old, lib.getOldSystem());
            EXPECT_EQ(compareBefore, TarnellLib::lastConfigChangeTime);
        }
        EXPECT_EQ(unconditional ? fakeNow : mainBefore, TarnellLib::lastMainThreadTimeCall);
        EXPECT_EQ(changeCheck ? fakeNow : checkBefore, TarnellLib::lastConfigChangeTimeCall);
    }
}

TEST_F(TarnellLibPollTest, NullOutPointerChangesNothing)
{
    TarnellLib lib;
    fakeNow += 100;
    EXPECT_EQ(Ret::BAD_PARAM, lib.getEvents(Addr(0), 0, nullptr).getReturn());
    EXPECT_EQ(nullptr, lib.getCurrentSystem());
    EXPECT_EQ(nullptr, lib.getOldSystem());
    EXPECT_EQ(START, TarnellLib::lastMainThreadTimeCall);
    EXPECT_EQ(START, TarnellLib::lastConfigChangeTimeCall);
    EXPECT_EQ(START, TarnellLib::lastConfigChangeTime);
    EXPECT_TRUE(tarnellsim::calls().empty());
}

// A controller missing from the new snapshot drops that snapshot; the next
// comparison is made against the same old one.
TEST_F(TarnellLibPollTest, VanishedControllerDropsTheNewSnapshot)
{
    {
        TarnellLib lib;
        Poller p(lib);
        p.poll(1);
        fakeNow += 1;
        p.poll(1);
        TarnellSystem* reference = lib.getCurrentSystem();

        tarnellsim::Scenario s = tarnellsim::current();
        const tarnellsim::Controller second = s.controllers[1];
        s.controllers.pop_back();
        tarnellsim::reset(s);
        fakeNow += 16;
        EXPECT_TRUE(p.poll(1));
        EXPECT_EQ(nullptr, lib.getCurrentSystem());
        EXPECT_EQ(reference, lib.getOldSystem());

        // The controller is back: compared with the same old snapshot.
        s.controllers.push_back(second);
        tarnellsim::reset(s);
        fakeNow += 16;
        EXPECT_TRUE(p.poll(1));
        ASSERT_NE(nullptr, lib.getCurrentSystem());
        EXPECT_EQ(reference, lib.getOldSystem());
        Addr addr(1);
        EXPECT_NE(nullptr, lib.getCurrentObject(addr));

        // A configuration read, a handed-out system and more rotations free
        // the dropped snapshot and every rotated one exactly once.
        char* config = nullptr;
        ASSERT_EQ(Ret(0), lib.getSystemConfig(&config));
        lib.freeBuffer(config);
        ASSERT_NE(nullptr, lib.getNewSystem());
        for (int i = 0; i < 3; ++i) {
            fakeNow += 16;
            EXPECT_TRUE(p.poll(0));
        }
    }
    EXPECT_EQ(objectsBefore, globalRaidObjectCounter.load());
}

// Sets the state of a device of a simulated controller through the C API, so
// that the controller reacts as it would (a spare takes a failed member's
// place and is rebuilt).
void setDeviceState(int controller, int channel, int target, uint8_t state)
{
    _STORAGE_ADDRESS_ID addr;
    std::memset(&addr, 0, sizeof addr);
    addr.usAdapterID = static_cast<uint16_t>(controller);
    addr.usChannelID = static_cast<uint16_t>(channel);
    addr.usPhysDevID = static_cast<uint16_t>(target);
    ASSERT_EQ(0, DllP::GetDLLPointer()->SetPhysDevState(addr, state).iReturnCode);
}

// Event numbers of a document: consecutive, starting at first.
void expectNumberedFrom(uint32_t first, const std::vector<ListedEvent>& events)
{
    for (size_t i = 0; i < events.size(); ++i)
        EXPECT_EQ(first + i, events[i].number);
}

// A rebuild the controller starts is reported when a poll detects it and
// again when it completes; each document continues the numbering where the
// caller left off.
TEST_F(TarnellLibPollTest, RebuildIsReportedWhenDetectedAndWhenComplete)
{
    tarnellsim::advanceClock(100000); // the scenario's own rebuild ends first
    TarnellLib lib;
    Poller p(lib);
    p.poll(0);
    fakeNow += 1;
    p.poll(0);
    uint32_t next = TarnellEvents::lastEventNumber() + 1;

    // Member 0:3 of drive 3 fails; the hot spare 0:5 takes its place.
    setDeviceState(CONTROLLER_A, 0, 3, DEVSTATE_DEAD);
    fakeNow += 16;
    ASSERT_TRUE(p.poll(0, next));
    std::vector<ListedEvent> events = p.events();
    ASSERT_FALSE(events.empty()) << p.text();
    expectNumberedFrom(next, events);
    EXPECT_TRUE(hasEvent(events, RaidEvent::REBUILD_DETECTED, 0)) << p.text();
    EXPECT_FALSE(hasEvent(events, RaidEvent::REBUILD_COMPLETE)) << p.text();
    next = events.back().number + 1;

    tarnellsim::advanceClock(100000);
    fakeNow += 16;
    ASSERT_TRUE(p.poll(0, next));
    events = p.events();
    ASSERT_FALSE(events.empty()) << p.text();
    expectNumberedFrom(next, events);
    EXPECT_TRUE(hasEvent(events, RaidEvent::REBUILD_COMPLETE, 0)) << p.text();
    EXPECT_FALSE(hasEvent(events, RaidEvent::REBUILD_DETECTED)) << p.text();
}

// Every controller is compared, whichever one the caller names: both are
// seen first on the first poll, and a change on the second controller is
// reported by a poll for the first.
TEST_F(TarnellLibPollTest, ChangeOnTheSecondControllerIsReported)
{
    TarnellLib lib;
    Poller p(lib);
    p.poll(0, 1);
    EXPECT_TRUE(hasEvent(p.events(), RaidEvent::CONTROLLER_ADDED, 0)) << p.text();
    EXPECT_TRUE(hasEvent(p.events(), RaidEvent::CONTROLLER_ADDED, 1)) << p.text();
    fakeNow += 1;
    p.poll(0);
    const uint32_t next = TarnellEvents::lastEventNumber() + 1;

    setDeviceState(CONTROLLER_B, 1, 10, DEVSTATE_HOT_SPARE);
    fakeNow += 16;
    ASSERT_TRUE(p.poll(0, next));
    EXPECT_TRUE(hasEvent(p.events(), RaidEvent::SPARE_CREATED, 1)) << p.text();

    // The second controller's own poll right after finds a young snapshot.
    EXPECT_FALSE(p.poll(1, next));
}

// The first poll sees both controllers for the first time: a version
// mismatch is reported for a controller whose code versions differ, and for
// none of the default scenario's.
TEST_F(TarnellLibPollTest, FirstPollReportsAVersionMismatchOnlyWhereThereIsOne)
{
    const struct {
        const char* name;
        int mismatched; // model id of the controller made to report a mismatch; -1: none
    } rows[] = {
        {"default scenario", -1},
        {"controller 5 mismatched", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        tarnellsim::Scenario s = tarnellsim::defaultScenario();
        if (row.mismatched >= 0)
            s.controllers[static_cast<size_t>(row.mismatched)].codeVersions = 1;
        tarnellsim::reset(s);
        TarnellEvents::resetForTest();
        TarnellLib::resetPollClocksForTest();
        TarnellLib lib;
        Poller p(lib);
        p.poll(0, 1);
        for (int id : {0, 1}) {
            EXPECT_TRUE(hasEvent(p.events(), RaidEvent::CONTROLLER_ADDED, id)) << p.text();
            EXPECT_EQ(id == row.mismatched, hasEvent(p.events(), RaidEvent::MISMATCHED_VERSIONS, id)) << p.text();
        }
    }
}

// The loss of the named controller is reported once; the other controller's
// state is not reported again when the dropped snapshot is replaced.
TEST_F(TarnellLibPollTest, VanishedControllerIsReportedOnce)
{
    TarnellLib lib;
    Poller p(lib);
    p.poll(1);
    fakeNow += 1;
    p.poll(1);
    tarnellsim::Scenario s = tarnellsim::current();
    const tarnellsim::Controller second = s.controllers[1];
    s.controllers.pop_back();
    for (tarnellsim::Device& d : s.controllers[0].devices)
        if (d.channel == 0 && d.target == 6)
            d.state = DEVSTATE_HOT_SPARE;
    tarnellsim::reset(s);
    uint32_t next = TarnellEvents::lastEventNumber() + 1;
    fakeNow += 16;
    ASSERT_TRUE(p.poll(1, next));
    std::vector<ListedEvent> events = p.events();
    EXPECT_EQ(std::vector<uint32_t>{RaidEvent::CONTROLLER_FAIL}, codesOf(events)) << p.text();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(1u, events[0].adapterID);

    // Compared against the same old snapshot: the first controller's spare
    // is reported now, once.
    next = TarnellEvents::lastEventNumber() + 1;
    s.controllers.push_back(second);
    tarnellsim::reset(s);
    fakeNow += 16;
    ASSERT_TRUE(p.poll(1, next));
    events = p.events();
    EXPECT_EQ(1, std::count_if(events.begin(), events.end(), [](const ListedEvent& e) {
                  return e.code == RaidEvent::SPARE_CREATED && e.adapterID == 0;
              })) << p.text();
}

// Every library object's poll shares the clocks, the ring and the rules'
// tables: a monitor's library and a builder's, polling on two threads while a
// drive fails and comes back again and again, take turns, so that each sees
// the ring's numbers in order and every change is derived by both.
TEST_F(TarnellLibPollTest, LibrariesPollingOnTwoThreadsTakeTurns)
{
    // Each reading of the clock is 16 s on, so every poll compares.
    static std::atomic<uint32_t> ticks;
    ticks = 0;
    Date::setClock([]() -> time_t { return static_cast<time_t>(START + 16 * ticks++); });

    std::atomic<bool> done{false};
    std::atomic<int> polls[2] = {{0}, {0}};
    std::vector<uint32_t> seen[2];
    auto poller = [&](int k) {
        TarnellLib lib;
        Poller p(lib);
        unsigned long since = 1;
        while (!done) {
            if (p.poll(0, since)) {
                for (const ListedEvent& e : p.events()) {
                    EXPECT_GE(e.number, since) << p.text();
                    if (!seen[k].empty()) {
                        EXPECT_GT(e.number, seen[k].back()) << p.text();
                    }
                    seen[k].push_back(e.number);
                    since = e.number + 1;
                }
            }
            polls[k]++;
        }
    };
    std::thread first(poller, 0), second(poller, 1);

    tarnellsim::Scenario s = tarnellsim::current();
    tarnellsim::Device* drive = nullptr;
    for (tarnellsim::Device& d : s.controllers[0].devices) {
        if (!drive && d.type == tarnellsim::DEVTYPE_DISK && d.state == DEVSTATE_ONLINE)
            drive = &d;
    }
    ASSERT_NE(nullptr, drive);
    const int CHANGES = 10;
    for (int change = 0; change < CHANGES; ++change) {
        // Both libraries poll twice after each change: one of them sees it.
        const int before[2] = {polls[0], polls[1]};
        drive->state = drive->state == DEVSTATE_ONLINE ? DEVSTATE_DEAD : DEVSTATE_ONLINE;
        tarnellsim::reset(s);
        while (polls[0] < before[0] + 2 || polls[1] < before[1] + 2)
            std::this_thread::yield();
    }
    done = true;
    first.join();
    second.join();

    // Each change gave at least one event in each library's comparison.
    EXPECT_GE(TarnellEvents::lastEventNumber(), 2u * CHANGES);
    for (const std::vector<uint32_t>& numbers : seen)
        EXPECT_FALSE(numbers.empty());
}

} // namespace
