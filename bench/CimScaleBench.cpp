// How the provider module's enumerations grow with the configuration:
// KRNA_StorageVolume, KRNA_DiskDrive, KRNA_StorageVolumeBasedOnStorageExtent
// and every inventory class of libkrnacim one after the other, through the
// test CIM broker, over N full simulated Tarnell controllers (8 logical
// drives of 8 chunks and 64 disks each) for each N of the environment's
// TARNELL_BENCH_CONTROLLERS (a comma-separated list, default "8,16,32,64").
// Warm: every request finds the Tarnell family's cache fresh; the module's
// log is dropped (no "logs/" directory), as in cim_bench's second mode.
//
// After the runs it prints, per class, the exponent of a least-squares fit of
// log(CPU time per enumeration) over log(controllers): 1 for a cost linear in
// the configuration, 2 for a quadratic one.
//
// The program links the simulated libtarnellapi.so, so the core's dlopen
// finds this copy, and the family stand-ins, whose simulations it sets.

#include <benchmark/benchmark.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <cimple/Provider.h>

#include "BenchCimModule.h"
#include "BenchMain.h"
#include "TarnellSim.h"

namespace {

const char* const ALL_CLASSES = "all classes";

// The controller counts of the environment, ascending and without repeats.
std::vector<unsigned> controllerCounts()
{
    const char* env = getenv("TARNELL_BENCH_CONTROLLERS");
    std::string text = env && *env ? env : "8,16,32,64";
    std::vector<unsigned> counts;
    for (size_t pos = 0; pos <= text.size();) {
        size_t comma = text.find(',', pos);
        if (comma == std::string::npos)
            comma = text.size();
        const unsigned long n = strtoul(text.substr(pos, comma - pos).c_str(), nullptr, 10);
        if (n > 0 && n <= 0xFFFF)
            counts.push_back(static_cast<unsigned>(n));
        pos = comma + 1;
    }
    std::sort(counts.begin(), counts.end());
    counts.erase(std::unique(counts.begin(), counts.end()), counts.end());
    return counts;
}

// The classes of the module's inventory providers, in registration order:
// every provider but the indication providers, whose classes are not
// enumerated.
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

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The runs of one benchmark: iterations and CPU seconds per enumeration of
// each call. Google Benchmark calls it with growing iteration counts until a
// run is long enough; that run, and each repetition of it, has the most.
struct Runs {
    std::vector<std::pair<benchmark::IterationCount, double>> calls;
    size_t instances = 0; // of one enumeration

    void add(benchmark::IterationCount iterations, double seconds) { calls.emplace_back(iterations, seconds); }
    // The seconds of the reported runs.
    std::vector<double> reported() const
    {
        benchmark::IterationCount most = 0;
        for (const auto& c : calls)
            most = std::max(most, c.first);
        std::vector<double> out;
        for (const auto& c : calls)
            if (c.first == most)
                out.push_back(c.second);
        return out;
    }
};

// By class and controller count.
std::map<std::string, std::map<unsigned, Runs>> measured;

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

void enumerate(benchmark::State& state, std::string name, unsigned controllers)
{
    QuietStdout quiet;
    setModuleLogDirectory("/nonexistent-krna-logs");
    useControllers(controllers);
    static const std::vector<std::string> all = inventoryClasses();
    const std::vector<std::string> classes = name == ALL_CLASSES ? all : std::vector<std::string>{name};
    size_t instances = 0;
    enumerateAll(classes, instances); // the providers loaded, the tree of this size used once
    const double start = threadSeconds();
    for (auto _ : state) {
        if (!enumerateAll(classes, instances)) {
            state.SkipWithError("an enumeration failed");
            return;
        }
    }
    const double seconds = threadSeconds() - start;
    if (state.iterations() > 0) {
        Runs& runs = measured[name][controllers];
        runs.add(state.iterations(), seconds / static_cast<double>(state.iterations()));
        runs.instances = instances;
    }
    state.counters["controllers"] = controllers;
    state.counters["classes"] = static_cast<double>(classes.size());
    state.counters["instances"] = static_cast<double>(instances);
    // Seconds per instance and enumeration.
    state.counters["per_instance"] = benchmark::Counter(
        static_cast<double>(instances), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The slope of the least-squares line through (log x, log y); NaN with fewer
// than two points.
double exponent(const std::map<unsigned, Runs>& times)
{
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    double n = 0;
    for (const auto& point : times) {
        const double x = std::log(static_cast<double>(point.first));
        const double y = std::log(median(point.second.reported()));
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
        n += 1;
    }
    if (n < 2)
        return NAN;
    return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

void printExponents(const std::vector<std::string>& order, const std::vector<unsigned>& counts)
{
    printf("\nExponent of the CPU time per enumeration over");
    for (size_t i = 0; i < counts.size(); i++)
        printf("%s%u", i ? (i + 1 == counts.size() ? " and " : ", ") : " ", counts[i]);
    printf(" controllers (log-log least squares over the medians of the repetitions),\n"
           "with the CPU time per enumeration and per instance at each count:\n");
    for (const std::string& name : order) {
        auto found = measured.find(name);
        if (found == measured.end())
            continue;
        printf("  %-40s %.2f ", name.c_str(), exponent(found->second));
        for (const auto& point : found->second) {
            const double seconds = median(point.second.reported());
            const size_t instances = std::max<size_t>(point.second.instances, 1);
            printf(" | %u: %.3g ms, %.3g us", point.first, seconds * 1e3, seconds * 1e6 / static_cast<double>(instances));
        }
        printf("\n");
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<unsigned> counts = controllerCounts();
    const std::vector<std::string> order = {"KRNA_StorageVolume", "KRNA_DiskDrive",
                                            "KRNA_StorageVolumeBasedOnStorageExtent", ALL_CLASSES};
    // By controller count first, so the scenario changes once per count.
    for (unsigned controllers : counts) {
        for (const std::string& name : order) {
            const std::string title = "BM_Enumerate/" + std::string(name == ALL_CLASSES ? "AllClasses" : name) +
                                      "/controllers:" + std::to_string(controllers);
            benchmark::RegisterBenchmark(title.c_str(), enumerate, name, controllers)
                ->Unit(benchmark::kMillisecond);
        }
    }
    const int status = runBenchmarksInOwnDirectory(argc, argv, "tarnell-cim-scale-bench");
    if (status == 0)
        printExponents(order, counts);
    return status;
}
