#ifndef BENCH_BENCHINTEMPDIR_H
#define BENCH_BENCHINTEMPDIR_H

// The main program of the benchmarks over the Tarnell library: the library
// writes its logs, and a monitor its snapshot, to the current directory, so
// the benchmarks run in a directory of their own, removed afterwards.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// Runs the registered benchmarks in a new directory /tmp/<name>.XXXXXX.
inline int runBenchmarksInTempDir(int argc, char** argv, const char* name)
{
    std::string dir = std::string("/tmp/") + name + ".XXXXXX";
    const bool moved = mkdtemp(&dir[0]) != nullptr && chdir(dir.c_str()) == 0;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (moved) {
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }
    return 0;
}

#endif
