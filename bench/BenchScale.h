#ifndef BENCH_BENCHSCALE_H
#define BENCH_BENCHSCALE_H

// Controller counts from the environment and the exponent of a benchmark's
// growth over them.
//
// A benchmark registered with ->Apply(controllers<1, 16>) runs over the
// counts of TARNELL_SCALE_CONTROLLERS (numbers separated by commas or
// blanks, e.g. "8,16,32,64") when that is set, else over its own. The
// ScaleReporter prints the results as the console does and then, for every
// benchmark run over two counts or more, the exponent of a least-squares fit
// of log(time per call) over log(controllers): 1 is linear growth, 2
// quadratic. Manual-time benchmarks are fitted on their manual time, the
// others on their CPU time; with repetitions, on the median of each count.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

// The counts of TARNELL_SCALE_CONTROLLERS; empty when it is not set or holds
// no positive number.
inline std::vector<int64_t> scaleControllerCounts()
{
    std::vector<int64_t> counts;
    const char* text = std::getenv("TARNELL_SCALE_CONTROLLERS");
    while (text && *text) {
        char* end = nullptr;
        const long n = std::strtol(text, &end, 10);
        if (end == text) {
            ++text;
            continue;
        }
        if (n > 0)
            counts.push_back(n);
        text = end;
    }
    return counts;
}

template <int... Defaults>
void controllers(benchmark::internal::Benchmark* b)
{
    std::vector<int64_t> counts = scaleControllerCounts();
    if (counts.empty())
        counts = {Defaults...};
    for (int64_t n : counts)
        b->Arg(n);
}

class ScaleReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const auto n = run.counters.find("controllers");
            if (n == run.counters.end())
                continue;
            const bool manual = run.run_name.time_type.find("manual") != std::string::npos;
            const double seconds = (manual ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime()) /
                                   benchmark::GetTimeUnitMultiplier(run.time_unit);
            Family& family = families[run.run_name.function_name];
            if (family.order == 0)
                family.order = ++familyCount;
            family.seconds[static_cast<int64_t>(n->second.value)].push_back(seconds);
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::vector<std::pair<int, std::string>> order;
        for (const auto& entry : families)
            order.emplace_back(entry.second.order, entry.first);
        std::sort(order.begin(), order.end());
        for (const auto& entry : order)
            printExponent(entry.second, families[entry.second]);
    }

private:
    struct Family {
        int order = 0;
        std::map<int64_t, std::vector<double>> seconds; // by controller count
    };

    static double median(std::vector<double> values)
    {
        std::sort(values.begin(), values.end());
        const size_t half = values.size() / 2;
        return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
    }

    void printExponent(const std::string& name, const Family& family)
    {
        if (family.seconds.size() < 2)
            return;
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        std::string times;
        for (const auto& entry : family.seconds) {
            const double seconds = median(entry.second);
            const double x = std::log(static_cast<double>(entry.first)), y = std::log(seconds);
            sx += x;
            sy += y;
            sxx += x * x;
            sxy += x * y;
            char one[64];
            std::snprintf(one, sizeof one, "%s%lld: %.4g ms", times.empty() ? "" : ", ",
                          static_cast<long long>(entry.first), seconds * 1e3);
            times += one;
        }
        const double k = static_cast<double>(family.seconds.size());
        const double exponent = (k * sxy - sx * sy) / (k * sxx - sx * sx);
        char line[128];
        std::snprintf(line, sizeof line, "%s: exponent %.2f over %lld to %lld controllers", name.c_str(), exponent,
                      static_cast<long long>(family.seconds.begin()->first),
                      static_cast<long long>(family.seconds.rbegin()->first));
        GetOutputStream() << line << " (" << times << ")" << std::endl;
    }

    std::map<std::string, Family> families;
    int familyCount = 0;
};

#endif
