// The monitor over simulated full controllers (4 channels of 16 disks, 8
// logical drives each): 1 and 16 of them, or the counts of
// TARNELL_SCALE_CONTROLLERS (BenchScale.h).
//
// The configuration snapshot: NRMConfigBuilder's build plus writeXML of the
// live tree (the snapshot a monitor stores after a pass) and its readXML of
// the file written (the snapshot a monitor reads at its start). Reports the
// time of one call and the time per snapshot object, which stays flat when
// the cost grows linearly with the configuration.
//
// One idle cycle of TestRaidMonitor (the monitor of the tests): the rules of
// every controller comparing the live tree with the previous one, both
// unchanged, so no event is raised and nothing is refreshed; then the
// reading of "NRMConfig.conf", the queue's capacity and the debug level, as
// each cycle of a poll loop ends. Reports the time of one cycle and the
// time per controller.
//
// One poll cycle of the Tarnell monitor (TarnellRaidMonitor) with nothing
// changing, averaged over a simulated minute of 60 cycles: each cycle asks
// the library for the events of every controller, and the library's own
// throttled poll rebuilds and compares the configuration every 15 seconds
// and checks for changes every 5, while the monitor stores its snapshot
// every fifth cycle; all in proportion. The monitor's one-second pauses
// move a simulated clock instead of waiting. Reports the CPU time of one
// cycle (the start-up comparison before the minute is left out).
//
// The program links the simulated libtarnellapi.so, so the core's dlopen finds
// this copy and the scenario can be set through its control interface; and
// libwatchtarnell, the monitor library of the Tarnell family.

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>
#include <vector>

#include "BenchMain.h"
#include "BenchScale.h"
#include "BenchMonitorDir.h"
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "TarnellSim.h"
#include "TestRaidMonitor.h"
#include "RaidLib/Util/Date.h"
#include "monitor/tarnell/TarnellRaidMonitor.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMProgress.h"
#include "monitor/NRMSystem.h"

