// The Tarnell monitor's task-progress events.
#include <gmock/gmock.h>

#include "monitor/NRMProgress.h"
#include "TarnellMonitorFixture.h"

using namespace tarnelltest;
using ::testing::HasSubstr;

namespace {

class TarnellProgressTest : public TarnellMonitorTest {
protected:
    void SetUp() override
    {
        makeMonitor();
        lib->getNewSystem();
        ASSERT_EQ(currentAdapters().size(), 2u);
        adapter = currentAdapters()[0]; // rebuilds logical drive 3 at 35 %
    }
    // A stored task list of one record.
    void store(EnumTaskType type, EnumTaskState state, STORID_T logicalDrive, STORID_T adapterID)
    {
        stored.reset(new NRMProgressCollection);
        auto* record = new NRMProgress;
        record->taskType = static_cast<uint32_t>(type);
        record->taskState = static_cast<uint32_t>(state);
        record->address.setAdapterID(adapterID);
        record->address.setLogicalDriveID(logicalDrive);
        stored->addChild(record);
        monitor->storedProgress = stored.get();
    }
    std::vector<int> ids(const std::vector<NRMEvent>& events)
    {
        std::vector<int> out;
        for (const NRMEvent& e : events)
            out.push_back(e.eventId);
        return out;
    }

    Adapter* adapter = nullptr;
    std::unique_ptr<NRMProgressCollection> stored;
};

} // namespace

TEST_F(TarnellProgressTest, StoredTaskAgainstTheLiveOne)
{
    struct Row {
        const char* name;
        EnumTaskType type;
        EnumTaskState state;
        STORID_T logicalDrive;
        bool otherAdapter;
        std::vector<int> ids;
        bool pending;
    };
    const Row rows[] = {
        {"same rebuild", TASK_REBUILD, TASK_STATE_IN_PROGRESS, 3, false, {}, true},
        {"rebuild moved", TASK_REBUILD, TASK_STATE_IN_PROGRESS, 1, false, {304, 385}, false},
        {"verify before", TASK_VERIFY, TASK_STATE_IN_PROGRESS, 0, false, {304, 386}, true},
        {"no task before", TASK_NONE, TASK_STATE_NONE, STORID_UNDEFINED, false, {304}, true},
        {"paused before", TASK_REBUILD, TASK_STATE_PAUSED, 3, false, {}, false},
        {"another controller's record", TASK_VERIFY, TASK_STATE_IN_PROGRESS, 0, true, {}, false},
    };
    for (const Row& row : rows) {
        monitor->progressEventPending = false;
        monitor->loggedEvents.clear();
        const STORID_T id = row.otherAdapter ? adapter->getAdapterID() + 1 : adapter->getAdapterID();
        store(row.type, row.state, row.logicalDrive, id);
        monitor->compareProgress(*monitor->eventQueue, adapter, adapter);
        const std::vector<NRMEvent> events = takeEvents();
        EXPECT_EQ(ids(events), row.ids) << row.name;
        EXPECT_EQ(monitor->progressEventPending, row.pending) << row.name;
        if (!events.empty()) {
            EXPECT_EQ(events[0].address.getLogicalDriveID(), 3u) << row.name;
            EXPECT_EQ(events[0].logicalDriveNumber, 4) << row.name;
            EXPECT_EQ(monitor->loggedEvents[0].logicalDrive, 4) << row.name;
        }
    }
}

TEST_F(TarnellProgressTest, RebuildCompletedWhileNoMonitorRan)
{
    store(TASK_REBUILD, TASK_STATE_IN_PROGRESS, 3, adapter->getAdapterID());
    tarnellsim::advanceClock(7200);
    lib->getNewSystem();
    Adapter* live = lib->getNewSystem()->getAdapter(0);
    monitor->compareProgress(*monitor->eventQueue, live, adapter);
    const std::vector<NRMEvent> events = takeEvents();
    ASSERT_EQ(ids(events), std::vector<int>{305});
    EXPECT_THAT(events[0].text, HasSubstr("agentEventInfRebuildComplete[eventArgControllerLogicalDrive["));
}

TEST_F(TarnellProgressTest, AddProgressEventByTypeAndState)
{
    struct Row {
        int ldmType;
        unsigned long type, state;
        bool nullAdapter;
        int id; // 0: none
    };
    const Row rows[] = {
        {0, TASK_MIGRATION, TASK_STATE_IN_PROGRESS, false, 310},
        {14, TASK_MIGRATION, TASK_STATE_IN_PROGRESS, false, 313},
        {0, TASK_VERIFY, TASK_STATE_FAILED, false, 309},
        {0, TASK_VERIFY_NO_FIX, TASK_STATE_ABORTED, false, 386},
        {0, TASK_REBUILD, TASK_STATE_PAUSED, false, 0},
        {0, TASK_COPYBACK, TASK_STATE_IN_PROGRESS, false, 0},
        {0, TASK_REBUILD, TASK_STATE_COMPLETE, true, 0},
        {0, 16, TASK_STATE_COMPLETE, false, 0},
    };
    for (const Row& row : rows) {
        monitor->ldmProgressType = row.ldmType;
        monitor->loggedEvents.clear();
        monitor->AddProgressEvent(*monitor->eventQueue, row.type, row.state, row.nullAdapter ? nullptr : adapter, 2);
        const std::vector<NRMEvent> events = takeEvents();
        if (row.id == 0) {
            EXPECT_TRUE(events.empty()) << row.type << "/" << row.state;
            EXPECT_TRUE(monitor->loggedEvents.empty());
            continue;
        }
        ASSERT_EQ(events.size(), 1u) << row.type;
        EXPECT_EQ(events[0].eventId, row.id);
        EXPECT_EQ(events[0].severity, 3);
        EXPECT_EQ(events[0].objectType, NRM_OBJECT_LOGICAL_DRIVE);
        // The controller's serial and the logical drive name the volume.
        EXPECT_EQ(events[0].adapterSerial, adapter->getSerialNumString());
        EXPECT_EQ(events[0].address.getLogicalDriveID(), 2u);
        ASSERT_EQ(monitor->loggedEvents.size(), 1u);
        EXPECT_EQ(monitor->loggedEvents[0].eventCode, row.id);
        EXPECT_EQ(monitor->loggedEvents[0].logicalDrive, 3);
    }
}

