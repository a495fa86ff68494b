// The Pelm monitor's task-progress events and its translation of the
// controllers' sense data: the tables of sense codes, the running check
// between polls and the comparison with the stored task list at start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PelmMonitorTestUtil.h"

using namespace pelmmonitortest;

namespace {

class PelmTaskEvents : public PelmMonitorTest {
protected:
    // The events that the sense-code translations raise for the events on
    // controller 0 of the default scenario.
    std::vector<NRMEvent> translate(std::vector<PelmEvent> events)
    {
        NRMEventCollection& queue = *monitor->eventQueue;
        monitor->compareProgress(queue, liveAdapter(0), events);
        monitor->checkTranslateEvents(queue, liveAdapter(0), events);
        return monitor->getEvents(0);
    }
    // The object phrase of logical drive n of controller 0.
    std::string logical(STORID_T n) { return monitor->getEventID(liveLogical(0, n)); }
};

PelmEvent sense(int key, int code, const char* path) { return PelmEvent(7, 0, key, code, 9, path, "event"); }

TEST_F(PelmTaskEvents, SenseCodesAsATable)
{
    make();
    startUp();
    const struct {
        int key;
        int code;
        const char* path;
        std::vector<std::string> expected;
    } cases[] = {
        {1, 0x10, "/ld1", {"304/4 agentEventInfRebuildDetected at 0/1/-/-", "399/2 agentEventInfRebuildDetected at 0/1/-/-"}},
        {1, 0x89, "/ld1", {"304/4 agentEventInfRebuildDetected at 0/1/-/-", "399/2 agentEventInfRebuildDetected at 0/1/-/-"}},
        {1, 0x01, "/ld0", {"350/4 agentEventInfSyncAborted at 0/0/-/-"}},
        {1, 0x0e, "/ld0", {"349/4 agentEventInfRebuildAborted at 0/0/-/-"}},
        {1, 0x0f, "/ld0", {"351/4 agentEventInfInitAborted at 0/0/-/-"}},
        {1, 0x11, "/ld1", {"305/4 agentEventInfRebuildComplete at 0/1/-/-"}},
        {1, 0x12, "/ld1", {"306/1 agentEventErrRebuild at 0/1/-/-"}},
        {1, 0x13, "/ld0", {"307/4 agentEventInfSyncDetected at 0/0/-/-"}},
        {1, 0x14, "/ld0", {"308/4 agentEventInfSyncComplete at 0/0/-/-"}},
        {1, 0x15, "/ld0", {"309/1 agentEventErrSync at 0/0/-/-"}},
        {1, 0x19, "/ld0", {"342/4 agentEventInfInitDetected at 0/0/-/-"}},
        {1, 0x1a, "/ld0", {"343/4 agentEventInfInitComplete at 0/0/-/-"}},
        {1, 0x1b, "/ld0", {"344/1 agentEventErrInit at 0/0/-/-"}},
        {1, 0x16, "/ld0", {}},                // not in the table
        {2, 0x10, "/ld1", {}},                // not a task event
        {1, 0x10, "/ld7", {}},                // no such logical drive
        {1, 0x10, "", {}},                    // the controller itself
        {1, 0x81, "/c1/t2", {"418/2 agentEventWrnBadBlock at 0/-/1/2"}}, // whatever the key
        {3, 0x88, "/c1/t2", {"418/2 agentEventWrnBadBlock at 0/-/1/2"}},
        {1, 0x80, "/c0/t0", {"422/3 agentEventInfBadBlockRepaired at 0/-/0/0"}},
        {3, 0x81, "/c5/t2", {}},              // no such drive
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.key) + " " + std::to_string(c.code) + " " + c.path);
        EXPECT_EQ(brief(translate({sense(c.key, c.code, c.path)})), c.expected);
    }
}

TEST_F(PelmTaskEvents, TextsParametersAndFields)
{
    make();
    startUp();
    // The failed codes carry the code in hexadecimal; the aborted 0x01 does not.
    std::vector<NRMEvent> events = translate({sense(1, 0x12, "/ld1"), sense(1, 0x01, "/ld1"), sense(1, 0x0f, "/ld1")});
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].text, "agentEventErrRebuild[" + logical(1) + "|12]");
    EXPECT_EQ(events[0].eventName, "EVENT_TARNELL_LD_REBUILD_FAILED");
    EXPECT_EQ(events[1].text, "agentEventInfSyncAborted[" + logical(1) + "]");
    EXPECT_EQ(events[2].text, "agentEventInfInitAborted[" + logical(1) + "|f]");
    for (const NRMEvent& e : events) {
        EXPECT_EQ(e.objectType, NRM_OBJECT_LOGICAL_DRIVE);
        EXPECT_EQ(e.adapterSerial, "");
    }
    // The rebuild pair shares text and name.
    events = translate({sense(1, 0x10, "/ld1")});
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].text, events[1].text);
    EXPECT_EQ(events[1].eventName, "EVENT_TARNELL_LD_REBUILD_STARTED");
    // The media error names its drive.
    events = translate({sense(3, 0x81, "/c1/t2")});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].deviceSerial, "3HZ0B005");
    EXPECT_EQ(events[0].objectType, NRM_OBJECT_PHYSICAL_DRIVE);
    EXPECT_EQ(events[0].eventName, "EVENT_TARNELL_PD_MEDIA_ERROR");
    EXPECT_EQ(events[0].adapterSerial, "");
}

