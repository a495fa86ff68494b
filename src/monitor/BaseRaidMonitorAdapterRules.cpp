// The adapter rules: the state of an adapter the monitor sees for the first
// time, and the changes of an adapter against its previous image.
#include <string>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "monitor/BaseRaidMonitor.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMRuleEvent.h"

using namespace nrmevent;

namespace {

// The events of one rule call about one adapter. They share one argument
// list, which starts with the adapter's phrase when the first event is
// raised (so a comparison that raises nothing reads no catalogue) and which
// a step may lengthen for the events after it.
class AdapterEvents {
public:
    AdapterEvents(BaseRaidMonitor& monitor, NRMEventCollection& events, Adapter* adapter)
        : monitor_(monitor), events_(events), adapter_(adapter)
    {
    }

    std::vector<std::string>& arguments()
    {
        if (!started_) {
            arguments_.push_back(monitor_.getEventID(adapter_));
            started_ = true;
        }
        return arguments_;
    }

    // Raises the event; returns its text.
    std::string raise(const NRMEventDef& def, int severity)
    {
        std::string text = monitor_.catalogue.get(def.key, arguments());
        NRMEvent event = nrmrule::makeEvent(def, severity, text, adapter_);
        events_.addEvent(event);
        return text;
    }

    // Raises the event, then its state-change companion with the same text.
    void raiseWithCompanion(const NRMEventDef& def, int severity, int companionSeverity)
    {
        const std::string text = raise(def, severity);
        NRMEvent companion = nrmrule::makeEvent(ADAPTER_STATE_CHANGE, companionSeverity, text, adapter_);
        events_.addEvent(companion);
    }

private:
    BaseRaidMonitor& monitor_;
    NRMEventCollection& events_;
    Adapter* adapter_;
    std::vector<std::string> arguments_;
    bool started_ = false;
};

const char* textOf(const char* text) { return text ? text : ""; }

} // namespace

void BaseRaidMonitor::checkAdapter(NRMEventCollection& ecIN, Adapter* adapter)
{
    if (!adapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::checkAdapter adapterIN is NULL!!!\n");
        return;
    }
    logDebugGroup(NRM_DEBUG_TRACE, "   Entering checkAdapter(&ecIN, KRNA: %d)\n",
                  static_cast<int>(adapter->getAdapterID()));
    AdapterEvents events(*this, ecIN, adapter);
    const bool failed = adapter->getAdapterStatus() == CONTROLLER_STATUS_FAILED;
    events.raise(ADAPTER_STATE_CHANGE, failed ? NRM_EVENT_ERROR : NRM_EVENT_INFORMATION);
    if (failed) {
        events.raise(ADAPTER_FAILED, NRM_EVENT_ERROR);
        return;
    }

    if (isBatteryCacheInstalled(adapter)) {
        const EnumBatteryStatus battery = adapter->getBatStatus();
        if (battery == BATTERY_STATUS_FAILED)
            events.raiseWithCompanion(BATTERY_REPLACE, NRM_EVENT_ERROR, NRM_EVENT_WARNING);
        else if (battery == BATTERY_STATUS_DISCHARGING)
            events.raiseWithCompanion(BATTERY_LOW, NRM_EVENT_WARNING, NRM_EVENT_WARNING);
        if (adapter->IsBatTempWarning())
            events.raiseWithCompanion(BATTERY_OVERTEMP, NRM_EVENT_WARNING, NRM_EVENT_WARNING);
    }

    // The versions stay in the argument list for the events after this one.
    if (adapter->getVersionMatchStatus() == CODE_VERSION_NO_MATCH) {
        std::vector<std::string>& arguments = events.arguments();
        arguments.push_back(textOf(adapter->getBiosVersion()));
        arguments.push_back(textOf(adapter->getFirmwareVersion()));
        arguments.push_back(textOf(adapter->getDeviceDriverVersion()));
        events.raise(VERSION_MISMATCH, NRM_EVENT_WARNING);
    }
    if (isAdapterOverTemparature(adapter))
        events.raise(ADAPTER_OVERTEMP, NRM_EVENT_WARNING);
    if (checkBadStripes(adapter))
        events.raise(BAD_STRIPES, NRM_EVENT_WARNING);
}

