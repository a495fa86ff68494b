// How the provider module's enumerations grow with the configuration:
// KRNA_StorageVolume, KRNA_DiskDrive, KRNA_StorageVolumeBasedOnStorageExtent
// and every class of libkrnacim's providers but the indication provider, one
// after the other, through the test CIM broker, over 8, 16, 32 and 64 full
// simulated Tarnell controllers (8 logical drives of 8 chunks and 64 disks
// each), or the counts of TARNELL_SCALE_CONTROLLERS (BenchScale.h), which
// also prints the exponent of each enumeration's growth. Warm: every request
// finds the Tarnell family's cache fresh; the module's log is dropped (no
// "logs/" directory), as in cim_bench's second mode.
//
// The program links the simulated libtarnellapi.so, so the core's dlopen
// finds this copy, and the family stand-ins, whose simulations it sets.

#include <benchmark/benchmark.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include <cimple/Provider.h>

#include "BenchCimModule.h"
#include "BenchMain.h"
#include "BenchScale.h"
#include "TarnellSim.h"

namespace {

const char* const ALL_CLASSES = "all classes";

// The classes of the module's providers in registration order, but the
// indication providers', whose classes are not enumerated.
std::vector<std::string> inventoryClasses()
{
    std::vector<std::string> classes;
    void* module = dlopen(KRNACIM_MODULE, RTLD_NOW | RTLD_NOLOAD);
    auto entry = module ? reinterpret_cast<cimple::Module* (*)()>(dlsym(module, "cimple_module")) : nullptr;
    const std::string suffix = "_Provider";
    for (cimple::Registration* r = entry ? entry()->registrations : nullptr; r; r = r->next) {
        const std::string name = r->provider_name;
        if (r->kind != cimple::Registration::INDICATION && name.size() > suffix.size())
            classes.push_back(name.substr(0, name.size() - suffix.size()));
    }
    if (module)
        dlclose(module);
    return classes;
}

// The simulated controllers the module reads: `controllers` full ones, read
// into the family cache by one request (the clock moved past the cache's
// 180 seconds) before the warm ones are measured.
void useControllers(unsigned controllers)
{
    static unsigned current = 0;
    if (current == controllers)
        return;
    tarnellsim::reset(tarnellsim::fullScenario(controllers));
    benchNow() += 181ull * 1000000ull;
    std::vector<cimbroker::Inst> warmUp;
    moduleBroker().enumerateInstances("root/krna", "KRNA_ControllerComputerSystem", warmUp);
    current = controllers;
}

// The instances of the classes, enumerated one after the other; false when
// one of them fails.
bool enumerateAll(const std::vector<std::string>& classes, size_t& instances)
{
    instances = 0;
    std::vector<cimbroker::Inst> out;
    for (const std::string& cls : classes) {
        out.clear();
        if (!moduleBroker().enumerateInstances("root/krna", cls, out).ok())
            return false;
        instances += out.size();
    }
    return true;
}

// What the module's diagnostics providers print on the standard output while
// they enumerate goes to /dev/null; the benchmark's table does not.
class QuietStdout {
public:
    QuietStdout()
    {
        fflush(stdout);
        saved = dup(STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            close(null);
        }
    }
    ~QuietStdout()
    {
        fflush(stdout);
        if (saved >= 0) {
            dup2(saved, STDOUT_FILENO);
            close(saved);
        }
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved = -1;
};

void enumerate(benchmark::State& state, std::string name)
{
    const unsigned controllers = static_cast<unsigned>(state.range(0));
    QuietStdout quiet;
    setModuleLogDirectory("/nonexistent-krna-logs");
    useControllers(controllers);
    static const std::vector<std::string> all = inventoryClasses();
    const std::vector<std::string> classes = name == ALL_CLASSES ? all : std::vector<std::string>{name};
    size_t instances = 0;
    enumerateAll(classes, instances); // the providers loaded, the tree of this size used once
    for (auto _ : state) {
        if (!enumerateAll(classes, instances)) {
            state.SkipWithError("an enumeration failed");
            return;
        }
    }
    state.counters["controllers"] = controllers;
    state.counters["classes"] = static_cast<double>(classes.size());
    state.counters["instances"] = static_cast<double>(instances);
    // Seconds per instance and enumeration.
    state.counters["per_instance"] = benchmark::Counter(
        static_cast<double>(instances), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

int main(int argc, char** argv)
{
    for (const std::string name :
         {"KRNA_StorageVolume", "KRNA_DiskDrive", "KRNA_StorageVolumeBasedOnStorageExtent", ALL_CLASSES}) {
        const std::string title = "BM_Enumerate/" + (name == ALL_CLASSES ? std::string("AllClasses") : name);
        benchmark::RegisterBenchmark(title.c_str(), enumerate, name)
            ->Apply(controllers<8, 16, 32, 64>)
            ->Unit(benchmark::kMillisecond);
    }
    ScaleReporter reporter;
    return runBenchmarksInOwnDirectory(argc, argv, "tarnell-cim-scale-bench", &reporter);
}
