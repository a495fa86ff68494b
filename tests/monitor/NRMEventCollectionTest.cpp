#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "MonitorTestUtil.h"
#include "monitor/NRMEventCollection.h"
#include "support/TestUtil.h"

using monitortest::DebugMask;
using monitortest::FixedClock;
using monitortest::T0;

namespace {

const char* const OVERLOAD = "NRM Event queue overload. Discarding events.";

NRMEvent event(int id, int severity = NRM_EVENT_ERROR)
{
    NRMEvent e(id, severity, "event " + std::to_string(id), "NAME");
    e.deviceSerial = "drive " + std::to_string(id);
    return e;
}

void offer(NRMEventCollection& q, int firstId, int count)
{
    for (int id = firstId; id < firstId + count; ++id) {
        NRMEvent e = event(id);
        q.addEvent(e);
    }
}

std::vector<int> idsOf(const std::vector<NRMEvent>& events)
{
    std::vector<int> ids;
    for (const NRMEvent& e : events)
        ids.push_back(e.eventId);
    return ids;
}

// first, first + 1, ..., last; empty when last is below first.
std::vector<int> range(int first, int last)
{
    std::vector<int> ids(last >= first ? last - first + 1 : 0);
    std::iota(ids.begin(), ids.end(), first);
    return ids;
}

// The capacity a queue shows: events offered one by one into an empty queue
// until one of them triggers the overload.
int observedCapacity(NRMEventCollection& q)
{
    q.flushEvents(0);
    for (int id = 1; id < 100000; ++id) {
        int before = q.getNumberOfEvents();
        offer(q, id, 1);
        if (q.getNumberOfEvents() != before + 1)
            return before;
    }
    return -1;
}

} // namespace

TEST(NRMEventCollection, OverloadTurnsTheOldestSliceIntoOneMarker)
{
    FixedClock clock;
    struct Case {
        int capacity, dropped;
    } cases[] = {{200, 19}, {250, 24}, {1000, 99}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.capacity);
        FixedClock::set(T0);
        NRMEventCollection q("", c.capacity, NRM_EVENT_TASK_RUNNING);
        offer(q, 1, c.capacity);
        ASSERT_EQ(q.getNumberOfEvents(), c.capacity);
        NRMEvent newest = event(9999, NRM_EVENT_WARNING);
        FixedClock::set(T0 + 5);
        q.addEvent(newest);

        ASSERT_EQ(q.getNumberOfEvents(), c.capacity - c.dropped + 1); // 182 of 200
        std::vector<NRMEvent> all = q.getAllEvents();
        const NRMEvent& marker = all.front();
        EXPECT_EQ(marker.eventId, 200);
        EXPECT_EQ(marker.severity, 2);
        EXPECT_EQ(marker.text, OVERLOAD);
        EXPECT_EQ(marker.eventTime, T0 + 5);
        EXPECT_EQ(marker.eventName, "");
        EXPECT_EQ(marker.objectType, 0);
        // Made from the oldest survivor, whose drive serial it keeps.
        EXPECT_EQ(marker.deviceSerial, "drive " + std::to_string(c.dropped + 1));

        std::vector<int> expected = range(c.dropped + 2, c.capacity);
        expected.insert(expected.begin(), 200);
        expected.push_back(9999);
        EXPECT_EQ(idsOf(all), expected);
        EXPECT_EQ(all.back().eventTime, T0);
        EXPECT_EQ(q.getNumberOfEvents(), 0);
    }
}

TEST(NRMEventCollection, CapacityLimits)
{
    struct Case {
        int constructed;
        std::vector<int> setTo;
        int capacity;
    } cases[] = {
        {100, {}, 200},       {199, {}, 200},    {300, {}, 300},    {100, {200}, 200},
        {100, {201}, 201},    {300, {150}, 300}, {300, {300}, 300}, {300, {250}, 250},
        {300, {-5, 0}, 300},  {200, {400, 201}, 201},
    };
    for (const Case& c : cases) {
        NRMEventCollection q("", c.constructed, NRM_EVENT_TASK_RUNNING);
        for (int size : c.setTo)
            q.setMaxSize(size);
        EXPECT_EQ(observedCapacity(q), c.capacity) << "constructed with " << c.constructed;
    }

    // A capacity below the queued count drops nothing until the next event.
    NRMEventCollection q("", 300, NRM_EVENT_TASK_RUNNING);
    offer(q, 1, 300);
    q.setMaxSize(250);
    EXPECT_EQ(q.getNumberOfEvents(), 300);
    offer(q, 301, 1);
    EXPECT_EQ(q.getNumberOfEvents(), 300 - 24 + 1);
}

