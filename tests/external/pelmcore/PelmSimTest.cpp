// Changes scripted between two reads of the simulated Pelm controllers, as a
// monitor's tests make them: states, tasks on the simulated clock, media
// errors, events, and controllers that come, go or move.

#include <functional>

#include "PelmTestSupport.h"
#include "RaidModel/Interface/PhysicalDevice.h"

using namespace pelmtest;

namespace {

PhysicalDevice* diskAt(System* system, STORID_T adapter, STORID_T channel, STORID_T device)
{
    return dynamic_cast<PhysicalDevice*>(system->getObject(driveAddr(adapter, channel, device)));
}

LogicalDrive* logicalAt(System* system, STORID_T adapter, STORID_T logical)
{
    return dynamic_cast<LogicalDrive*>(system->getObject(logicalAddr(adapter, logical)));
}

Progress taskOf(PelmLib& lib, STORID_T adapter, STORID_T logical)
{
    ProgressCollection tasks;
    EXPECT_EQ(lib.getTasks(logicalAddr(adapter, logical), tasks).getReturn(), 0);
    return tasks.getSize() == 1 ? tasks.getProgress(0) : Progress();
}

TEST_F(PelmTest, StatesChangeInTheNextReadNotInTheTreeAtHand)
{
    System* before = read();
    ASSERT_TRUE(pelmsim::setDriveState(0, 0, 3, DRIVE_DEAD));
    ASSERT_TRUE(pelmsim::setLogicalDriveState(0, 0, CRITICAL));
    EXPECT_EQ(diskAt(before, 0, 0, 3)->getState(), DRIVE_SPARE);
    EXPECT_EQ(logicalAt(before, 0, 0)->getState(), OKAY);
    System* after = read();
    EXPECT_EQ(diskAt(after, 0, 0, 3)->getState(), DRIVE_DEAD);
    EXPECT_EQ(logicalAt(after, 0, 0)->getState(), CRITICAL);
}

TEST_F(PelmTest, TasksRunOnTheClockAndAppendTheirEvents)
{
    const struct {
        EnumTaskType type;
        const char* start;
        const char* end;
    } cases[] = {
        {TASK_REBUILD, "0x10", "0x11"},
        {TASK_VERIFY, "0x13", "0x14"},
        {TASK_VERIFY_NO_FIX, "0x13", "0x14"},
        {TASK_CLEAR, "0x19", "0x1a"},
        {TASK_FORMAT, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.type));
        pelmsim::reset();
        read();
        ASSERT_TRUE(pelmsim::startTask(0, 0, c.type, 20, 40));
        EXPECT_FALSE(pelmsim::startTask(0, 0, TASK_VERIFY)); // one task per drive
        Progress running = taskOf(*lib, 0, 0);
        EXPECT_EQ(running.getType(), c.type);
        EXPECT_EQ(running.getStatus(), TASK_STATE_IN_PROGRESS);
        EXPECT_EQ(running.getPercent(), 20u);
        pelmsim::advanceClock(1);
        EXPECT_EQ(taskOf(*lib, 0, 0).getPercent(), 60u);
        pelmsim::advanceClock(1);
        EXPECT_EQ(taskOf(*lib, 0, 0).getType(), TASK_NONE);

        const std::vector<Attributes> events = eventsIn(fetchEvents(*lib, 0, 4).text);
        if (!c.start) {
            EXPECT_TRUE(events.empty());
            continue;
        }
        ASSERT_EQ(events.size(), 2u);
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(events[i].at("SenseKey"), "0x1");
            EXPECT_EQ(events[i].at("LDPath"), "/ld0");
        }
        EXPECT_EQ(events[0].at("AdditionalSenseCode"), c.start);
        EXPECT_EQ(events[1].at("AdditionalSenseCode"), c.end);
    }
}

TEST_F(PelmTest, AFinishedRebuildLeavesItsDriveOkayAndItsDisksOnline)
{
    read();
    pelmsim::advanceClock(64);
    EXPECT_EQ(taskOf(*lib, 0, 1).getPercent(), 99u);
    EXPECT_EQ(sequencesIn(fetchEvents(*lib, 0, 4).text).size(), 0u);
    pelmsim::advanceClock(1);
    const std::vector<Attributes> events = eventsIn(fetchEvents(*lib, 0, 4).text);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].at("AdditionalSenseCode"), "0x11");
    System* after = read();
    EXPECT_EQ(logicalAt(after, 0, 1)->getState(), OKAY);
    EXPECT_EQ(diskAt(after, 0, 1, 2)->getState(), DRIVE_ONLINE);
}

