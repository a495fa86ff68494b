#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "RaidLib/Util/Date.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"

// The family's event ring, its change tests, the reminder throttles and the
// per-controller state. The change tests run against the simulated
// controllers; the throttles on a clock of the test's own.

using namespace tarnelltest;

namespace {

// The event numbers of a text of "RaidEvent" elements, in order; each element
// must be followed by a line break.
std::vector<unsigned> eventNumbers(const std::string& xml)
{
    std::vector<unsigned> numbers;
    static const std::regex element("<RaidEvent [^>]*eventNumber=\"([0-9]+)\"[^>]*/>\n");
    for (std::sregex_iterator it(xml.begin(), xml.end(), element), end; it != end; ++it)
        numbers.push_back(static_cast<unsigned>(std::stoul((*it)[1].str())));
    return numbers;
}

std::vector<unsigned> range(unsigned first, unsigned last)
{
    std::vector<unsigned> numbers;
    for (unsigned n = first; n <= last; ++n)
        numbers.push_back(n);
    return numbers;
}

void addEvents(unsigned count)
{
    for (unsigned i = 0; i < count; ++i)
        TarnellEvents::addEvent(RaidEvent(RaidEvent::INFORMATION_EVENT, RaidEvent::DRIVE_ADDED, i));
}

class TarnellEventRingTest : public ::testing::Test {
protected:
    void SetUp() override { TarnellEvents::resetForTest(); }
    void TearDown() override { TarnellEvents::resetForTest(); }
};

TEST_F(TarnellEventRingTest, EmptyRingYieldsNothingAndTheFirstEventIsNumberOne)
{
    std::string xml;
    for (unsigned long since : {0ul, 1ul, 2ul})
        TarnellEvents::getEventsXml(since, xml);
    EXPECT_EQ("", xml);

    addEvents(1);
    TarnellEvents::getEventsXml(1, xml);
    EXPECT_EQ(std::vector<unsigned>{1}, eventNumbers(xml));
    EXPECT_NE(std::string::npos, xml.find("errorCode=\"0\""));
}

// After 40 events the ring holds 9 to 40; whatever is asked from before 9
// yields those 32.
TEST_F(TarnellEventRingTest, FortyEventsAreHandedOutFromTheNumberAsked)
{
    addEvents(40);
    EXPECT_EQ(40u, TarnellEvents::lastEventNumber());
    struct Case {
        unsigned long since;
        std::vector<unsigned> numbers;
    };
    const Case cases[] = {
        {9, range(9, 40)}, {5, range(9, 40)}, {1, range(9, 40)}, {20, range(20, 40)},
        {40, {40}},        {41, {}},          {0, {}},           {~0ul, {}},
    };
    for (const Case& c : cases) {
        std::string xml;
        TarnellEvents::getEventsXml(c.since, xml);
        EXPECT_EQ(c.numbers, eventNumbers(xml)) << "since " << c.since;
    }
    // Event 40 was the 40th added (error code 39), in slot 7.
    std::string xml;
    TarnellEvents::getEventsXml(40, xml);
    EXPECT_NE(std::string::npos, xml.find("errorCode=\"39\""));
}

TEST_F(TarnellEventRingTest, TextAlreadyInTheStringStaysInFront)
{
    addEvents(2);
    std::string xml = "<before/>";
    TarnellEvents::getEventsXml(2, xml);
    EXPECT_EQ(0u, xml.find("<before/><RaidEvent "));
    EXPECT_EQ('\n', xml.back());
}

// ---------------------------------------------------------------- throttles

uint32_t fakeNow = 0;
time_t fakeClock() { return static_cast<time_t>(fakeNow); }

class TarnellThrottleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TarnellEvents::resetForTest();
        fakeNow = 1714986000;
        previous = Date::setClock(fakeClock);
    }
    void TearDown() override
    {
        Date::setClock(previous);
        TarnellEvents::resetForTest();
    }
    Date::ClockFn previous = nullptr;
};

TEST_F(TarnellThrottleTest, RemindersComeOncePerPeriod)
{
    struct Throttle {
        bool (*isTime)();
        uint32_t rate;
    };
    const Throttle throttles[] = {{TarnellEvents::isTimeToReportCriticalLogicalDrives, 28800},
                                  {TarnellEvents::isTimeToReportUnsupportedDrives, 2592000}};
    for (const Throttle& t : throttles) {
        TarnellEvents::resetForTest();
        const uint32_t start = fakeNow;
        EXPECT_TRUE(t.isTime()) << "a stamp of 0 answers at once";
        fakeNow = start + t.rate;
        EXPECT_FALSE(t.isTime()) << "not more than the rate";
        fakeNow = start + t.rate + 1;
        EXPECT_TRUE(t.isTime());
        EXPECT_FALSE(t.isTime());

        // After the monitor's start the first reminder waits a full period.
        TarnellEvents::SetNRMTime(static_cast<long>(fakeNow));
        fakeNow += 10;
        EXPECT_FALSE(t.isTime());

        // A clock set back before the stamp: a large unsigned difference.
        fakeNow -= 100;
        EXPECT_TRUE(t.isTime());
        fakeNow = start;
    }
}

