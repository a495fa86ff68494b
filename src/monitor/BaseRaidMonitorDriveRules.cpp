// The physical-drive rules: the state of the hard drives of an adapter the
// monitor sees for the first time, and the changes of an adapter's hard
// drives against their previous images.
#include <string>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/HardDrive.h"
#include "monitor/BaseRaidMonitor.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMRuleEvent.h"

using namespace nrmevent;

namespace {

// States between which a drive moves without an event.
bool isQuiet(EnumPhysicalDeviceState state)
{
    return state == DRIVE_READY || state == DRIVE_ONLINE || state == DRIVE_REBUILDING;
}

// A failure (401/404) or PFA (402/405) event: the key ending in Repl goes
// with a replacement phrase (argument 1), the id of the FRU-numbered form
// with a FRU number of the drive given. The two tests are separate, so a
// drive without a FRU number but with a vendor and model raises the plain id
// with the Repl key.
NRMEventDef keyed(const NRMEventDef& plain, const NRMEventDef& fru, const std::vector<std::string>& arguments,
                  const HardDrive* fruDrive)
{
    NRMEventDef def = fruDrive->getFruNumber()[0] != '\0' ? fru : plain;
    def.key = arguments[1].empty() ? plain.key : fru.key;
    return def;
}

// Queues the event about the drive: its channel id (unset without a
// channel), device id, FRU number and serial. Returns the text.
std::string raiseText(NRMEventCollection& events, const NRMEventDef& def, int severity, std::string text,
                      Adapter* adapter, const HardDrive* drive)
{
    NRMEvent event = nrmrule::makeEvent(def, severity, text, adapter);
    const Channel* channel = drive->getChannel();
    event.address.setChannelID(channel ? channel->getChannelID() : STORID_UNDEFINED);
    event.address.setDeviceID(drive->getDeviceID());
    event.fruNumber = drive->getFruNumber();
    event.deviceSerial = drive->getSerialNumber();
    events.addEvent(event);
    return text;
}

} // namespace

void BaseRaidMonitor::checkPhysicalDrive(NRMEventCollection& ecIN, Adapter* adapter, HardDrive* hd)
{
    const EnumPhysicalDeviceState state = hd->getState();
    logDebugGroup(NRM_DEBUG_TRACE, "       Entering checkPhysicalDrive(&ecIN, PD: %d) State = %d.\n",
                  static_cast<int>(hd->getDeviceID()), static_cast<int>(state));
    const std::vector<std::string> arguments{getEventID(hd), getReplacementID(hd)};
    auto raise = [&](const NRMEventDef& def, int severity) {
        raiseText(ecIN, def, severity, catalogue.get(def.key, arguments), adapter, hd);
    };

    const bool dead = state == DRIVE_DEAD;
    const bool pfa = hd->getPfaSupported() && hd->getPfaError();
    raise(PD_STATE_CHANGE, pfa ? NRM_EVENT_WARNING : dead ? NRM_EVENT_ERROR : NRM_EVENT_INFORMATION);
    if (dead)
        raise(keyed(PD_FAILED, PD_FAILED_FRU, arguments, hd), NRM_EVENT_ERROR);
    if (pfa)
        raise(keyed(PD_PFA, PD_PFA_FRU, arguments, hd), NRM_EVENT_WARNING);
    if (vendorCheck && state != DRIVE_EMPTY && !isVendorSupported(hd))
        raise(PD_UNSUPPORTED, NRM_EVENT_WARNING);
}

void BaseRaidMonitor::checkPhysicalDrives(NRMEventCollection& ecIN, Adapter* adapterIN)
{
    if (!adapterIN) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::checkPhysicalDrives adapterIN is NULL!!!\n");
        return;
    }
    logDebugGroup(NRM_DEBUG_TRACE, "   Entering checkPhysicalDrives(&ecIN, KRNA: %d)\n",
                  static_cast<int>(adapterIN->getAdapterID()));
    for (RaidObject* object : nrmrule::descendantsOf(adapterIN, "HardDrive")) {
        HardDrive* hd = nrmrule::asClass<HardDrive>(object, "HardDrive");
        if (!hd) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::checkPhysicalDrives PD is NULL!!!\n");
            continue;
        }
        if (isValidPhysicalDrive(adapterIN, hd))
            checkPhysicalDrive(ecIN, adapterIN, hd);
    }
}

