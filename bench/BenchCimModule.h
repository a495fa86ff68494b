#ifndef BENCH_BENCHCIMMODULE_H
#define BENCH_BENCHCIMMODULE_H

// libkrnacim in the test CIM broker, as the CIM benchmarks drive it: loaded
// once for the program, on the benchmark's own clock (the framework's clock
// seam), with the Qorl and Pelm families holding no controller. The Tarnell
// simulation is the benchmark's to set.

#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <string>

#include <cimple/Time.h>

#include "Broker.h"
#include "PelmSim.h"
#include "VeskSim.h"

// The framework's clock of the benchmark, in microseconds since 1970; the
// benchmark moves it.
inline std::atomic<cimple::uint64>& benchNow()
{
    static std::atomic<cimple::uint64> now{1714986000ull * 1000000ull};
    return now;
}

// The broker with the module loaded, made at the first call.
inline cimbroker::Broker& moduleBroker()
{
    static cimbroker::Broker* b = [] {
        vesksim::reset(vesksim::Scenario{});
        pelmsim::reset(pelmsim::Scenario{});
        cimple::Time::set_clock([]() -> cimple::uint64 { return benchNow().load(); });
        auto* created = new cimbroker::Broker();
        std::string error;
        if (!created->loadModule(KRNACIM_MODULE, &error))
            fprintf(stderr, "%s: %s\n", KRNACIM_MODULE, error.c_str());
        return created;
    }();
    return *b;
}

// Points every log of the module into dir (a directory that does not exist:
// the lines are dropped). Loads the module first, so the seam is there.
inline void setModuleLogDirectory(const char* dir)
{
    moduleBroker();
    void* module = dlopen(KRNACIM_MODULE, RTLD_NOW | RTLD_NOLOAD);
    auto seam = module ? reinterpret_cast<void (*)(const char*)>(dlsym(module, "krnaSetLogDirectory")) : nullptr;
    if (seam)
        seam(dir);
    if (module)
        dlclose(module);
}

#endif