TEST(NRMEventCollection, SeverityLevel)
{
    struct Construct {
        EnumEventType given, level;
    } constructs[] = {{EnumEventType(3), NRM_EVENT_TASK_RUNNING},
                      {EnumEventType(5), NRM_EVENT_TASK_RUNNING},
                      {EnumEventType(6), NRM_EVENT_INFORMATION_6},
                      {EnumEventType(7), NRM_EVENT_INFORMATION_7},
                      {EnumEventType(8), NRM_EVENT_TASK_RUNNING},
                      {EnumEventType(0), NRM_EVENT_TASK_RUNNING}};
    for (const Construct& c : constructs)
        EXPECT_EQ(NRMEventCollection("", 200, c.given).getEventTypeLevel(), c.level) << int(c.given);

    struct Set {
        int level;
        bool taken;
    } sets[] = {{1, true}, {3, true}, {7, true}, {0, false}, {8, false}, {-1, false}};
    for (const Set& s : sets) {
        NRMEventCollection q("", 200, NRM_EVENT_INFORMATION_6);
        EXPECT_EQ(q.setEventTypeLevel(EnumEventType(s.level)), s.taken) << s.level;
        EXPECT_EQ(q.getEventTypeLevel(), s.taken ? s.level : 6);
    }

    // Only events at or below the level are queued.
    NRMEventCollection q("", 200, NRM_EVENT_TASK_RUNNING);
    for (int severity : {1, 5, 6, NRM_UNSET, 2}) {
        NRMEvent e = event(severity, severity);
        q.addEvent(e);
    }
    q.addEvent("text only");
    EXPECT_EQ(idsOf(q.getAllEvents()), (std::vector<int>{1, 5, 2}));
    ASSERT_TRUE(q.setEventTypeLevel(NRM_EVENT_INFORMATION_7));
    q.addEvent("text only");
    EXPECT_EQ(q.getNumberOfEvents(), 0);
}

TEST(NRMEventCollection, EventsLogWhileTheEventGroupIsOn)
{
    FixedClock clock;
    {
        FILE* f = fopen("events.log", "w");
        ASSERT_NE(f, nullptr);
        fputs("earlier\n", f);
        fclose(f);
    }
    std::string expected = "earlier\n";
    {
        NRMEventCollection q("events.log", 200, NRM_EVENT_TASK_RUNNING);
        {
            DebugMask off(0xF0F0FF); // every group but the event group
            offer(q, 1, 1);
            q.addEvent("not printed");
        }
        DebugMask on(0x010000);
        NRMEvent filtered = event(2, NRM_EVENT_INFORMATION_6);
        NRMEvent queued = event(3);
        q.addEvent(filtered);
        q.addEvent(queued);
        q.addEvent("a note");
        expected += filtered.toString() + "\n\n" + queued.toString() + "\n\n";
        expected += "Tue Dec  8 22:11:35 2026 | --- | UNKN | ---:A--C--S--L--- | a note\n\n";
        EXPECT_EQ(testsupport::readFile("events.log"), expected);

        // An overload prints its marker before the new event.
        offer(q, 4, 198);
        std::string before = testsupport::readFile("events.log");
        NRMEvent last = event(9999);
        q.addEvent(last);
        std::string marker =
            "Tue Dec  8 22:11:35 2026 | WRN | UNKN | 200:A--C--S--L--- | " + std::string(OVERLOAD) + "\n\n";
        EXPECT_EQ(testsupport::readFile("events.log"), before + marker + last.toString() + "\n\n");
    }

    // A log that cannot be opened is not written; the queue works.
    DebugMask on(0x0F0000);
    NRMEventCollection q("no-such-dir/events.log", 200, NRM_EVENT_TASK_RUNNING);
    offer(q, 1, 2);
    EXPECT_EQ(q.getNumberOfEvents(), 2);
    EXPECT_FALSE(testsupport::fileExists("no-such-dir/events.log"));
}