TEST_F(PelmTest, MediaErrorsAndAppendedEventsGetTheNextSequence)
{
    read();
    ASSERT_TRUE(pelmsim::mediaError(0, 0, 1));
    ASSERT_TRUE(pelmsim::mediaError(0, 1, 3, true));
    pelmsim::Event own;
    own.sequence = 99; // replaced by the next number
    own.senseKey = 1;
    own.additionalSenseCode = 0x12;
    own.ldPath = "/ld1";
    uint32_t sequence = 0;
    ASSERT_TRUE(pelmsim::appendEvent(0, own, &sequence));
    EXPECT_EQ(sequence, 6u);
    const std::vector<Attributes> events = eventsIn(fetchEvents(*lib, 0, 4).text);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(std::vector<std::string>({events[0].at("Sequence"), events[0].at("SenseKey"),
                                        events[0].at("AdditionalSenseCode"), events[0].at("LDPath")}),
              std::vector<std::string>({"4", "0x3", "0x81", "/c0/t1"}));
    EXPECT_EQ(std::vector<std::string>({events[1].at("Sequence"), events[1].at("AdditionalSenseCode"),
                                        events[1].at("LDPath")}),
              std::vector<std::string>({"5", "0x80", "/c1/t3"}));
    EXPECT_EQ(events[2].at("Sequence"), "6");
    // Other controllers keep their own numbers.
    EXPECT_EQ(sequencesIn(fetchEvents(*lib, 1, 1).text), std::vector<std::string>{"1"});
}

TEST_F(PelmTest, ControllersComeGoAndMove)
{
    read();
    pelmsim::Controller extra = pelmsim::defaultScenario().controllers[1];
    extra.number = 5;
    extra.pciBus = 9;
    ASSERT_TRUE(pelmsim::addController(extra));
    EXPECT_FALSE(pelmsim::addController(extra)); // its number is taken now
    ASSERT_TRUE(pelmsim::removeController(1));
    ASSERT_TRUE(pelmsim::moveController(0, 6, 1, 2));
    // The tree at hand still holds controller 1, which is gone.
    EXPECT_EQ(fetchEvents(*lib, 1, 1).code, -12);

    System* after = read();
    ASSERT_EQ(after->getNumAdapters(), 2u);
    Adapter* moved = after->getAdapter(0);
    EXPECT_EQ(moved->getAdapterID(), 0u);
    EXPECT_EQ(std::vector<unsigned>({moved->getPCIBus(), moved->getPciDevice(), moved->getPCIFunction()}),
              std::vector<unsigned>({6, 1, 2}));
    EXPECT_EQ(after->getAdapter(1)->getAdapterID(), 5u);
    _LDTree path = {};
    Addr a = adapterAddr(0);
    ASSERT_EQ(lib->getPath(a, path).getReturn(), 0);
    char text[48];
    LDPathUtils::sPrintPath(path, text, sizeof text);
    EXPECT_STREQ(text, "pelm/06:01.2");
}

TEST(PelmSimChanges, OfObjectsThatDoNotExistChangeNothing)
{
    pelmsim::reset();
    const struct {
        const char* what;
        std::function<bool()> change;
    } cases[] = {
        {"drive state, no controller", [] { return pelmsim::setDriveState(7, 0, 0, DRIVE_DEAD); }},
        {"drive state, no drive", [] { return pelmsim::setDriveState(0, 0, 9, DRIVE_DEAD); }},
        {"logical drive state", [] { return pelmsim::setLogicalDriveState(0, 9, OFFLINE); }},
        {"task", [] { return pelmsim::startTask(0, 9, TASK_REBUILD); }},
        {"task, already running", [] { return pelmsim::startTask(0, 1, TASK_VERIFY); }},
        {"media error", [] { return pelmsim::mediaError(0, 3, 0); }},
        {"event", [] { return pelmsim::appendEvent(7, pelmsim::Event()); }},
        {"remove", [] { return pelmsim::removeController(7); }},
        {"move", [] { return pelmsim::moveController(7, 1, 1, 1); }},
    };
    const pelmsim::Scenario before = pelmsim::current();
    for (const auto& c : cases)
        EXPECT_FALSE(c.change()) << c.what;
    const pelmsim::Scenario after = pelmsim::current();
    ASSERT_EQ(after.controllers.size(), before.controllers.size());
    for (size_t i = 0; i < after.controllers.size(); ++i) {
        EXPECT_EQ(after.controllers[i].events.size(), before.controllers[i].events.size());
        EXPECT_EQ(after.controllers[i].tasks.size(), before.controllers[i].tasks.size());
    }
}

} // namespace
