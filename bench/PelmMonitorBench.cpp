// The Pelm monitor (libwatchpelm) over simulated full Pelm controllers (4
// channels of 16 disks, 8 logical drives each): 1 and 16 of them, or the
// counts of TARNELL_SCALE_CONTROLLERS (BenchScale.h).
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

#include <cstdio>
#include <fstream>
#include <string>

#include "BenchMain.h"
#include "BenchScale.h"
#include "BenchMonitorDir.h"
#include "PelmLib.h"
#include "PelmSim.h"
#include "RaidLib/Util/Date.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/pelm/PelmRaidMonitor.h"

namespace {

// The monitor's snapshot in its library directory.
const char* const SNAPSHOT = "lib/WATCHPELMConfig.xml";

// The clock stands still while the object lives, but for moveOn.
class StandingClock {
public:
    StandingClock() : previous(Date::setClock(&now)) { time = 1796767895; }
    ~StandingClock() { Date::setClock(previous); }
    StandingClock(const StandingClock&) = delete;
    StandingClock& operator=(const StandingClock&) = delete;
    static void moveOn(time_t seconds) { time += seconds; }

private:
    static time_t now() { return time; }
    static inline time_t time = 0;
    Date::ClockFn previous;
};

// A started monitor over full controllers whose first refresh is done, its
// start-up events taken, in its own directory with a standing clock.
struct StartedMonitor {
    explicit StartedMonitor(unsigned controllers) : reset(controllers), monitor(&lib, "./")
    {
        // The monitor's second after it is made, so that its first refresh
        // counts as one.
        StandingClock::moveOn(1);
        monitor.poll(BaseRaidMonitor::CHECK_CONFIG, events());
        monitor.poll(BaseRaidMonitor::COMPARE_CONFIG, events());
        monitor.getEvents(0);
    }
    NRMEventCollection& events() { return *monitor.eventQueue; }

    struct Reset {
        explicit Reset(unsigned controllers) { pelmsim::reset(pelmsim::fullScenario(controllers)); }
    } reset;
    MonitorDirectory directory{MONITOR_CATALOGUE, "libwatchpelm.so"};
    StandingClock clock;
    PelmLib lib;
    PelmRaidMonitor monitor;
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

void BM_PelmIdlePoll(benchmark::State& state)
{
    const unsigned controllers = static_cast<unsigned>(state.range(0));
    StartedMonitor started(controllers);
    PelmRaidMonitor& monitor = started.monitor;
    NRMEventCollection& events = started.events();
    // Only a refresh writes the snapshot again. (The simulator keeps too few
    // calls to count configuration reads over this many polls.)
    std::remove(SNAPSHOT);
    for (auto _ : state) {
        monitor.poll(BaseRaidMonitor::COMPARE_CONFIG, events);
        monitor.readConfig();
        events.setMaxSize(monitor.eventQueueSize);
        monitor.setDebugFlag(static_cast<EnumDebugNRM>(monitor.debugMask));
    }
    if (std::ifstream(SNAPSHOT))
        state.SkipWithError("an idle poll refreshed");
    setCounters(state, controllers, monitor);
}

void BM_PelmRefresh(benchmark::State& state)
{
    const unsigned controllers = static_cast<unsigned>(state.range(0));
    StartedMonitor started(controllers);
    for (auto _ : state) {
        // As when the 60 seconds have passed.
        started.monitor.firstRefresh = true;
        started.monitor.poll(BaseRaidMonitor::COMPARE_CONFIG, started.events());
    }
    setCounters(state, controllers, started.monitor);
}

BENCHMARK(BM_PelmIdlePoll)->Apply(controllers<1, 16>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PelmRefresh)->Apply(controllers<1, 16>)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    ScaleReporter reporter;
    return runBenchmarksInOwnDirectory(argc, argv, "pelm-monitor-bench", &reporter);
}
