#include "LegacyRaidTest.h"

namespace legacytest {

void LegacyRaidTest::resetWith(int adapter, const std::function<void(tarnellsim::Controller&)>& edit)
{
    tarnellsim::Scenario scenario = tarnellsim::defaultScenario();
    for (tarnellsim::Controller& c : scenario.controllers) {
        if (c.number == adapter)
            edit(c);
    }
    tarnellsim::reset(scenario);
}

std::vector<std::string> LegacyRaidTest::callNames()
{
    std::vector<std::string> names;
    for (const tarnellsim::Call& c : tarnellsim::calls())
        names.push_back(c.name);
    return names;
}

std::vector<long long> LegacyRaidTest::argsOf(const std::string& entry)
{
    const std::vector<tarnellsim::Call> calls = tarnellsim::calls(entry);
    EXPECT_FALSE(calls.empty()) << entry;
    return calls.empty() ? std::vector<long long>{} : calls.back().args;
}

} // namespace legacytest