TEST(NRMEventCollection, TakingAndFlushing)
{
    struct Take {
        int queued, n;
        std::vector<int> taken;
    } takes[] = {
        {2, 3, {1, 2}}, {5, 2, {1, 2}}, {5, 5, {1, 2, 3, 4, 5}}, {2, 0, {}}, {2, -1, {}}, {0, 1, {}},
    };
    for (const Take& t : takes) {
        NRMEventCollection q("", 200, NRM_EVENT_TASK_RUNNING);
        offer(q, 1, t.queued);
        EXPECT_EQ(idsOf(q.getEvents(t.n)), t.taken) << t.queued << " queued, " << t.n << " taken";
        EXPECT_EQ(idsOf(q.getAllEvents()), range(static_cast<int>(t.taken.size()) + 1, t.queued));
    }

    struct Flush {
        int n;
        std::vector<int> left;
    } flushes[] = {{0, {}}, {2, {3, 4, 5}}, {5, {}}, {9, {}}, {-1, {1, 2, 3, 4, 5}}};
    for (const Flush& f : flushes) {
        NRMEventCollection q("", 200, NRM_EVENT_TASK_RUNNING);
        offer(q, 1, 5);
        q.flushEvents(f.n);
        EXPECT_EQ(idsOf(q.getAllEvents()), f.left) << "flushEvents(" << f.n << ")";
    }
}

// One thread offers events while another takes them out: no taking returns
// more than asked for, nothing arrives twice or out of order, and every gap in the ids follows an overload marker
// that stands for at least the 20 events one overload costs.
TEST(NRMEventCollection, ProducerAndConsumerThreads)
{
    const int total = 5000;
    const int perOverload = 20; // 19 dropped and one turned into the marker
    NRMEventCollection q("", 200, NRM_EVENT_TASK_RUNNING);
    std::atomic<int> offered{0};
    std::atomic<bool> done{false};

    std::thread producer([&] {
        for (int id = 1; id <= total; ++id) {
            NRMEvent e = event(id);
            q.addEvent(e);
            offered.store(id);
        }
        done.store(true);
    });

    std::vector<NRMEvent> received;
    // Start late, so that overloads are certain.
    while (offered.load() < 1000)
        std::this_thread::yield();
    for (int round = 0;; ++round) {
        bool finished = done.load();
        const int asked = 1 + round % 50;
        std::vector<NRMEvent> got = q.getEvents(asked);
        // Never more than asked for, though the queue grows meanwhile: a
        // taker with room for that many would lose the rest.
        ASSERT_LE(static_cast<int>(got.size()), asked);
        received.insert(received.end(), got.begin(), got.end());
        if (finished && q.getNumberOfEvents() == 0)
            break;
        if (got.empty())
            std::this_thread::yield();
    }
    producer.join();

    int last = 0;
    int markersSinceLast = 0;
    int markers = 0;
    for (const NRMEvent& e : received) {
        if (e.eventId == 200) {
            ASSERT_EQ(e.text, OVERLOAD);
            ++markersSinceLast;
            ++markers;
            continue;
        }
        ASSERT_GT(e.eventId, last) << "twice or out of order";
        int missing = e.eventId - last - 1;
        if (markersSinceLast == 0)
            ASSERT_EQ(missing, 0) << "events lost without a marker before id " << e.eventId;
        else
            ASSERT_GE(missing, perOverload * markersSinceLast) << "before id " << e.eventId;
        last = e.eventId;
        markersSinceLast = 0;
    }
    EXPECT_EQ(last, total);
    EXPECT_EQ(markersSinceLast, 0);
    EXPECT_GT(markers, 0);
}