TEST_F(PelmTaskEvents, RunningTaskRaisesOneEventPerChangedPercentage)
{
    change([](pelmsim::Scenario& s) {
        s.controllers[0].tasks[0].percent = 10;
        s.controllers[0].tasks[0].percentPerSecond = 10;
    });
    make();
    startUp();
    pelmsim::advanceClock(1); // 10 to 20 %
    std::vector<NRMEvent> events = only(comparePoll(), {372});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(brief(events[0]), "372/5 agentEventInfRebuildPercentComplete at 0/1/-/-");
    EXPECT_EQ(events[0].text, "agentEventInfRebuildPercentComplete[" + logical(1) + "|20]");
    EXPECT_EQ(events[0].percentComplete, 20);
    EXPECT_EQ(events[0].adapterSerial, "PLM0004711");
    EXPECT_TRUE(only(comparePoll(), {372}).empty()); // unchanged
    pelmsim::advanceClock(3);
    EXPECT_EQ(brief(only(comparePoll(), {372})),
              std::vector<std::string>{"372/5 agentEventInfRebuildPercentComplete at 0/1/-/-"});
    // The end appends its event, which forces the refresh that translates it.
    pelmsim::advanceClock(5);
    EXPECT_EQ(brief(only(comparePoll(), {372, 305})),
              std::vector<std::string>{"305/4 agentEventInfRebuildComplete at 0/1/-/-"});
}

// The catalogue shipped beside the monitor libraries, whose task texts the
// Tarnell monitor shares, reads the running events as they are meant.
TEST_F(PelmTaskEvents, RunningTextsReadWithTheShippedCatalogue)
{
    dir.installCatalogue(MONITOR_CATALOGUE);
    const struct {
        EnumTaskType type;
        int id;
        const char* task;
    } cases[] = {
        {TASK_REBUILD, 372, "Rebuild"},
        {TASK_VERIFY, 373, "Synchronization"},
        {TASK_CLEAR, 384, "Initialization"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.task);
        change([&](pelmsim::Scenario& s) {
            s.controllers[0].tasks[0].type = c.type;
            s.controllers[0].tasks[0].percent = 10;
            s.controllers[0].tasks[0].percentPerSecond = 10;
        });
        make();
        startUp();
        pelmsim::advanceClock(1); // 10 to 20 %
        const std::vector<NRMEvent> events = only(comparePoll(), {c.id});
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].text, std::string(c.task) + " running on " + logical(1) + ": 20% complete.");
    }
    EXPECT_EQ(logical(1), "1 Pelmark PELM U160 RAID #PLM0004711, slot 2, logical drive 2");
}

TEST_F(PelmTaskEvents, TaskFamiliesAtAFirstStart)
{
    const struct {
        EnumTaskType type;
        std::vector<std::string> expected;
    } cases[] = {
        {TASK_VERIFY_NO_FIX, {"307/4 agentEventInfSyncDetected at 1/0/-/-"}},
        {TASK_VERIFY, {"307/4 agentEventInfSyncDetected at 1/0/-/-"}},
        {TASK_CLEAR, {"342/4 agentEventInfInitDetected at 1/0/-/-"}},
        {TASK_FORMAT, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        pelmsim::reset();
        remove((dir.libDir + "WATCHPELMConfig.xml").c_str());
        ASSERT_TRUE(pelmsim::startTask(1, 0, c.type, 30));
        make();
        std::vector<std::string> seen;
        for (const NRMEvent& e : startUp()) {
            // The task events of controller 1, not its check-rule events.
            if (e.address.getAdapterID() == 1 && e.objectType == NRM_OBJECT_LOGICAL_DRIVE && e.eventId != 399)
                seen.push_back(brief(e));
        }
        EXPECT_EQ(seen, c.expected);
    }
}

TEST_F(PelmTaskEvents, StartUpComparesWithTheStoredTasks)
{
    make();
    startUp(); // stores the rebuild at 35 %
    // Stored rebuild, live initialization: the rebuild ended, the initialization started.
    change([](pelmsim::Scenario& s) { s.controllers[0].tasks[0].type = TASK_CLEAR; });
    make();
    EXPECT_EQ(brief(only(startUp(), {385, 342, 304, 372})),
              (std::vector<std::string>{"385/4 agentEventInfRebuildStopped at 0/1/-/-",
                                        "342/4 agentEventInfInitDetected at 0/1/-/-"}));
    // The same task moved on: the running event, no start.
    change([](pelmsim::Scenario& s) { s.controllers[0].tasks[0].percent = 60; });
    make();
    EXPECT_EQ(brief(only(startUp(), {385, 342, 384})),
              std::vector<std::string>{"384/5 agentEventInfInitPercentComplete at 0/1/-/-"});
}

} // namespace
