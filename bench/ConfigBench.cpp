// getSystemConfig of the Tarnell storage library over simulated full
// controllers (4 channels of 16 disks, 8 logical drives each): 1, 2, 4, 8 and
// 16 of them, or the counts of TARNELL_SCALE_CONTROLLERS (BenchScale.h).
// Reports the time of one call (build of the whole tree through the C API
// plus its XML document) and the time per model object, which stays flat
// when the cost grows linearly with the configuration.
//
// The program links the simulated libtarnellapi.so, so the core's dlopen finds
// this copy and the scenario can be set through its control interface.

#include <benchmark/benchmark.h>

#include <string>

#include "BenchMain.h"
#include "BenchScale.h"
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/System.h"
#include "TarnellSim.h"

namespace {

// The number of model objects in the tree, the system included.
size_t objectCount(System* system)
{
    if (!system)
        return 0;
    FilterCollection all(system);
    all.apply("RaidObject", false);
    return all.size();
}

void BM_GetSystemConfig(benchmark::State& state)
{
    const unsigned controllers = static_cast<unsigned>(state.range(0));
    tarnellsim::reset(tarnellsim::fullScenario(controllers));
    TarnellLib lib;
    char* xml = nullptr;
    size_t bytes = 0;
    for (auto _ : state) {
        Ret ret = lib.getSystemConfig(&xml);
        if (ret.getReturn() != Ret::SUCCESS) {
            state.SkipWithError("getSystemConfig failed");
            break;
        }
        bytes = xml ? std::char_traits<char>::length(xml) : 0;
        benchmark::DoNotOptimize(xml);
    }
    lib.freeBuffer(xml);
    const size_t objects = objectCount(lib.getSystem());
    if (lib.getNumAdapters() != controllers)
        state.SkipWithError("not every controller was built");
    state.counters["controllers"] = controllers;
    state.counters["objects"] = static_cast<double>(objects);
    state.counters["xml_bytes"] = static_cast<double>(bytes);
    // Seconds per model object and call.
    state.counters["per_object"] = benchmark::Counter(
        static_cast<double>(objects), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_GetSystemConfig)->Apply(controllers<1, 2, 4, 8, 16>)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    ScaleReporter reporter;
    return runBenchmarksInOwnDirectory(argc, argv, "tarnell-config-bench", &reporter);
}
