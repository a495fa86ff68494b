#ifndef TESTS_STORAGEDLL_LEGACYRAIDTEST_H
#define TESTS_STORAGEDLL_LEGACYRAIDTEST_H

// Support of the tests of the RAID natives: a StorageDLL object over the
// simulator's default scenario, addresses of its controllers, calls of
// StorRet natives, and scenarios with one controller edited.

#include <functional>
#include <string>
#include <vector>

#include "LegacyTest.h"
#include "TarnellSim.h"

namespace legacytest {

// The two controllers of the default scenario (C-API numbers).
const int CONTROLLER_A = 2;
const int CONTROLLER_B = 5;

// A local frame of its own for the references made inside a scope.
struct LocalFrame {
    explicit LocalFrame(jint capacity = 256) { EXPECT_EQ(0, env()->PushLocalFrame(capacity)); }
    ~LocalFrame() { env()->PopLocalFrame(nullptr); }
    LocalFrame(const LocalFrame&) = delete;
    LocalFrame& operator=(const LocalFrame&) = delete;
};

class LegacyRaidTest : public LegacyTest {
protected:
    void SetUp() override;

    // A StorAddr of the controller with these ids, the others 0.
    static jobject address(int adapter, int channel = 0, int device = 0, int virtDev = 0, int array = 0);
    // Calls the StorRet native with a new StorRet (its code set to 0x5A
    // first) before the arguments, and gives what the StorRet holds then.
    Result call(const std::string& name, const std::vector<jvalue>& args, const std::string& signature = "");
    // The default scenario with the controller of that C-API number edited.
    static void resetWith(int adapter, const std::function<void(tarnellsim::Controller&)>& edit);
    // The names of the calls since the last clearCalls, in order.
    static std::vector<std::string> callNames();
    // The scalar arguments of the only (or last) call of the entry point.
    static std::vector<long long> argsOf(const std::string& entry);
    // An AddrList holding addresses of these devices of the controller.
    static jobject deviceList(int adapter, const std::vector<std::pair<int, int>>& devices);

    jobject dll = nullptr;
};

} // namespace legacytest

#endif
