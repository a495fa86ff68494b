// The alert-indication provider with scripted monitors in place of the
// families' (the libraries are the real ones over the simulations): what is
// delivered and in which order, the no-controllers indication, and the life
// cycle of load, enable, disable and unload with its threads.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "KRNA_RaidMonitorAlertIndication_Provider.h"
#include "IndicationSeams.h"
#include "ProviderTestSupport.h"
#include "monitor/NRMEventCollection.h"

namespace {

using namespace providertest;
using corvanecimple::KRNA_RaidMonitorAlertIndication_Provider;
using cimple::KRNA_RaidMonitorAlertIndication;
typedef KRNA_RaidMonitorAlertIndication_Provider Provider;

// A monitor whose poll loop only waits; the test queues its events.
class ScriptedMonitor final : public BaseRaidMonitor {
public:
    ScriptedMonitor(StorLibPlugin* lib, const std::string& dir) : BaseRaidMonitor(lib, "", "", "", dir) {}
    int poll(int, NRMEventCollection&) override { return 0; }
    void run() override
    {
        stopped = false;
        while (running)
            sleepMillis(1000);
        stopped = true;
    }
    void stop() override { running = false; }
    void start() override
    {
        starts++;
        running = true;
        run();
    }
    void queue(int id, int severity = 3)
    {
        NRMEvent event;
        event.eventId = id;
        event.severity = severity;
        event.text = "event " + std::to_string(id);
        eventQueue->addEvent(event);
    }
    std::atomic<int> starts{0};
};

// The scripted monitors made by the factory, by family; a family in
// failFamilies gets none.
struct Made {
    ScriptedMonitor* monitors[3] = {};
    long failFamilies = 0;
    int destroyed = 0;
} made;

int familyIndex(long mask)
{
    return mask == Provider::QORL_MASK ? 0 : mask == Provider::TARNELL_MASK ? 1 : 2;
}

BaseRaidMonitor* createScripted(long mask, StorLibPlugin* lib, const std::string& dir)
{
    if (made.failFamilies & mask)
        return nullptr;
    return made.monitors[familyIndex(mask)] = new ScriptedMonitor(lib, dir);
}

void destroyScripted(long mask, BaseRaidMonitor* monitor)
{
    EXPECT_EQ(monitor, made.monitors[familyIndex(mask)]);
    delete static_cast<ScriptedMonitor*>(monitor);
    made.monitors[familyIndex(mask)] = nullptr;
    made.destroyed++;
}

const Provider::MonitorFactory scriptedFactory = {&createScripted, &destroyScripted};

// What the CIM server receives: the class names, in order.
class Received {
public:
    cimple::Indication_Handler<KRNA_RaidMonitorAlertIndication>* handler()
    {
        return new cimple::Indication_Handler<KRNA_RaidMonitorAlertIndication>(
            cimple::Handler_Init{&Received::take, this, nullptr});
    }
    std::vector<std::string> classes()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return names;
    }
    // Waits (at most ten seconds) until n indications have arrived.
    bool waitFor(size_t n)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return arrived.wait_for(lock, std::chrono::seconds(10), [&] { return names.size() >= n; });
    }
    // Called, when set, with the first indication before it is kept.
    std::function<void()> onFirst;

private:
    static bool take(cimple::Instance* instance, void* data)
    {
        Received* self = static_cast<Received*>(data);
        if (!instance)
            return false;
        if (self->onFirst) {
            auto hook = std::move(self->onFirst);
            self->onFirst = nullptr;
            hook();
        }
        std::lock_guard<std::mutex> lock(self->mutex);
        self->names.push_back(instance->meta_class->name);
        cimple::destroy(instance);
        self->arrived.notify_all();
        return true;
    }
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::string> names;
};

