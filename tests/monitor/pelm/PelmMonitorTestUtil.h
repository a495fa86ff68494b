#ifndef TESTS_MONITOR_PELM_PELMMONITORTESTUTIL_H
#define TESTS_MONITOR_PELM_PELMMONITORTESTUTIL_H

// The Pelm monitor over our Pelm library and its simulated controllers, in
// the test's own library directory with the test catalogue, the fixed clock
// and the fake sleep (MonitorDir).

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MonitorFixture.h"
#include "PelmLib.h"
#include "PelmSim.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "external/pelmcore/PelmTestSupport.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/pelm/PelmRaidMonitor.h"

namespace pelmmonitortest {

using namespace monitortest;

// A compact form of an event: "id/severity key(object) at a/l/c/d".
inline std::string brief(const NRMEvent& e)
{
    const std::string key = e.text.substr(0, e.text.find('['));
    auto id = [](uint32_t n) { return n == STORID_UNDEFINED ? std::string("-") : std::to_string(n); };
    return std::to_string(e.eventId) + "/" + std::to_string(e.severity) + " " + key + " at " +
           id(e.address.getAdapterID()) + "/" + id(e.address.getLogicalDriveID()) + "/" +
           id(e.address.getChannelID()) + "/" + id(e.address.getDeviceID());
}

inline std::vector<std::string> brief(const std::vector<NRMEvent>& events)
{
    std::vector<std::string> out;
    for (const NRMEvent& e : events)
        out.push_back(brief(e));
    return out;
}

// The events whose id is one of ids, in order.
inline std::vector<NRMEvent> only(const std::vector<NRMEvent>& events, const std::vector<int>& ids)
{
    std::vector<NRMEvent> out;
    for (const NRMEvent& e : events) {
        for (int id : ids) {
            if (e.eventId == id)
                out.push_back(e);
        }
    }
    return out;
}

// The scripted change of the simulation between two constructions or polls.
using Change = std::function<void(pelmsim::Scenario&)>;

class PelmMonitorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pelmsim::reset();
        dir.installCatalogue(testCatalogue());
        lib.reset(new PelmLib);
    }
    void TearDown() override
    {
        monitor.reset();
        lib.reset();
        pelmsim::reset();
    }

    // A new monitor (the one before is deleted first).
    PelmRaidMonitor& make()
    {
        monitor.reset();
        monitor.reset(new PelmRaidMonitor(lib.get()));
        return *monitor;
    }
    // The scenario as it is, changed.
    static void change(const Change& edit)
    {
        pelmsim::Scenario s = pelmsim::current();
        edit(s);
        pelmsim::reset(s);
    }
    std::vector<NRMEvent> poll(int mode)
    {
        monitor->poll(mode, *monitor->eventQueue);
        return monitor->getEvents(0);
    }
    // The first poll of a run, after the events of construction are taken.
    std::vector<NRMEvent> startUp() { return poll(BaseRaidMonitor::CHECK_CONFIG); }
    std::vector<NRMEvent> comparePoll() { return poll(BaseRaidMonitor::COMPARE_CONFIG); }
    static size_t configReads() { return pelmsim::calls("getSystemConfig").size(); }

    PelmAdapter* liveAdapter(size_t index) { return monitor->currentAdapterList.at(index).adapter; }
    LogicalDrive* liveLogical(size_t adapter, STORID_T logicalDrive)
    {
        return dynamic_cast<LogicalDrive*>(
            liveAdapter(adapter)->getObject(pelmtest::logicalAddr(liveAdapter(adapter)->getAdapterID(), logicalDrive)));
    }

    MonitorDir dir;
    std::unique_ptr<PelmLib> lib;
    std::unique_ptr<PelmRaidMonitor> monitor;
};

} // namespace pelmmonitortest

#endif
