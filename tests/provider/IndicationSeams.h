#ifndef TESTS_PROVIDER_INDICATIONSEAMS_H
#define TESTS_PROVIDER_INDICATIONSEAMS_H

// The alert-indication provider's seams for one test: the monitors' own
// directories with the test catalogue (MonitorDir: maps file, clock, sleep)
// and the module's sleep cut to a millisecond, each restored when the object
// dies.

#include <chrono>
#include <thread>

#include <cimple/Time.h>

#include "MonitorFixture.h"

namespace providertest {

class IndicationSeams {
public:
    IndicationSeams() : previousSleep(cimple::Time::set_sleep(&shortSleep))
    {
        monitorDir.installCatalogue(monitortest::testCatalogue());
    }
    ~IndicationSeams() { cimple::Time::set_sleep(previousSleep); }
    IndicationSeams(const IndicationSeams&) = delete;
    IndicationSeams& operator=(const IndicationSeams&) = delete;

private:
    static void shortSleep(cimple::uint64) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
    monitortest::MonitorDir monitorDir;
    cimple::Time::Sleep_Proc previousSleep;
};

} // namespace providertest

#endif
