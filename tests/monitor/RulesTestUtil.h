#ifndef TESTS_MONITOR_RULESTESTUTIL_H
#define TESTS_MONITOR_RULESTESTUTIL_H

// Helpers of the tests of the change-detection rules: a monitor over the
// test catalogue (whose event texts show the key and four parameters) with
// an event collection, events written as one line each, the expected lines
// built from the object an event is about, and the previous image of an
// adapter either live or stored as a snapshot and read back.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ModelBuilder.h"
#include "MonitorFixture.h"
#include "TestRaidMonitor.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMSystem.h"

namespace monitortest {

inline std::string idOrDash(uint32_t id)
{
    return id == static_cast<uint32_t>(NRM_UNSET) ? std::string("-") : std::to_string(id);
}

// What the tests compare of an event, in one line.
inline std::string rowOf(const NRMEvent& e)
{
    std::ostringstream s;
    const Addr& a = e.address;
    s << e.eventId << " sev " << e.severity << " '" << e.eventName << "' obj " << e.objectType << " A"
      << idOrDash(a.getAdapterID()) << " C" << idOrDash(a.getChannelID()) << " D" << idOrDash(a.getDeviceID())
      << " L" << idOrDash(a.getLogicalDriveID()) << " R" << idOrDash(a.getArrayID()) << " numbers "
      << idOrDash(static_cast<uint32_t>(e.logicalDriveNumber)) << '/' << idOrDash(static_cast<uint32_t>(e.fanNumber))
      << '/' << idOrDash(static_cast<uint32_t>(e.powerSupplyNumber)) << " fru '" << e.fruNumber << "' serial '"
      << e.deviceSerial << "' model '" << e.enclosureModel << "' adapter '" << e.adapterSerial << "' | " << e.text;
    return s.str();
}

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

// An expected event of the rules: what the constructor leaves unset stays
// unset, the rest is given.
struct ExpectedEvent {
    ExpectedEvent(int idIN, int severityIN, int objectTypeIN, Adapter* adapterIN, std::string textIN)
        : id(idIN),
          severity(severityIN),
          objectType(objectTypeIN),
          adapter(adapterIN->getAdapterID()),
          adapterSerial(adapterIN->getSerialNumString()),
          text(std::move(textIN))
    {
    }

    int id;
    int severity;
    int objectType;
    uint32_t adapter;
    std::string adapterSerial;
    std::string text;
    uint32_t channel = STORID_UNDEFINED;
    uint32_t device = STORID_UNDEFINED;
    uint32_t logical = STORID_UNDEFINED;
    std::string fru;
    std::string serial;

    std::string row() const
    {
        NRMEvent e(id, severity, text, eventName(id));
        e.objectType = objectType;
        e.address.setAdapterID(adapter);
        e.address.setChannelID(channel);
        e.address.setDeviceID(device);
        e.address.setLogicalDriveID(logical);
        e.adapterSerial = adapterSerial;
        e.fruNumber = fru;
        e.deviceSerial = serial;
        return rowOf(e);
    }
};

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
    std::vector<std::string> taken()
    {
        std::vector<std::string> rows;
        for (const NRMEvent& e : events.getAllEvents())
            rows.push_back(rowOf(e));
        return rows;
    }
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
        return ExpectedEvent(id, severity, NRM_OBJECT_ADAPTER, adapter, textOf(key, arguments)).row();
    }
    std::string driveRow(int id, int severity, const std::string& key, const std::vector<std::string>& arguments,
                         Adapter* adapter, HardDrive* drive)
    {
        ExpectedEvent e(id, severity, NRM_OBJECT_PHYSICAL_DRIVE, adapter, textOf(key, arguments));
        e.channel = drive->getChannel() ? drive->getChannel()->getChannelID() : STORID_UNDEFINED;
        e.device = drive->getDeviceID();
        e.fru = drive->getFruNumber();
        e.serial = drive->getSerialNumber();
        return e.row();
    }
    std::string logicalRow(int id, int severity, const std::string& key, const std::vector<std::string>& arguments,
                           Adapter* adapter, LogicalDrive* drive)
    {
        ExpectedEvent e(id, severity, NRM_OBJECT_LOGICAL_DRIVE, adapter, textOf(key, arguments));
        e.logical = drive->getLogicalDriveID();
        return e.row();
    }

    MonitorDir dir;
    std::unique_ptr<TestRaidMonitor> monitor;
    NRMEventCollection events{"", 1000, NRM_EVENT_TASK_RUNNING};
};

// The previous image of an adapter: the adapter itself (owned by a system
// of its own), or its copy in a snapshot written to a file and read back.
class OldSide {
public:
    OldSide(TestAdapter* adapter, bool stored) : builder_("old" + std::to_string(++count_) + ".xml")
    {
        system_.addChild(adapter);
        image_ = adapter;
        if (!stored)
            return;
        builder_.build(&system_, nullptr);
        builder_.writeXML();
        builder_.readXML();
        image_ = builder_.nrmSystem && builder_.nrmSystem->getNumAdapters() == 1 ? builder_.nrmSystem->getAdapter(0)
                                                                                : nullptr;
        EXPECT_NE(image_, nullptr) << "the snapshot holds the adapter";
    }
    Adapter* get() const { return image_; }

private:
    static inline int count_ = 0;
    NRMSystem system_{STORLIB_UNKNOWN};
    NRMConfigBuilder builder_;
    Adapter* image_ = nullptr;
};

// Both kinds of previous image, for the tables that run twice.
const bool OLD_SIDES[] = {false, true};

inline const char* sideName(bool stored) { return stored ? "old side stored" : "old side live"; }

} // namespace monitortest

#endif
