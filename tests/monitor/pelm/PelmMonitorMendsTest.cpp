// What the Pelm monitor does where a plain reading of its polls would lose or
// repeat events: pending events wait for the comparison that translates
// them, sequence numbers are read in full, task records outlive the
// configuration they were seen in, and drives pair by their device paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PelmMonitorTestUtil.h"
#include "RaidModel/Interface/HardDrive.h"
#include "monitor/NRMHardDrive.h"

using namespace pelmmonitortest;

namespace {

const std::string MEDIA_ERROR = "418/2 agentEventWrnBadBlock at 0/-/1/2";

TEST_F(PelmMonitorTest, FailedFetchDoesNotTranslateEventsAgain)
{
    make();
    startUp();
    comparePoll();
    ASSERT_TRUE(pelmsim::mediaError(0, 1, 2));
    EXPECT_EQ(brief(comparePoll()), std::vector<std::string>{MEDIA_ERROR});
    pelmsim::injectFailure("getEvents", -12, 0);
    EXPECT_EQ(brief(comparePoll()), std::vector<std::string>{});
    EXPECT_EQ(brief(comparePoll()), std::vector<std::string>{});
}

TEST_F(PelmMonitorTest, FailedRefreshKeepsTheEventsForTheNextOne)
{
    make();
    startUp();
    comparePoll();
    ASSERT_TRUE(pelmsim::mediaError(0, 1, 2));
    pelmsim::injectFailure("getSystemConfig", -3);
    EXPECT_EQ(brief(comparePoll()), std::vector<std::string>{});
    // The events still wait, so the next poll refreshes and translates them.
    const size_t reads = configReads();
    EXPECT_EQ(brief(comparePoll()), std::vector<std::string>{MEDIA_ERROR});
    EXPECT_EQ(configReads(), reads + 1);
    EXPECT_EQ(brief(comparePoll()), std::vector<std::string>{});
}

TEST_F(PelmMonitorTest, SequenceNumbersAboveTwoToTheThirtyFirstAreKept)
{
    const uint32_t high = 0x80000005u;
    change([&](pelmsim::Scenario& s) {
        s.controllers[0].events = {{high - 1, 7, 0, 0, 0, "", "old"}, {high, 7, 0, 0, 0, "", "newest"}};
        s.controllers[0].nextSequence = high + 1;
    });
    make();
    EXPECT_EQ(monitor->currentAdapterList[0].lastSequence, int64_t(high));
    startUp();
    comparePoll();
    pelmsim::clearCalls();
    FixedClock::advance(10);
    comparePoll();
    // Asked from after the newest, nothing new: no refresh within the interval.
    EXPECT_EQ(pelmsim::calls("getEvents").at(0).from, (unsigned long)(high) + 1);
    EXPECT_EQ(configReads(), 0u);

    uint32_t sequence = 0;
    pelmsim::Event event;
    event.senseKey = 3;
    event.additionalSenseCode = 0x81;
    event.ldPath = "/c1/t2";
    ASSERT_TRUE(pelmsim::appendEvent(0, event, &sequence));
    EXPECT_EQ(brief(comparePoll()), std::vector<std::string>{MEDIA_ERROR});
    EXPECT_EQ(monitor->previousAdapterList[0].lastSequence, int64_t(sequence));
}

TEST_F(PelmMonitorTest, LastSequenceNumberIsNotAskedBeyond)
{
    change([](pelmsim::Scenario& s) {
        s.controllers[0].events = {{0xFFFFFFFFu, 7, 0, 0, 0, "", "last"}};
        s.controllers[0].nextSequence = 0xFFFFFFFFu;
    });
    make();
    startUp();
    comparePoll();
    pelmsim::clearCalls();
    FixedClock::advance(10);
    comparePoll();
    const std::vector<pelmsim::Call> fetches = pelmsim::calls("getEvents");
    ASSERT_EQ(fetches.size(), 1u);
    EXPECT_EQ(fetches[0].adapter, 1);
    EXPECT_EQ(configReads(), 0u);
}

TEST_F(PelmMonitorTest, TasksOfAReleasedConfigurationAreComparedSafely)
{
    // Two refreshes in a row: the task records of the first poll name
    // adapters of a configuration released by the second.
    make();
    startUp();
    for (int poll = 0; poll < 3; ++poll) {
        FixedClock::advance(PelmRaidMonitor::REFRESH_INTERVAL);
        ASSERT_TRUE(pelmsim::setLogicalDriveState(0, 1, poll % 2 ? CRITICAL : OKAY));
        comparePoll();
    }
    EXPECT_EQ(monitor->compareRelativeChanges(liveLogical(0, 1), liveLogical(0, 1)), 0);
}

TEST_F(PelmMonitorTest, ComparePollRightAfterConstructionIsSafe)
{
    // No start-up comparison: the records of construction name adapters of
    // the configuration that this poll's refresh replaces.
    make();
    FixedClock::advance(PelmRaidMonitor::REFRESH_INTERVAL);
    const size_t reads = configReads();
    const std::vector<NRMEvent> events = comparePoll();
    EXPECT_EQ(configReads(), reads + 1);
    EXPECT_EQ(brief(only(events, {202, 207})), std::vector<std::string>{});
    EXPECT_EQ(monitor->previousAdapterList.size(), 2u);
}

TEST_F(PelmMonitorTest, FindsDrivesByTheirDevicePaths)
{
    make();
    startUp();
    HardDrive* live = dynamic_cast<HardDrive*>(liveAdapter(0)->getObject(pelmtest::driveAddr(0, 1, 2)));
    ASSERT_NE(live, nullptr);
    // A stored drive whose address differs is paired by its stored path.
    const struct {
        std::string path;
        bool found;
    } cases[] = {
        {"pelm/02:04.0/c1/t2", true},
        {"pelm/02:04.0/c1/t9", false}, // no such drive
        {"", false},
        {"pelm/02:04.0/c1/t2" + std::string(40, 'x'), false}, // longer than a path text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        NRMHardDrive stored(nullptr, nullptr);
        stored.getAddr().setAdapterID(0);
        stored.getAddr().setDeviceID(99);
        stored.LDPath = c.path;
        EXPECT_EQ(monitor->findPD(&stored, liveAdapter(0)), c.found ? live : nullptr);
    }
    EXPECT_EQ(monitor->findPD(nullptr, liveAdapter(0)), nullptr);
    EXPECT_EQ(monitor->findPD(live, nullptr), nullptr);
    // A live drive by address first.
    EXPECT_EQ(monitor->findPD(live, liveAdapter(0)), live);
}

TEST_F(PelmMonitorTest, NoLiveConfigurationAtStartRaisesNothingAndKeepsTheSnapshot)
{
    make();
    startUp();
    const std::string before = testsupport::readFile(dir.libDir + "WATCHPELMConfig.xml");
    pelmsim::injectFailure("getSystemConfig", -3);
    lib.reset(new PelmLib); // no configuration read yet
    make();
    EXPECT_EQ(monitor->getControllerCount(), 0);
    EXPECT_EQ(brief(startUp()), std::vector<std::string>{});
    EXPECT_EQ(testsupport::readFile(dir.libDir + "WATCHPELMConfig.xml"), before);
}

} // namespace
