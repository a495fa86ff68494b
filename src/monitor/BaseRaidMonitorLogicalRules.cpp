// The logical-drive rules: the state of the logical drives of an adapter the
// monitor sees for the first time, and the changes of an adapter's logical
// drives against their previous images.
#include <string>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "monitor/BaseRaidMonitor.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMRuleEvent.h"

using namespace nrmevent;

namespace {

// States between which a logical drive moves without an event.
bool isQuiet(EnumLogicalDeviceState state) { return state == FREE || state == OKAY || state == MIGRATING; }

bool isCritical(EnumLogicalDeviceState state)
{
    return state == CRITICAL || state == CRITICAL_MIGRATING || state == CRITICAL_SYSTEM;
}

// The controller's own drives of a migration, which only the check rule sees.
bool isSystem(EnumLogicalDeviceState state) { return state == SYSTEM || state == CRITICAL_SYSTEM; }

// Queues the event about the logical drive; returns its text.
std::string raiseText(NRMEventCollection& events, const NRMEventDef& def, int severity, std::string text,
                      Adapter* adapter, const LogicalDrive* drive)
{
    NRMEvent event = nrmrule::makeEvent(def, severity, text, adapter);
    event.address.setLogicalDriveID(drive->getLogicalDriveID());
    events.addEvent(event);
    return text;
}

} // namespace

void BaseRaidMonitor::checkLogicalDrive(NRMEventCollection& ecIN, Adapter* adapter, LogicalDrive* ld)
{
    const EnumLogicalDeviceState state = ld->getState();
    logDebugGroup(NRM_DEBUG_TRACE, "       Entering checkLogicalDrive(&ecIN, LD: %d) State = %d.\n",
                  static_cast<int>(ld->getLogicalDriveID()), static_cast<int>(state));
    const std::vector<std::string> arguments{getEventID(ld)};
    auto raise = [&](const NRMEventDef& def, int severity) {
        raiseText(ecIN, def, severity, catalogue.get(def.key, arguments), adapter, ld);
    };

    const bool offline = state == OFFLINE;
    const bool critical = isCritical(state);
    raise(LD_STATE_CHANGE, offline ? NRM_EVENT_ERROR : critical ? NRM_EVENT_WARNING : NRM_EVENT_INFORMATION);
    if (offline)
        raise(LD_OFFLINE, NRM_EVENT_ERROR);
    if (critical)
        raise(LD_CRITICAL, NRM_EVENT_WARNING);
    if (ld->getBlockedAccess())
        raise(LD_BLOCKED, NRM_EVENT_ERROR);
}

void BaseRaidMonitor::checkLogicalDrives(NRMEventCollection& ecIN, Adapter* adapterIN)
{
    if (!adapterIN) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::checkLogicalDrives adapterIN is NULL!!!\n");
        return;
    }
    logDebugGroup(NRM_DEBUG_TRACE, "   Entering checkLogicalDrives(&ecIN, KRNA: %d)\n",
                  static_cast<int>(adapterIN->getAdapterID()));
    for (RaidObject* object : nrmrule::descendantsOf(adapterIN, "LogicalDrive")) {
        LogicalDrive* ld = nrmrule::asClass<LogicalDrive>(object, "LogicalDrive");
        if (!ld) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::checkLogicalDrives LD is NULL!!!\n");
            continue;
        }
        if (isValidLogicalDrive(adapterIN, ld))
            checkLogicalDrive(ecIN, adapterIN, ld);
    }
}

