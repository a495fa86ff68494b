// The Pelm monitor (libwatchpelm) over simulated full Pelm controllers (4
// channels of 16 disks, 8 logical drives each): 1 and 16 of them.
//
// One idle poll: every controller's event list fetched (nothing new), the
// task of every logical drive read, no refresh; then the reading of
// "NRMConfig.conf", the queue's capacity and the debug level, as each cycle
// of the poll loop ends. One refresh: the configuration read, the snapshot
// built with its device paths and written, and the comparison of the
// previous configuration with the new one (unchanged: no event), as the
// monitor does every 60 seconds. Both report the time of one call and the
// time per controller.
//
// The clock stands still, so only the refresh benchmark refreshes.

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "BenchMain.h"
#include "PelmLib.h"
#include "PelmSim.h"
#include "RaidLib/Util/Date.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/pelm/PelmRaidMonitor.h"

namespace {

// The monitor's own library directory "lib/" in the benchmark's directory,
// named by a maps file read in place of "/proc/self/maps", with the
// catalogue copied into it; its pauses do not wait and its clock stands.
class MonitorDirectory {
public:
    MonitorDirectory()
    {
        char here[4096];
        const std::string cwd = getcwd(here, sizeof here) ? here : ".";
        const std::string lib = cwd + "/lib/";
        mkdir(lib.c_str(), 0755);
        std::ofstream(lib + "RaidNLS.properties") << std::ifstream(MONITOR_CATALOGUE).rdbuf();
        std::ofstream(cwd + "/maps") << "7f3a1c000000-7f3a1c021000 r-xp 00000000 08:01 131 " << lib
                                     << "libwatchpelm.so\n";
        previousMaps = BaseRaidMonitor::setMapsFileForTest(cwd + "/maps");
        previousSleep = BaseRaidMonitor::setSleepForTest(&noSleep);
        previousClock = Date::setClock(&standingClock);
    }
    ~MonitorDirectory()
    {
        BaseRaidMonitor::setMapsFileForTest(previousMaps);
        BaseRaidMonitor::setSleepForTest(previousSleep);
        Date::setClock(previousClock);
    }
    MonitorDirectory(const MonitorDirectory&) = delete;
    MonitorDirectory& operator=(const MonitorDirectory&) = delete;

private:
    static void noSleep(long) {}
    static time_t standingClock() { return 1796767895; }
    std::string previousMaps;
    BaseRaidMonitor::SleepFunction previousSleep;
    Date::ClockFn previousClock;
};

void setCounters(benchmark::State& state, unsigned controllers, PelmRaidMonitor& monitor)
{
    if (monitor.getControllerCount() != static_cast<int>(controllers))
        state.SkipWithError("not every controller is in the configuration");
    if (monitor.eventQueue->getNumberOfEvents() != 0)
        state.SkipWithError("an unchanged configuration raised events");
    state.counters["controllers"] = controllers;
    state.counters["per_controller"] = benchmark::Counter(
        controllers, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A started monitor whose first refresh is done, its start-up events taken.
void startUp(PelmRaidMonitor& monitor)
{
    NRMEventCollection& events = *monitor.eventQueue;
    monitor.poll(BaseRaidMonitor::CHECK_CONFIG, events);
    monitor.poll(BaseRaidMonitor::COMPARE_CONFIG, events);
    monitor.getEvents(0);
}

void BM_PelmIdlePoll(benchmark::State& state)
{
    const unsigned controllers = static_cast<unsigned>(state.range(0));
    pelmsim::reset(pelmsim::fullScenario(controllers));
    MonitorDirectory directory;
    PelmLib lib;
    PelmRaidMonitor monitor(&lib, "./");
    startUp(monitor);
    NRMEventCollection& events = *monitor.eventQueue;
    for (auto _ : state) {
        monitor.poll(BaseRaidMonitor::COMPARE_CONFIG, events);
        monitor.readConfig();
        events.setMaxSize(monitor.eventQueueSize);
        monitor.setDebugFlag(static_cast<EnumDebugNRM>(monitor.debugMask));
    }
    if (pelmsim::calls("getSystemConfig").size() != 2)
        state.SkipWithError("an idle poll refreshed");
    setCounters(state, controllers, monitor);
}

void BM_PelmRefresh(benchmark::State& state)
{
    const unsigned controllers = static_cast<unsigned>(state.range(0));
    pelmsim::reset(pelmsim::fullScenario(controllers));
    MonitorDirectory directory;
    PelmLib lib;
    PelmRaidMonitor monitor(&lib, "./");
    startUp(monitor);
    NRMEventCollection& events = *monitor.eventQueue;
    for (auto _ : state) {
        // As when the 60 seconds have passed.
        monitor.firstRefresh = true;
        monitor.poll(BaseRaidMonitor::COMPARE_CONFIG, events);
    }
    setCounters(state, controllers, monitor);
}

BENCHMARK(BM_PelmIdlePoll)->Arg(1)->Arg(16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PelmRefresh)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return runBenchmarksInOwnDirectory(argc, argv, "pelm-monitor-bench"); }