class AlertProviderTest : public ProviderTest {
protected:
    void SetUp() override
    {
        ProviderTest::SetUp();
        seams.reset(new IndicationSeams);
        made = Made();
        Provider::setMonitorFactoryForTest(&scriptedFactory);
        Provider::eventID = 1;
    }
    void TearDown() override
    {
        provider.unload();
        Provider::setMonitorFactoryForTest(nullptr);
        seams.reset();
        ProviderTest::TearDown();
    }
    // The indication log's messages that contain the text.
    std::vector<std::string> indicationLog(const std::string& containing)
    {
        std::vector<std::string> out;
        for (const std::string& line : splitLines(testsupport::readFile("KRNAIndication.log"))) {
            const size_t start = line.find("] ");
            const std::string message = start == std::string::npos ? line : line.substr(start + 2);
            if (message.find(containing) != std::string::npos)
                out.push_back(message);
        }
        return out;
    }
    void queueInEach(const std::vector<int>& ids)
    {
        for (ScriptedMonitor* m : made.monitors) {
            for (int id : ids)
                m->queue(id);
        }
    }

    std::unique_ptr<IndicationSeams> seams;
    Provider provider;
    Received received;
};

TEST_F(AlertProviderTest, NoControllersIsDeliveredFirstAndAgainAfterReenabling)
{
    vesksim::reset(vesksim::Scenario{});
    tarnellsim::reset(tarnellsim::Scenario{});
    pelmsim::reset(pelmsim::Scenario{});
    ASSERT_EQ(provider.load(), 0);
    EXPECT_FALSE(Provider::IsQorlFound || Provider::IsTarnellFound || Provider::IsPelmFound);
    for (ScriptedMonitor* m : made.monitors)
        ASSERT_NE(m, nullptr);
    made.monitors[1]->queue(201);
    provider.enable_indications(received.handler());
    ASSERT_TRUE(received.waitFor(1));
    made.monitors[2]->queue(304, 4);
    ASSERT_TRUE(received.waitFor(2));
    EXPECT_EQ(received.classes(), (std::vector<std::string>{"KRNA_NoControllers", "KRNA_RebuildDetected"}));
    EXPECT_EQ(indicationLog("TARNELL : No controllers found event").size(), 1u);
    EXPECT_EQ(indicationLog("QORL controller  0").size(), 1u);
    EXPECT_EQ(indicationLog("Tarnell Controller   0").size(), 1u);
    EXPECT_EQ(indicationLog("Pelm Controller  0").size(), 1u);

    provider.disable_indications();
    EXPECT_EQ(Provider::nrmEventCollecCounter.load(), 0);
    provider.enable_indications(received.handler());
    ASSERT_TRUE(received.waitFor(3));
    EXPECT_EQ(received.classes().back(), "KRNA_NoControllers");
    // The same monitors, started again by their polling threads, which may
    // come after the delivery thread's first indication.
    for (ScriptedMonitor* m : made.monitors) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (m->starts.load() < 2 && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_EQ(m->starts.load(), 2);
    }
    provider.disable_indications();
}

TEST_F(AlertProviderTest, FamiliesAreDeliveredQorlTarnellPelmInQueueOrder)
{
    ASSERT_EQ(provider.load(), 0);
    EXPECT_TRUE(Provider::IsQorlFound && Provider::IsTarnellFound && Provider::IsPelmFound);
    queueInEach({304, 201, 202});
    provider.enable_indications(received.handler());
    ASSERT_TRUE(received.waitFor(6));
    const std::vector<std::string> pair = {"KRNA_RebuildDetected", "KRNA_ControllerFail"};
    std::vector<std::string> expected;
    for (int i = 0; i < 3; ++i)
        expected.insert(expected.end(), pair.begin(), pair.end());
    EXPECT_EQ(received.classes(), expected);
    EXPECT_EQ(indicationLog("No controllers found event,Continue Polling").size(), 3u);
    EXPECT_EQ(indicationLog("deliverIndications() Qorl event count is 3").size(), 1u);
    EXPECT_EQ(indicationLog("deliverIndications() TARNELL : Delivering indication").size(), 2u);
    provider.disable_indications();
    EXPECT_EQ(received.classes().size(), 6u);
}

