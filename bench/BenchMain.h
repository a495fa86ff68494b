#ifndef BENCH_BENCHMAIN_H
#define BENCH_BENCHMAIN_H

// The main of a benchmark program over the core library, which writes its
// logs to the current directory: the benchmarks run in a directory of their
// own, removed afterwards.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// Runs the registered benchmarks in a fresh directory /tmp/<prefix>.XXXXXX,
// shown by the reporter given or else the console; 1 for unrecognised
// arguments.
inline int runBenchmarksInOwnDirectory(int argc, char** argv, const char* prefix,
                                       benchmark::BenchmarkReporter* display = nullptr)
{
    std::string dir = std::string("/tmp/") + prefix + ".XXXXXX";
    const bool moved = mkdtemp(&dir[0]) != nullptr && chdir(dir.c_str()) == 0;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks(display);
    benchmark::Shutdown();
    if (moved) {
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }
    return 0;
}

#endif