TEST_F(TarnellProgressTest, PercentCompleteEventsPerAdapter)
{
    Adapter* other = currentAdapters()[1];
    struct Step {
        Adapter* adapter;
        EnumTaskType type;
        uint32_t logicalDrive, percent;
        int flag; // 0: no event
    };
    const Step steps[] = {
        {adapter, TASK_REBUILD, 1, 10, 0},  // first sighting
        {adapter, TASK_REBUILD, 1, 20, 20}, // grown
        {other, TASK_REBUILD, 0, 15, 0},    // another adapter starts on its own
        {adapter, TASK_REBUILD, 1, 20, 0},  // unchanged
        {other, TASK_REBUILD, 0, 18, 18},
        {adapter, TASK_REBUILD, 2, 5, 0},   // a new task starts afresh
        {adapter, TASK_REBUILD, 2, 10, 10},
        {adapter, TASK_CLEAR, 2, 50, 0},    // no percent code
    };
    for (const Step& step : steps) {
        Progress task(step.type, step.logicalDrive, TASK_STATE_IN_PROGRESS, step.percent);
        monitor->logProgressEvent(step.adapter, task);
        const std::vector<NRMEvent> events = takeEvents();
        if (step.flag == 0) {
            EXPECT_TRUE(events.empty()) << step.percent;
            continue;
        }
        ASSERT_EQ(events.size(), 1u) << step.percent;
        EXPECT_EQ(events[0].eventId, 372);
        EXPECT_EQ(events[0].percentComplete, step.flag);
        // The serial of the controller's other events (the second
        // controller, which has none, by its PCI place).
        NRMEvent controllerEvent;
        controllerEvent.setAdapterSerial(step.adapter);
        EXPECT_FALSE(events[0].adapterSerial.empty());
        EXPECT_EQ(events[0].adapterSerial, controllerEvent.adapterSerial);
        EXPECT_EQ(events[0].address.getAdapterID(), step.adapter->getAdapterID());
        EXPECT_EQ(events[0].address.getLogicalDriveID(), step.logicalDrive);
        EXPECT_EQ(events[0].logicalDriveNumber, static_cast<int>(step.logicalDrive + 1));
    }
}

// The catalogue shipped beside the monitor libraries reads the task events
// as they are meant: the logical drive's phrase, then the percentage.
TEST_F(TarnellProgressTest, TextsReadWithTheShippedCatalogue)
{
    monitortest::writeFile(dir.libDir + "RaidNLS.properties", testsupport::readFile(MONITOR_CATALOGUE));
    makeMonitor();
    const std::string drive = monitor->getDetailedAdapterID(adapter) + ", logical drive 2";
    monitor->AddProgressEvent(*monitor->eventQueue, TASK_REBUILD, TASK_STATE_IN_PROGRESS, adapter, 1);
    const struct {
        EnumTaskType type;
        const char* text;
    } cases[] = {
        {TASK_REBUILD, "Rebuild running on "},
        {TASK_VERIFY, "Synchronization running on "},
        {TASK_VERIFY_NO_FIX, "Verification running on "},
        {TASK_MIGRATION, "Migration running on "},
        {TASK_COMPACTING, "Compaction running on "},
        {TASK_EXPANDING, "Expansion running on "},
        {TASK_COMPRESS, "Compression running on "},
        {TASK_DECOMPRESS, "Decompression running on "},
    };
    std::vector<std::string> expected{"Rebuild started on " + drive + "."};
    for (const auto& c : cases) {
        for (uint32_t percent : {10u, 20u}) {
            Progress task(c.type, 1, TASK_STATE_IN_PROGRESS, percent);
            monitor->logProgressEvent(adapter, task);
        }
        expected.push_back(c.text + drive + ": 20% complete.");
    }
    std::vector<std::string> texts;
    for (const NRMEvent& e : takeEvents())
        texts.push_back(e.text);
    EXPECT_EQ(texts, expected);
}

TEST_F(TarnellProgressTest, TaskListHoldsOneRecordPerAdapter)
{
    monitor->setProgress();
    ASSERT_EQ(monitor->progress->getNumChildren(), 2u);
    auto* first = static_cast<NRMProgress*>(monitor->progress->getChild(0));
    EXPECT_EQ(first->taskType, static_cast<uint32_t>(TASK_REBUILD));
    EXPECT_EQ(first->taskState, static_cast<uint32_t>(TASK_STATE_IN_PROGRESS));
    EXPECT_EQ(first->address.getLogicalDriveID(), 3u);

    ScriptedLib empty;
    TarnellRaidMonitor idle(&empty, dir.logDir());
    idle.setProgress();
    EXPECT_EQ(idle.progress->getNumChildren(), 0u);
}

TEST_F(TarnellProgressTest, MigrationTypeFromTheStoredSnapshot)
{
    monitor->LDMProgressType(nullptr);
    EXPECT_FALSE(monitor->ldmProgressTypeFound);
    EXPECT_EQ(monitor->ldmProgressType, 0);
    // The default scenario has no RAID-5E drive.
    monitor->LDMProgressType(lib->getCurrentSystem());
    EXPECT_FALSE(monitor->ldmProgressTypeFound);
}