void BaseRaidMonitor::comparePhysicalDrives(NRMEventCollection& ecIN, Adapter* newAdapter, Adapter* oldAdapter)
{
    if (!newAdapter || !oldAdapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::comparePhysicalDrives adapter is NULL!!!\n");
        return;
    }
    logDebugGroup(NRM_DEBUG_TRACE, "   Entering comparePhysicalDrives(&ecIN, KRNA: %d)\n",
                  static_cast<int>(newAdapter->getAdapterID()));
    // Events name the new adapter; raise builds them about drive.
    auto raise = [&](const NRMEventDef& def, int severity, const std::vector<std::string>& arguments,
                     const HardDrive* drive) {
        return raiseText(ecIN, def, severity, catalogue.get(def.key, arguments), newAdapter, drive);
    };

    // Drives gone, or become empty: the old drive's fields.
    for (RaidObject* object : nrmrule::descendantsOf(oldAdapter, "HardDrive")) {
        HardDrive* oldHD = nrmrule::asClass<HardDrive>(object, "HardDrive");
        if (!oldHD) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::comparePhysicalDrives oldPD is NULL while "
                                            "checking for removed PD's!!!\n");
            continue;
        }
        if (!isValidPhysicalDrive(oldAdapter, oldHD))
            continue;
        const HardDrive* pair = nrmrule::asClass<HardDrive>(findPD(oldHD, newAdapter), "HardDrive");
        if (pair && !(pair->getState() == DRIVE_EMPTY && oldHD->getState() != DRIVE_EMPTY))
            continue;
        const std::string text = raise(PD_REMOVED, NRM_EVENT_INFORMATION, {getEventID(oldHD)}, oldHD);
        raiseText(ecIN, PD_STATE_CHANGE, NRM_EVENT_ERROR, text, newAdapter, oldHD);
    }

    for (RaidObject* object : nrmrule::descendantsOf(newAdapter, "HardDrive")) {
        HardDrive* newHD = nrmrule::asClass<HardDrive>(object, "HardDrive");
        if (!newHD) {
            logDebugGroup(NRM_DEBUG_ERRORS,
                          "ERROR: BaseRaidMonitor::comparePhysicalDrives newPD is NULL while comparing!!!\n");
            continue;
        }
        if (!isValidPhysicalDrive(newAdapter, newHD))
            continue;
        HardDrive* oldHD = nrmrule::asClass<HardDrive>(findPD(newHD, oldAdapter), "HardDrive");
        if (!oldHD) {
            raise(PD_ADDED, NRM_EVENT_INFORMATION, {getEventID(newHD)}, newHD);
            checkPhysicalDrive(ecIN, newAdapter, newHD);
            continue;
        }

        const EnumPhysicalDeviceState x = oldHD->getState();
        const EnumPhysicalDeviceState y = newHD->getState();
        if (x != y) {
            // Between quiet states the pair is passed over entirely.
            if (isQuiet(x) && isQuiet(y))
                continue;
            const std::vector<std::string> arguments{getEventID(newHD), getReplacementID(newHD)};
            if (y == DRIVE_DEAD) {
                // The failed drive is the old one: its fields and its FRU test.
                const std::string text =
                    raise(keyed(PD_FAILED, PD_FAILED_FRU, arguments, oldHD), NRM_EVENT_ERROR, arguments, oldHD);
                raiseText(ecIN, PD_STATE_CHANGE, NRM_EVENT_ERROR, text, newAdapter, oldHD);
            } else {
                std::string text;
                if (x == DRIVE_DEAD) {
                    text = raise(PD_FAILED_REPLACED, NRM_EVENT_INFORMATION, arguments, newHD);
                } else if (y == DRIVE_SPARE && x == DRIVE_READY) {
                    text = raise(SPARE_CREATED, NRM_EVENT_INFORMATION, arguments, newHD);
                } else if (y == DRIVE_READY && x == DRIVE_SPARE) {
                    text = raise(SPARE_DELETED, NRM_EVENT_INFORMATION, arguments, newHD);
                } else {
                    if (x == DRIVE_EMPTY) {
                        raise(PD_ADDED, NRM_EVENT_INFORMATION, arguments, newHD);
                        checkPhysicalDrive(ecIN, newAdapter, newHD);
                    }
                    text = catalogue.get(PD_STATE_CHANGE.key, arguments);
                }
                raiseText(ecIN, PD_STATE_CHANGE, NRM_EVENT_INFORMATION, text, newAdapter, newHD);
            }
        }

        // A PFA error newly set; one that clears gives nothing.
        if (newHD->getPfaSupported() && oldHD->getPfaSupported() && newHD->getPfaError() &&
            !oldHD->getPfaError()) {
            const std::vector<std::string> arguments{getEventID(newHD), getReplacementID(newHD)};
            const std::string text =
                raise(keyed(PD_PFA, PD_PFA_FRU, arguments, newHD), NRM_EVENT_WARNING, arguments, newHD);
            raiseText(ecIN, PD_STATE_CHANGE, NRM_EVENT_WARNING, text, newAdapter, newHD);
        }

        // An unsupported drive: at once when it has just come (or come back
        // from failure), otherwise once in each 30-day window of the monitor.
        if (vendorCheck && y != DRIVE_EMPTY && !isVendorSupported(newHD)) {
            const bool immediate = x == DRIVE_EMPTY || (x == DRIVE_DEAD && (y == DRIVE_REBUILDING || y == DRIVE_SPARE));
            if (immediate || isTimeToReportUnsupportedDrives())
                raise(PD_UNSUPPORTED, NRM_EVENT_WARNING, {getEventID(newHD)}, newHD);
        }

        compareRelativeChanges(newHD, oldHD);
    }
}