namespace {

const char* const SNAPSHOT_FILE = "WATCHTARNELLConfig.xml";

// The snapshot objects of the builder's tree, the root included.
size_t objectCount(const NRMConfigBuilder& builder)
{
    if (!builder.nrmSystem)
        return 0;
    std::vector<RaidObject*> all;
    builder.nrmSystem->getChildren(all, true, true);
    return all.size() + 1;
}

void setCounters(benchmark::State& state, unsigned controllers, size_t objects, unsigned long adapters)
{
    if (adapters != controllers)
        state.SkipWithError("not every controller is in the snapshot");
    state.counters["controllers"] = controllers;
    state.counters["objects"] = static_cast<double>(objects);
    // Seconds per snapshot object and call.
    state.counters["per_object"] = benchmark::Counter(
        static_cast<double>(objects), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_SnapshotBuildWrite(benchmark::State& state)
{
    const unsigned controllers = static_cast<unsigned>(state.range(0));
    tarnellsim::reset(tarnellsim::fullScenario(controllers));
    TarnellLib lib;
    System* live = lib.getNewSystem();
    NRMProgressCollection tasks;
    NRMConfigBuilder builder(SNAPSHOT_FILE);
    for (auto _ : state) {
        builder.build(live, &tasks);
        builder.writeXML();
    }
    builder.build(live, &tasks);
    setCounters(state, controllers, objectCount(builder), builder.nrmSystem->getNumAdapters());
}

void BM_SnapshotRead(benchmark::State& state)
{
    const unsigned controllers = static_cast<unsigned>(state.range(0));
    tarnellsim::reset(tarnellsim::fullScenario(controllers));
    TarnellLib lib;
    NRMProgressCollection tasks;
    NRMConfigBuilder builder(SNAPSHOT_FILE);
    builder.build(lib.getNewSystem(), &tasks);
    builder.writeXML();
    for (auto _ : state)
        builder.readXML();
    setCounters(state, controllers, objectCount(builder), builder.nrmSystem->getNumAdapters());
}

void BM_MonitorIdleCycle(benchmark::State& state)
{
    const unsigned controllers = static_cast<unsigned>(state.range(0));
    tarnellsim::reset(tarnellsim::fullScenario(controllers));
    MonitorDirectory directory(MONITOR_CATALOGUE, "libwatchtarnell.so");
    TarnellLib lib;
    TestRaidMonitor monitor(&lib, "./");
    NRMEventCollection& events = *monitor.eventQueue;
    // Two reads of the same configuration: the previous tree and the live one.
    lib.getSystemConfig();
    RefSystem previous(lib.getSystem());
    lib.getSystemConfig();
    System* live = lib.getSystem();
    for (auto _ : state) {
        monitor.compareSystems(events, live, previous.getSystem());
        monitor.readConfig();
        events.setMaxSize(monitor.eventQueueSize);
        monitor.setDebugFlag(static_cast<EnumDebugNRM>(monitor.debugMask));
    }
    if (live->getNumAdapters() != controllers)
        state.SkipWithError("not every controller is in the configuration");
    if (events.getNumberOfEvents() != 0)
        state.SkipWithError("an idle cycle raised events");
    state.counters["controllers"] = controllers;
    state.counters["per_controller"] = benchmark::Counter(
        controllers, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The simulated minute of BM_TarnellMonitorMinute: the clock its pauses
// move, and the thread CPU time at its first and last counted pause.
struct MinuteRun {
    static inline time_t now = 0;
    static inline TarnellRaidMonitor* monitor = nullptr;
    static inline int waits = 0;
    static inline double firstCpu = 0, lastCpu = 0;
    static const int CYCLES = 60;

    static time_t clock() { return now; }
    static double cpuSeconds()
    {
        timespec t;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
    }
    static void sleep(long milliSec)
    {
        const uint32_t seconds = static_cast<uint32_t>(milliSec / 1000);
        now += seconds;
        tarnellsim::advanceClock(seconds);
        if (!monitor)
            return;
        // From the pause of the first cycle to that of the 61st: 60 whole
        // cycles, snapshots included.
        ++waits;
        if (waits == 1)
            firstCpu = cpuSeconds();
        if (waits == CYCLES + 1) {
            lastCpu = cpuSeconds();
            monitor->stop();
        }
    }
};

void BM_TarnellMonitorMinute(benchmark::State& state)
{
    const unsigned controllers = static_cast<unsigned>(state.range(0));
    tarnellsim::reset(tarnellsim::fullScenario(controllers));
    MonitorDirectory directory(MONITOR_CATALOGUE, "libwatchtarnell.so");
    MinuteRun::now = time(nullptr);
    const Date::ClockFn previousClock = Date::setClock(&MinuteRun::clock);
    const BaseRaidMonitor::SleepFunction previousSleep = BaseRaidMonitor::setSleepForTest(&MinuteRun::sleep);
    {
        TarnellLib lib;
        TarnellRaidMonitor monitor(&lib, "./");
        MinuteRun::monitor = &monitor;
        for (auto _ : state) {
            MinuteRun::waits = 0;
            monitor.start();
            state.SetIterationTime((MinuteRun::lastCpu - MinuteRun::firstCpu) / MinuteRun::CYCLES);
            monitor.getEvents(0);
        }
        MinuteRun::monitor = nullptr;
    }
    BaseRaidMonitor::setSleepForTest(previousSleep);
    Date::setClock(previousClock);
    state.counters["controllers"] = controllers;
}

BENCHMARK(BM_SnapshotBuildWrite)->Apply(controllers<1, 16>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotRead)->Apply(controllers<1, 16>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonitorIdleCycle)->Apply(controllers<1, 16>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TarnellMonitorMinute)
    ->Apply(controllers<1, 16>)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    ScaleReporter reporter;
    return runBenchmarksInOwnDirectory(argc, argv, "tarnell-monitor-bench", &reporter);
}