// ------------------------------------------------ change tests and state

class TarnellChangeTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        TarnellEvents::resetForTest();
        ctl.reset(new SimController(CONTROLLER_A, TARNELL_B2));
    }
    void TearDown() override
    {
        ctl.reset();
        TarnellEvents::resetForTest();
        SimTest::TearDown();
    }
    std::unique_ptr<SimController> ctl;
};

TEST_F(TarnellChangeTest, ProgressCountsAsChangedOnlyInItsTaskFields)
{
    TarnellAdapter* adapter = ctl->adapter;
    EXPECT_FALSE(TarnellEvents::progressChanged(nullptr));
    EXPECT_TRUE(TarnellEvents::progressChanged(adapter)) << "nothing saved yet";

    _REBUILD_STATUS now;
    ASSERT_EQ(Ret(0), adapter->returnProgress(now));
    TarnellEvents::saveProgress(adapter->getAdapterID(), now);
    EXPECT_FALSE(TarnellEvents::progressChanged(adapter));

    // The rebuild moves on: its stripe number is no change.
    tarnellsim::advanceClock(10);
    EXPECT_FALSE(TarnellEvents::progressChanged(adapter));

    _REBUILD_STATUS saved = now;
    saved.ucRebuildRate ^= 0xFF;
    TarnellEvents::saveProgress(adapter->getAdapterID(), saved);
    EXPECT_FALSE(TarnellEvents::progressChanged(adapter));
    saved.ucStatus ^= 0xFF;
    TarnellEvents::saveProgress(adapter->getAdapterID(), saved);
    EXPECT_TRUE(TarnellEvents::progressChanged(adapter));

    tarnellsim::injectFailure("CheckProgress", tarnellsim::RC_BUSY);
    EXPECT_FALSE(TarnellEvents::progressChanged(adapter)) << "an unreadable record is no change";
    EXPECT_NE(std::string::npos, familyLog().find("Retrieving adapter progress object failed"));
}

TEST_F(TarnellChangeTest, ConfigurationChangeIsTheLibrarysFlag)
{
    EXPECT_FALSE(TarnellEvents::configurationChanged(ctl->adapter));
    ASSERT_EQ(Ret(0), ctl->adapter->setCopyBack(false));
    EXPECT_TRUE(TarnellEvents::configurationChanged(nullptr)) << "the adapter selects nothing";
    EXPECT_FALSE(TarnellEvents::configurationChanged(ctl->adapter)) << "answered once";

    tarnellsim::injectFailure("GetAdapterChangeStatus", tarnellsim::RC_BUSY);
    ASSERT_EQ(Ret(0), ctl->adapter->setCopyBack(true));
    EXPECT_FALSE(TarnellEvents::configurationChanged(ctl->adapter));

    stdoutOf([this] { withoutControllerAccess(); });
    bool changed = true;
    stdoutOf([&] { changed = TarnellEvents::configurationChanged(ctl->adapter); });
    EXPECT_FALSE(changed);
}

// Every controller keeps its state by model id, from id 16 on too: its saved
// record is what its progress is compared with, and each id's entries are
// its own, zero when first asked for and where they were after others came.
TEST_F(TarnellChangeTest, ControllersFromModelIdSixteenOnKeepTheirState)
{
    // A seventeenth controller: ids 1-16 go to other C-API numbers.
    for (int n = 100; n < 116; ++n)
        TarnellAdapter::getUniqueID(n);
    SimController seventeenth(CONTROLLER_B, TARNELL_C0);
    TarnellAdapter* adapter = seventeenth.adapter;
    ASSERT_EQ(17u, adapter->getAdapterID());
    EXPECT_TRUE(TarnellEvents::progressChanged(adapter)) << "nothing saved yet";
    _REBUILD_STATUS now;
    ASSERT_EQ(Ret(0), adapter->returnProgress(now));
    TarnellEvents::saveProgress(17, now);
    EXPECT_FALSE(TarnellEvents::progressChanged(adapter));
    EXPECT_EQ(nullptr, TarnellEvents::getSavedProgress(16));
    EXPECT_EQ(nullptr, TarnellEvents::getSavedProgress(STORID_UNDEFINED));

    const EVT_ADAPTER_STATUS zero = {};
    EVT_ADAPTER_STATUS& sixteenth = TarnellEvents::getAdapterStatus(16);
    EXPECT_EQ(0, std::memcmp(&zero, &sixteenth, sizeof zero));
    sixteenth.virtDriveNumber = 5;
    for (STORID_T id = 18; id < 300; ++id)
        TarnellEvents::getAdapterStatus(id).virtDriveNumber = static_cast<int>(id);
    EXPECT_EQ(&sixteenth, &TarnellEvents::getAdapterStatus(16));
    EXPECT_EQ(5, sixteenth.virtDriveNumber);
    EXPECT_EQ(0, TarnellEvents::getAdapterStatus(17).virtDriveNumber);
    EXPECT_EQ(299, TarnellEvents::getAdapterStatus(299).virtDriveNumber);
}

} // namespace
