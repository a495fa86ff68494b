#ifndef TESTS_MONITOR_RULESTESTUTIL_H
#define TESTS_MONITOR_RULESTESTUTIL_H

// Helpers of the tests of the adapter, drive and logical-drive rules: a
// monitor over the test catalogue (whose texts of these events show the key
// and four parameters) with an event collection, the expected event rows
// built from the object an event is about, and the previous image of an
// adapter either live or stored as a snapshot and read back.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "EventRows.h"
#include "ModelBuilder.h"
#include "MonitorFixture.h"
#include "TestRaidMonitor.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMEventCollection.h"

namespace monitortest {

// The event names of the rules' events, by id.
inline std::string eventName(int id)
{
    static const std::map<int, std::string> names = {
        {202, "EVENT_TARNELL_STATE_FAILED"},
        {203, ""},
        {207, "EVENT_TARNELL_STATE_ADDED"},
        {208, "EVENT_TARNELL_STATE_REPLACED"},
        {210, "EVENT_TARNELL_VERSION_MISMATCH"},
        {211, ""},
        {213, "EVENT_TARNELL_CONTROLLER_OVERTEMP"},
        {214, ""},
        {215, "EVENT_TARNELL_CONTROLLER_BAD_STRIPES"},
        {216, ""},
        {217, ""},
        {299, "EVENT_TARNELL_STATE_CHANGE"},
        {301, "EVENT_TARNELL_LD_STATE_CRITICAL"},
        {302, "EVENT_TARNELL_LD_STATE_BLOCKED"},
        {303, "EVENT_TARNELL_LD_STATE_OFFLINE"},
        {331, "EVENT_TARNELL_CONFIGURATION_CHANGE_UNBLOCK"},
        {338, "EVENT_TARNELL_LD_STATE_CRITICAL_PERIODIC"},
        {345, "EVENT_TARNELL_LD_STATE_NORMAL"},
        {346, "EVENT_TARNELL_CONFIGURATION_CHANGE_ADD_LD"},
        {347, "EVENT_TARNELL_CONFIGURATION_CHANGE_DELETE_LD"},
        {399, "EVENT_TARNELL_STATE_CHANGE_LD"},
        {401, "EVENT_TARNELL_PD_STATE_FAILED"},
        {402, "EVENT_TARNELL_PD_PFA_ERROR_YES"},
        {403, "EVENT_TARNELL_PD_STATE_READY"},
        {404, "EVENT_TARNELL_PD_STATE_FAILED"},
        {405, "EVENT_TARNELL_PD_PFA_ERROR_YES"},
        {406, "EVENT_TARNELL_PD_DRV_UNSUPPORTED"},
        {407, "EVENT_TARNELL_CONFIGURATION_CHANGE_ADD_PD"},
        {408, "EVENT_TARNELL_CONFIGURATION_CHANGE_REMOVE_PD"},
        {497, "EVENT_TARNELL_PD_STATE_HOTSPARE"},
        {498, "EVENT_TARNELL_PD_STATE_READY"},
        {499, "EVENT_TARNELL_PD_STATE_CHANGE"},
    };
    const auto found = names.find(id);
    return found == names.end() ? "?" : found->second;
}

// The test catalogue's text of an event key: "key[p0|p1|p2|p3]".
inline std::string textOf(const std::string& key, const std::vector<std::string>& arguments)
{
    std::string text = key + "[";
    for (size_t i = 0; i < 4; ++i)
        text += (i ? "|" : "") + (i < arguments.size() ? arguments[i] : std::string());
    return text + "]";
}

// A monitor without a library over the test catalogue, and the collection
// its rules fill.
class RulesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.installCatalogue(testCatalogue());
        monitor = std::make_unique<TestRaidMonitor>(nullptr);
        monitor->recordHooks = true;
    }

    // The queued events as rows, taken out of the collection.
    std::vector<std::string> taken() { return lines(events.getAllEvents()); }
    std::vector<std::string> takenHooks()
    {
        std::vector<std::string> calls;
        calls.swap(monitor->hooks);
        return calls;
    }

    // Expected events about an adapter, a drive and a logical drive; the
    // adapter is the one the event names (in a comparison the new one).
    std::string adapterRow(int id, int severity, const std::string& key, const std::vector<std::string>& arguments,
                           Adapter* adapter)
    {
        return row(id, severity, NRM_OBJECT_ADAPTER, key, arguments, adapter)
            .at(adapter->getAdapterID(), STORID_UNDEFINED, STORID_UNDEFINED)
            .line();
    }
    std::string driveRow(int id, int severity, const std::string& key, const std::vector<std::string>& arguments,
                         Adapter* adapter, HardDrive* drive)
    {
        return row(id, severity, NRM_OBJECT_PHYSICAL_DRIVE, key, arguments, adapter)
            .at(adapter->getAdapterID(), drive->getChannel() ? drive->getChannel()->getChannelID() : STORID_UNDEFINED,
                drive->getDeviceID())
            .fru(drive->getFruNumber())
            .serial(drive->getSerialNumber())
            .line();
    }
    std::string logicalRow(int id, int severity, const std::string& key, const std::vector<std::string>& arguments,
                           Adapter* adapter, LogicalDrive* drive)
    {
        return row(id, severity, NRM_OBJECT_LOGICAL_DRIVE, key, arguments, adapter)
            .atLogical(adapter->getAdapterID(), drive->getLogicalDriveID())
            .line();
    }

    MonitorDir dir;
    std::unique_ptr<TestRaidMonitor> monitor;
    NRMEventCollection events{"", 1000, NRM_EVENT_TASK_RUNNING};

private:
    static EventRow row(int id, int severity, int objectType, const std::string& key,
                        const std::vector<std::string>& arguments, Adapter* adapter)
    {
        return EventRow(id, severity, eventName(id), objectType, textOf(key, arguments))
            .adapterSerialIs(adapter->getSerialNumString());
    }
};

// The previous image of an adapter, in a system of its own: the adapter
// itself, or its copy in a snapshot written to a file and read back.
class OldImage {
public:
    OldImage(TestAdapter* adapter, OldSide side) : builder_("old" + std::to_string(++count_) + ".xml")
    {
        system_.addChild(adapter);
        image_ = side == OldSide::LIVE ? adapter : storedAdapter(builder_, system_, adapter->getAdapterID());
        EXPECT_NE(image_, nullptr) << "the snapshot holds the adapter";
    }
    Adapter* get() const { return image_; }

private:
    static inline int count_ = 0;
    TestSystem system_;
    NRMConfigBuilder builder_;
    Adapter* image_ = nullptr;
};

} // namespace monitortest

#endif