int BaseRaidMonitor::compareAdapter(NRMEventCollection& ecIN, Adapter* newAdapter, Adapter* oldAdapter)
{
    if (!newAdapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::compareAdapter newAdapterIN is NULL!!!\n");
        return ADAPTER_COMPARE_NOT_WORKING;
    }
    if (oldAdapter)
        logDebugGroup(NRM_DEBUG_TRACE, "   Entering compareAdapter(&ecIN, KRNA: %s vs %s)\n",
                      newAdapter->getSerialNumString(), oldAdapter->getSerialNumString());
    else
        logDebugGroup(NRM_DEBUG_TRACE, "   Entering compareAdapter(&ecIN, KRNA: %s vs NULL)\n",
                      newAdapter->getSerialNumString());
    AdapterEvents events(*this, ecIN, newAdapter);
    if (!oldAdapter) {
        events.raise(ADAPTER_ADDED, NRM_EVENT_INFORMATION);
        return ADAPTER_COMPARE_ADDED;
    }

    const EnumControllerStatus newStatus = newAdapter->getAdapterStatus();
    const EnumControllerStatus oldStatus = oldAdapter->getAdapterStatus();
    const bool newWorking = newStatus == CONTROLLER_STATUS_WORKING;
    const bool oldWorking = oldStatus == CONTROLLER_STATUS_WORKING;
    if (newWorking && !oldWorking) {
        events.raise(ADAPTER_REPLACED, NRM_EVENT_INFORMATION);
        return ADAPTER_COMPARE_REPLACED;
    }
    const bool newFailed = newStatus == CONTROLLER_STATUS_FAILED;
    if (newStatus != oldStatus)
        events.raise(ADAPTER_STATE_CHANGE, newFailed ? NRM_EVENT_ERROR : NRM_EVENT_INFORMATION);
    if (newFailed && oldWorking) {
        events.raise(ADAPTER_FAILED, NRM_EVENT_ERROR);
        return ADAPTER_COMPARE_NOT_WORKING;
    }

    if (isBatteryCacheInstalled(newAdapter)) {
        const EnumBatteryStatus newBattery = newAdapter->getBatStatus();
        const EnumBatteryStatus oldBattery = oldAdapter->getBatStatus();
        if (newBattery != oldBattery) {
            if (newBattery == BATTERY_STATUS_FAILED)
                events.raiseWithCompanion(BATTERY_REPLACE, NRM_EVENT_ERROR, NRM_EVENT_WARNING);
            else if (newBattery == BATTERY_STATUS_DISCHARGING)
                events.raiseWithCompanion(BATTERY_LOW, NRM_EVENT_WARNING, NRM_EVENT_WARNING);
            else if (batteryStatusChangedToNormal(newBattery, oldBattery))
                events.raiseWithCompanion(BATTERY_NORMAL, NRM_EVENT_INFORMATION, NRM_EVENT_INFORMATION);
        }
        const bool newWarning = newAdapter->IsBatTempWarning();
        const bool oldWarning = oldAdapter->IsBatTempWarning();
        if (newWarning && !oldWarning)
            events.raiseWithCompanion(BATTERY_OVERTEMP, NRM_EVENT_WARNING, NRM_EVENT_WARNING);
        else if (!newWarning && oldWarning)
            events.raiseWithCompanion(BATTERY_TEMP_NORMAL, NRM_EVENT_INFORMATION, NRM_EVENT_INFORMATION);
    }

    // One reminder window for all adapters: the first comparison that gets
    // here after it opens uses it up, bad stripes or not.
    if (isTimeToReportBadStripe() && checkBadStripes(newAdapter))
        events.raise(BAD_STRIPES, NRM_EVENT_WARNING);

    compareRelativeChanges(newAdapter, oldAdapter);
    return newWorking ? ADAPTER_COMPARE_WORKING : ADAPTER_COMPARE_NOT_WORKING;
}