void BaseRaidMonitor::compareLogicalDrives(NRMEventCollection& ecIN, Adapter* newAdapter, Adapter* oldAdapter)
{
    if (!newAdapter || !oldAdapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::compareLogicalDrives adapter is NULL!!!\n");
        return;
    }
    logDebugGroup(NRM_DEBUG_TRACE, "   Entering compareLogicalDrives(&ecIN, KRNA: %d)\n",
                  static_cast<int>(newAdapter->getAdapterID()));
    // Events name the new adapter; raise builds them about drive.
    auto raise = [&](const NRMEventDef& def, int severity, const std::vector<std::string>& arguments,
                     const LogicalDrive* drive) {
        return raiseText(ecIN, def, severity, catalogue.get(def.key, arguments), newAdapter, drive);
    };
    // A drive new to the monitor: 346 with its size, level and
    // initialization, then the drive's state as the check rule reports it.
    auto added = [&](LogicalDrive* ld) {
        raise(LD_ADDED, NRM_EVENT_INFORMATION, {getEventID(ld), getSize(ld), getRaidLevel(ld), getQuickInit(ld)},
              ld);
        checkLogicalDrive(ecIN, newAdapter, ld);
    };

    // Drives gone, or become free: the old drive's id.
    for (RaidObject* object : nrmrule::descendantsOf(oldAdapter, "LogicalDrive")) {
        LogicalDrive* oldLD = nrmrule::asClass<LogicalDrive>(object, "LogicalDrive");
        if (!oldLD) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::compareLogicalDrives oldLD is NULL while "
                                            "checking for removed LD's!!!\n");
            continue;
        }
        if (!isValidLogicalDrive(oldAdapter, oldLD) || isSystem(oldLD->getState()))
            continue;
        const LogicalDrive* pair = nrmrule::asClass<LogicalDrive>(findLD(oldLD, newAdapter), "LogicalDrive");
        if (!pair || (pair->getState() == FREE && oldLD->getState() != FREE))
            raise(LD_DELETED, NRM_EVENT_INFORMATION, {getEventID(oldLD)}, oldLD);
    }

    int criticalCount = 0;
    LogicalDrive* firstCritical = nullptr;
    for (RaidObject* object : nrmrule::descendantsOf(newAdapter, "LogicalDrive")) {
        LogicalDrive* newLD = nrmrule::asClass<LogicalDrive>(object, "LogicalDrive");
        if (!newLD) {
            logDebugGroup(NRM_DEBUG_ERRORS,
                          "ERROR: BaseRaidMonitor::compareLogicalDrives newLD is NULL while comparing!!!\n");
            continue;
        }
        if (!isValidLogicalDrive(newAdapter, newLD) || isSystem(newLD->getState()))
            continue;
        LogicalDrive* oldLD = nrmrule::asClass<LogicalDrive>(findLD(newLD, oldAdapter), "LogicalDrive");
        if (!oldLD) {
            added(newLD);
            continue;
        }

        const EnumLogicalDeviceState x = oldLD->getState();
        const EnumLogicalDeviceState y = newLD->getState();
        if (x != y) {
            // Between quiet states the pair is passed over entirely.
            if (isQuiet(x) && isQuiet(y))
                continue;
            if (x == FREE && y != OFFLINE && !isCritical(y)) {
                // Leaving FREE for any but an offline or critical state
                // counts as added; the pair is done with.
                added(newLD);
                continue;
            }
            const std::vector<std::string> arguments{getEventID(newLD)};
            std::string text;
            int severity = NRM_EVENT_INFORMATION;
            if (y == OFFLINE) {
                severity = NRM_EVENT_ERROR;
                text = raise(LD_OFFLINE, severity, arguments, newLD);
            } else if (isCritical(y) && !isCritical(x)) {
                severity = NRM_EVENT_WARNING;
                text = raise(LD_CRITICAL, severity, arguments, newLD);
            } else if (y == OKAY) {
                text = raise(LD_NORMAL, severity, arguments, newLD);
            } else {
                text = catalogue.get(LD_STATE_CHANGE.key, arguments);
            }
            raiseText(ecIN, LD_STATE_CHANGE, severity, text, newAdapter, newLD);
        }

        if (newLD->getBlockedAccess() != oldLD->getBlockedAccess()) {
            const std::vector<std::string> arguments{getEventID(newLD)};
            const bool blocked = newLD->getBlockedAccess();
            const int severity = blocked ? NRM_EVENT_ERROR : NRM_EVENT_INFORMATION;
            const std::string text = raise(blocked ? LD_BLOCKED : LD_UNBLOCKED, severity, arguments, newLD);
            raiseText(ecIN, LD_STATE_CHANGE, severity, text, newAdapter, newLD);
        }

        if (y == CRITICAL || y == CRITICAL_MIGRATING) {
            ++criticalCount;
            if (!firstCritical)
                firstCritical = newLD;
        }
        compareRelativeChanges(newLD, oldLD);
    }

    // One reminder window for all adapters, used up by the first comparison
    // after it opens, with critical drives or without.
    if (isTimeToReportCriticalLogicalDrives() && criticalCount > 0)
        raise(LD_CRITICAL_REMINDER, NRM_EVENT_WARNING, {getEventID(firstCritical)}, firstCritical);
}
