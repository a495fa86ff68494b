// The monitor over simulated full controllers (4 channels of 16 disks, 8
// logical drives each): 1 and 16 of them.
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
// The program links the simulated libtarnellapi.so, so the core's dlopen finds
// this copy and the scenario can be set through its control interface; and
// libwatchtarnell, the monitor library of the Tarnell family.

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "BenchMain.h"
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "TarnellSim.h"
#include "TestRaidMonitor.h"
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

// A monitor's own library directory "lib/" in the benchmark's directory,
// named by a maps file read in place of "/proc/self/maps", with the
// catalogue copied into it; its pauses do not wait.
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
                                     << "libwatchtarnell.so\n";
        previousMaps = BaseRaidMonitor::setMapsFileForTest(cwd + "/maps");
        previousSleep = BaseRaidMonitor::setSleepForTest(&noSleep);
    }
    ~MonitorDirectory()
    {
        BaseRaidMonitor::setMapsFileForTest(previousMaps);
        BaseRaidMonitor::setSleepForTest(previousSleep);
    }
    MonitorDirectory(const MonitorDirectory&) = delete;
    MonitorDirectory& operator=(const MonitorDirectory&) = delete;

private:
    static void noSleep(long) {}
    std::string previousMaps;
    BaseRaidMonitor::SleepFunction previousSleep;
};

void BM_MonitorIdleCycle(benchmark::State& state)
{
    const unsigned controllers = static_cast<unsigned>(state.range(0));
    tarnellsim::reset(tarnellsim::fullScenario(controllers));
    MonitorDirectory directory;
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

BENCHMARK(BM_SnapshotBuildWrite)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotRead)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonitorIdleCycle)->Arg(1)->Arg(16)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) { return runBenchmarksInOwnDirectory(argc, argv, "tarnell-monitor-bench"); }