TEST_F(AlertProviderTest, DisableDuringABatchDeliversTheBatch)
{
    ASSERT_EQ(provider.load(), 0);
    queueInEach({304, 305, 306});
    std::thread disabler;
    // The first delivery waits until the disable has asked the delivery
    // thread to stop.
    received.onFirst = [&] {
        disabler = std::thread([&] { provider.disable_indications(); });
        while (Provider::nrmEventCollecCounter.load() != 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    provider.enable_indications(received.handler());
    ASSERT_TRUE(received.waitFor(9));
    disabler.join();
    EXPECT_EQ(received.classes().size(), 9u);
    EXPECT_EQ(indicationLog("deliverIndications()  Breaking out of while loop").size(), 1u);
}

TEST_F(AlertProviderTest, UnloadWithoutDisableStopsEverythingAndDeletesTheMonitors)
{
    ASSERT_EQ(provider.load(), 0);
    provider.enable_indications(received.handler());
    queueInEach({207});
    ASSERT_TRUE(received.waitFor(3));
    EXPECT_EQ(provider.unload(), 0);
    EXPECT_EQ(made.destroyed, 3);
    EXPECT_EQ(Provider::nrmQorlSet.familyMonitor, nullptr);
    EXPECT_EQ(Provider::tarnellLibPtr, nullptr);
    EXPECT_EQ(Provider::nrmEventCollecCounter.load(), 0);
    EXPECT_EQ(indicationLog("unload() All The monitors Stopped").size(), 1u);
    EXPECT_EQ(indicationLog("stopMonitorThread() All NRM monitors stopped").size(), 1u);
}

TEST_F(AlertProviderTest, RepeatedOrUnmatchedEnableAndDisableStartAndJoinNothingExtra)
{
    ASSERT_EQ(provider.load(), 0);
    provider.disable_indications(); // never enabled
    provider.enable_indications(received.handler());
    provider.enable_indications(received.handler()); // already enabled: ignored
    EXPECT_EQ(Provider::nrmEventCollecCounter.load(), 1);
    EXPECT_EQ(Provider::nrmTarnellSet.threadCount.load(), 1);
    made.monitors[0]->queue(203);
    ASSERT_TRUE(received.waitFor(1));
    provider.disable_indications();
    provider.disable_indications();
    EXPECT_EQ(Provider::nrmEventCollecCounter.load(), 0);
    EXPECT_EQ(Provider::nrmTarnellSet.threadCount.load(), 0);
    for (ScriptedMonitor* m : made.monitors)
        EXPECT_EQ(m->starts.load(), 1);
    EXPECT_EQ(provider.unload(), 0);
    EXPECT_TRUE(indicationLog("unload() Deliver Thread Stopped").empty());
    EXPECT_EQ(made.destroyed, 3);
}

TEST_F(AlertProviderTest, AFamilyWithoutLibraryOrMonitorIsLeftOut)
{
    vesksim::failNextAllocation();
    made.failFamilies = Provider::PELM_MASK;
    EXPECT_EQ(provider.load(), 0);
    EXPECT_EQ(Provider::nrmQorlSet.familyMonitor, nullptr);
    EXPECT_EQ(Provider::nrmPelmSet.familyMonitor, nullptr);
    EXPECT_EQ(Provider::pelmLibPtr, nullptr);
    EXPECT_NE(Provider::nrmTarnellSet.familyMonitor, nullptr);
    EXPECT_EQ(indicationLog("Memory Allocation failed for QorlLib").size(), 1u);
    EXPECT_EQ(indicationLog("Memory Allocation failed for PelmRaidMonitor").size(), 1u);
    EXPECT_EQ(indicationLog("load() QorlRaidMonitor is NULL").size(), 1u);
    EXPECT_EQ(indicationLog("load() PelmRaidMonitor is NULL").size(), 1u);

    provider.enable_indications(received.handler());
    EXPECT_EQ(Provider::nrmQorlSet.threadCount.load(), 0);
    made.monitors[1]->queue(202);
    ASSERT_TRUE(received.waitFor(1));
    provider.disable_indications();
    EXPECT_EQ(made.monitors[1]->starts.load(), 1);
}

TEST_F(AlertProviderTest, BuildMonitorOfAnotherMaskGivesNothing)
{
    EXPECT_EQ(Provider::buildMonitor(2), nullptr);
    EXPECT_EQ(indicationLog("buildMonitor() buildMonitor called for neither of Qorl,Tarnell,Pelm").size(), 1u);
    EXPECT_EQ(indicationLog("buildMonitor() Exiting").size(), 1u);
}

} // namespace
