// KRNA_StorageVolume and KRNA_DiskDrive enumerated through the test CIM
// broker, as a CIM server asks libkrnacim for them, over 16 full simulated
// Tarnell controllers (8 logical drives and 64 disks each: 128 volumes,
// 1,024 drives; the Qorl and Pelm families hold no controller). Warm: every request finds the Tarnell family's 180-second
// cache fresh. Cold: the framework's clock moves 180 seconds before each
// request, so each one reads the whole configuration again. Each runs with
// the module's log written (into the benchmark's own directory) and with its
// lines dropped. Reports the time of one enumeration and per instance.
//
// The program links the simulated libtarnellapi.so, so the core's dlopen
// finds this copy, and the family stand-ins, whose simulations it sets.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "BenchCimModule.h"
#include "BenchMain.h"
#include "TarnellSim.h"

namespace {

const unsigned CONTROLLERS = 16;

// The broker with the module over the full controllers.
cimbroker::Broker& broker()
{
    static cimbroker::Broker& b = (tarnellsim::reset(tarnellsim::fullScenario(CONTROLLERS)), moduleBroker());
    return b;
}

// Points the module's log into the current directory, or nowhere.
void setLogs(bool written)
{
    char dir[4096];
    setModuleLogDirectory(written && getcwd(dir, sizeof dir) ? dir : "/nonexistent-krna-logs");
}

// One enumeration of the class per iteration; expected instances.
void enumerateClass(benchmark::State& state, const char* cls, size_t expected)
{
    const bool cold = state.range(0) != 0;
    cimbroker::Broker& b = broker(); // the scenario set before the module sees it
    setLogs(state.range(1) != 0);
    std::vector<cimbroker::Inst> instances;
    b.enumerateInstances("root/krna", cls, instances); // load and first use
    for (auto _ : state) {
        if (cold)
            benchNow() += 180ull * 1000000ull;
        instances.clear();
        if (!b.enumerateInstances("root/krna", cls, instances).ok()) {
            state.SkipWithError("the enumeration failed");
            break;
        }
    }
    if (instances.size() != expected)
        state.SkipWithError("not every instance was enumerated");
    state.counters["instances"] = static_cast<double>(instances.size());
    // Seconds per instance and enumeration.
    state.counters["per_instance"] = benchmark::Counter(static_cast<double>(instances.size()),
                                                        benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
}

void BM_EnumerateVolumes(benchmark::State& state) { enumerateClass(state, "KRNA_StorageVolume", CONTROLLERS * 8); }
void BM_EnumerateDiskDrives(benchmark::State& state) { enumerateClass(state, "KRNA_DiskDrive", CONTROLLERS * 64); }

// Arguments: cold (0 warm, 1 cold), log written (1) or dropped (0).
void modes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"cold", "log"})->Args({0, 1})->Args({1, 1})->Args({0, 0})->Args({1, 0})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_EnumerateVolumes)->Apply(modes);
BENCHMARK(BM_EnumerateDiskDrives)->Apply(modes);

} // namespace

int main(int argc, char** argv) { return runBenchmarksInOwnDirectory(argc, argv, "tarnell-cim-bench"); }
