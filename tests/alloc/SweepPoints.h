#ifndef TESTS_ALLOC_SWEEPPOINTS_H
#define TESTS_ALLOC_SWEEPPOINTS_H

// The allocations a sweep fails, one per run: every one of a run of total
// allocations when there are at most limit of them, else limit points
// spread evenly over the run. Under ThreadSanitizer, whose runs are many
// times slower, a tenth of the points.

#include <vector>

namespace allocfail {

inline std::vector<unsigned long> sweepPoints(unsigned long total, unsigned long limit)
{
#if defined(__SANITIZE_THREAD__)
    limit = limit / 10 + 1;
#endif
    std::vector<unsigned long> points;
    const unsigned long step = total <= limit ? 1 : (total + limit - 1) / limit;
    for (unsigned long n = 1; n <= total; n += step)
        points.push_back(n);
    return points;
}

} // namespace allocfail

#endif
