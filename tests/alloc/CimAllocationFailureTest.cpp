// Allocation failures, one per run, swept over an enumeration of the
// storage volumes of the three simulated families through the provider
// module, as a CIM server drives it: every run reads the configurations
// again (their cache has grown stale). The answer is the whole enumeration,
// or a failed request; no run crashes or leaks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FailingAllocator.h"
#include "ModuleTestSupport.h"
#include "SweepPoints.h"

using namespace cimbroker;

namespace {

std::vector<std::string> texts(const std::vector<Inst>& instances)
{
    std::vector<std::string> out;
    for (const Inst& i : instances)
        out.push_back(mofText(i));
    return out;
}

// Older than the builders' 180-second cache.
void letTheCacheGrowStale() { moduletest::now() += 181ull * 1000000ull; }

} // namespace

class CimAllocationFailure : public moduletest::ModuleTest {};

TEST_F(CimAllocationFailure, EnumerationIsWholeOrFails)
{
    const char* const cls = "KRNA_StorageVolume";
    std::vector<Inst> out;
    ASSERT_TRUE(broker->enumerateInstances(moduletest::NS, cls, out).ok());
    const std::vector<std::string> expected = texts(out);
    ASSERT_FALSE(expected.empty());

    letTheCacheGrowStale();
    out.clear();
    allocfail::startCount();
    ASSERT_TRUE(broker->enumerateInstances(moduletest::NS, cls, out).ok());
    const unsigned long total = allocfail::count();

    int faults = 0;
    int failedRuns = 0;
    for (unsigned long n : allocfail::sweepPoints(total, 200)) {
        if (faults >= 5)
            break;
        letTheCacheGrowStale();
        out.clear();
        allocfail::failAt(n);
        const Status st = broker->enumerateInstances(moduletest::NS, cls, out);
        failedRuns += allocfail::disarm();
        if (st.ok() && texts(out) != expected) {
            ADD_FAILURE() << "allocation " << n << ": " << out.size() << " of " << expected.size()
                          << " instances, or other ones, with success";
            ++faults;
        } else if (!st.ok() && st.rc != CMPI_RC_ERR_FAILED) {
            ADD_FAILURE() << "allocation " << n << ": " << rcName(st.rc) << " " << st.msg;
            ++faults;
        }
    }
    EXPECT_GT(failedRuns, 0);
}
