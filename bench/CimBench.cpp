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

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <vector>

#include <cimple/Time.h>

#include "BenchMain.h"
#include "Broker.h"
#include "PelmSim.h"
#include "TarnellSim.h"
#include "VeskSim.h"

namespace {

const unsigned CONTROLLERS = 16;

std::atomic<cimple::uint64> now{1714986000ull * 1000000ull};
cimple::uint64 benchClock() { return now.load(); }

// The broker with the module, set up once for the program.
cimbroker::Broker& broker()
{
    static cimbroker::Broker* b = [] {
        tarnellsim::reset(tarnellsim::fullScenario(CONTROLLERS));
        vesksim::reset(vesksim::Scenario{});
        pelmsim::reset(pelmsim::Scenario{});
        cimple::Time::set_clock(&benchClock);
        auto* created = new cimbroker::Broker();
        std::string error;
        if (!created->loadModule(KRNACIM_MODULE, &error))
            fprintf(stderr, "cim_bench: %s\n", error.c_str());
        return created;
    }();
    return *b;
}

// Points the module's log into the current directory, or nowhere.
void setLogs(bool written)
{
    void* module = dlopen(KRNACIM_MODULE, RTLD_NOW | RTLD_NOLOAD);
    auto seam = module ? reinterpret_cast<void (*)(const char*)>(dlsym(module, "krnaSetLogDirectory")) : nullptr;
    char dir[4096];
    if (seam)
        seam(written && getcwd(dir, sizeof dir) ? dir : "/nonexistent-krna-logs");
    if (module)
        dlclose(module);
}

// One enumeration of the class per iteration; expected instances.
void enumerateClass(benchmark::State& state, const char* cls, size_t expected)
{
    const bool cold = state.range(0) != 0;
    setLogs(state.range(1) != 0);
    std::vector<cimbroker::Inst> instances;
    broker().enumerateInstances("root/krna", cls, instances); // load and first use
    for (auto _ : state) {
        if (cold)
            now += 180ull * 1000000ull;
        instances.clear();
        if (!broker().enumerateInstances("root/krna", cls, instances).ok()) {
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
