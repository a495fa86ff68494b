#ifndef TESTS_MONITOR_TARNELL_TARNELLMONITORFIXTURE_H
#define TESTS_MONITOR_TARNELL_TARNELLMONITORFIXTURE_H

// The Tarnell monitor over the simulated controllers, in a library directory
// of the test's own. Every wait of the monitor moves the core clock and the
// simulator's clock on together and may stop the monitor after a given
// number of waits, so that start() runs a set number of cycles on the test
// thread. The library can be given scripted event texts and its snapshots
// can be set by hand.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "MonitorFixture.h"
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "TarnellSim.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/tarnell/TarnellRaidMonitor.h"

namespace tarnelltest {

// A TarnellLib whose event texts a test may script and whose snapshots it
// may set.
class ScriptedLib : public TarnellLib {
public:
    struct Call {
        STORID_T adapterID;
        unsigned long since;
    };
    // The text for a call, or null to leave the caller's buffer as it is.
    std::function<const char*(const Call&)> script;
    std::vector<Call> calls;

    using TarnellLib::getEvents;
    Ret getEvents(const Addr& addr, unsigned long since, char** xml) override
    {
        const Call call{addr.getAdapterID(), since};
        calls.push_back(call);
        if (!script)
            return TarnellLib::getEvents(addr, since, xml);
        if (const char* text = script(call)) {
            char* copy = new char[std::strlen(text) + 1];
            std::strcpy(copy, text);
            delete[] *xml;
            *xml = copy;
        }
        return Ret(0);
    }
    void setSnapshots(TarnellSystem* current, TarnellSystem* old)
    {
        currentSys = current;
        oldSys = old;
    }
};

// The monitor's waits: both clocks move on by the time asked, then the
// test's hook runs, and the monitor stops once stopAfter waits are done.
struct Waits {
    static inline int count = 0;
    static inline int stopAfter = -1;
    static inline TarnellRaidMonitor* monitor = nullptr;
    static inline std::function<void(int)> hook;

    static void sleep(long milliSec)
    {
        const uint32_t seconds = static_cast<uint32_t>(milliSec / 1000);
        monitortest::FixedClock::advance(static_cast<time_t>(seconds));
        tarnellsim::advanceClock(seconds);
        ++count;
        if (hook)
            hook(count);
        if (monitor && stopAfter >= 0 && count >= stopAfter)
            monitor->stop();
    }
};

class TarnellMonitorTest : public ::testing::Test {
protected:
    TarnellMonitorTest()
    {
        tarnellsim::reset();
        TarnellEvents::resetForTest();
        TarnellLib::resetPollClocksForTest();
        monitortest::writeFile(dir.libDir + "RaidNLS.properties",
                               testsupport::readFile(std::string(MONITOR_TEST_DATA) + "/MonitorTest.properties") +
                                   testsupport::readFile(std::string(TARNELL_MONITOR_TEST_DATA) +
                                                         "/TarnellMonitorTest.properties"));
        mkdir(dir.logDir().c_str(), 0755);
        previousSleep = BaseRaidMonitor::setSleepForTest(&Waits::sleep);
        Waits::count = 0;
        Waits::stopAfter = -1;
        Waits::hook = nullptr;
        lib.reset(new ScriptedLib);
    }
    ~TarnellMonitorTest() override
    {
        Waits::monitor = nullptr;
        Waits::hook = nullptr;
        monitor.reset();
        lib.reset();
        BaseRaidMonitor::setSleepForTest(previousSleep);
    }

    // A new monitor over lib; its constructor's wait is not counted.
    TarnellRaidMonitor& makeMonitor()
    {
        monitor.reset(new TarnellRaidMonitor(lib.get(), dir.logDir()));
        Waits::monitor = monitor.get();
        Waits::count = 0;
        return *monitor;
    }
    // start() on this thread, stopped after the given number of waits.
    void runFor(int waits)
    {
        Waits::stopAfter = Waits::count + waits;
        monitor->start();
    }
    // Runs the start-up comparison alone, then stores the snapshot.
    void startUp(bool store = true)
    {
        monitor->running = true;
        monitor->tarnellEventPersistence();
        if (store)
            monitor->writeXML();
        monitor->running = false;
    }
    std::vector<NRMEvent> takeEvents() { return monitor->getEvents(0); }
    std::string snapshotPath() const { return dir.libDir + "WATCHTARNELLConfig.xml"; }
    bool snapshotExists() const
    {
        struct stat info;
        return stat(snapshotPath().c_str(), &info) == 0;
    }
    // The adapters of the library's current configuration.
    std::vector<Adapter*> currentAdapters()
    {
        std::vector<Adapter*> adapters;
        if (System* system = lib->getCurrentSystem())
            for (unsigned long k = 0; k < system->getNumAdapters(); ++k)
                adapters.push_back(system->getAdapter(k));
        return adapters;
    }

    monitortest::MonitorDir dir;
    std::unique_ptr<ScriptedLib> lib;
    std::unique_ptr<TarnellRaidMonitor> monitor;

private:
    BaseRaidMonitor::SleepFunction previousSleep = nullptr;
};

// One "RaidEvent" element with the attributes given as name="value" text.
inline std::string raidEvent(const std::string& attributes) { return "<RaidEvent " + attributes + " />\n"; }

} // namespace tarnelltest

#endif
