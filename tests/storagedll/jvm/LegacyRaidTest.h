#ifndef TESTS_STORAGEDLL_LEGACYRAIDTEST_H
#define TESTS_STORAGEDLL_LEGACYRAIDTEST_H

// Support of the tests of the RAID natives: the controllers of the
// simulator's default scenario, scenarios with one controller edited, the
// call log.

#include <functional>
#include <string>
#include <vector>

#include "LegacyTest.h"
#include "TarnellSim.h"

namespace legacytest {

// The two controllers of the default scenario (C-API numbers).
const int CONTROLLER_A = 2;
const int CONTROLLER_B = 5;

class LegacyRaidTest : public LegacyNativeTest {
protected:
    // The default scenario with the controller of that C-API number edited.
    static void resetWith(int adapter, const std::function<void(tarnellsim::Controller&)>& edit);
    // The names of the calls since the last clearCalls, in order.
    static std::vector<std::string> callNames();
    // The scalar arguments of the only (or last) call of the entry point.
    static std::vector<long long> argsOf(const std::string& entry);
};

} // namespace legacytest

#endif
