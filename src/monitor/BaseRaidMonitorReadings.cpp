// The reminder timers and the small readings with which the rules look at
// adapters, enclosures, drives and logical drives.
#include <cstring>

#include "RaidLib/StorLibPlugin.h"
#include "RaidLib/Util/Date.h"
#include "RaidLib/Util/ProgressCollection.h"
#include "RaidLib/Util/SESElements.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/Enclosure.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/PhysicalDevice.h"
#include "monitor/BaseRaidMonitor.h"
#include "monitor/NRMEnclosure.h"

namespace {

const char* const SUPPORTED_VENDORS[] = {"ZEQ-VRKD", "ZEQ-XJP", "ZEQ-TWQM"};

// The stored snapshot enclosure of the argument, or null for a live one.
const NRMEnclosure* storedEnclosure(const Enclosure* enclosure)
{
    return enclosure->isInstanceOf("NRMEnclosure") ? static_cast<const NRMEnclosure*>(enclosure) : nullptr;
}

// What a live or a stored enclosure says of its fans (fans true) or its
// power supplies: the count, and the SAF-TE status byte of element n.
int safteCount(const Enclosure* enclosure, bool fans)
{
    const NRMEnclosure* stored = storedEnclosure(enclosure);
    if (stored)
        return fans ? stored->getFanCount() : stored->getPowerSupplyCount();
    return fans ? enclosure->getFanCount() : enclosure->getPowerSupplyCount();
}

int safteStatus(const Enclosure* enclosure, bool fans, unsigned short n)
{
    const NRMEnclosure* stored = storedEnclosure(enclosure);
    if (stored)
        return fans ? int(stored->getFanStatus(n)) : int(stored->getPowerSupplyStatus(n));
    return fans ? int(enclosure->getFanStatus(n)) : int(enclosure->getPowerSupplyStatus(n));
}

// The element status of fan or power supply index. Of the power-supply
// codes only malfunctioning and on counts as failed: malfunctioning and off
// (0x11) counts as operational.
EnumEnclosureElementStatus safteElementStatus(const Enclosure* enclosure, bool fans, int index)
{
    if (!enclosure || index > 31)
        return ENCLOSURE_ELEMENT_ABSENT;
    const unsigned short n = static_cast<unsigned short>(index);
    if (n >= safteCount(enclosure, fans))
        return ENCLOSURE_ELEMENT_ABSENT;
    const int status = safteStatus(enclosure, fans, n);
    const int failed = fans ? int(KRNA_SAFTE_FAN_STATUS_MALFUNCTIONING)
                            : int(KRNA_SAFTE_POWER_SUPPLY_STATUS_MALFUNCTIONING_ON);
    const int absent = fans ? int(KRNA_SAFTE_FAN_STATUS_NOT_INSTALLED)
                            : int(KRNA_SAFTE_POWER_SUPPLY_STATUS_NOT_INSTALLED);
    if (status == failed)
        return ENCLOSURE_ELEMENT_FAILED;
    if (status == absent)
        return ENCLOSURE_ELEMENT_ABSENT;
    return ENCLOSURE_ELEMENT_OPERATIONAL;
}

EnumEnclosureElementStatus sesElementStatus(EnumSESStatusCodes code)
{
    switch (code) {
    case KRNA_SES_STATUS_CRITICAL:
    case KRNA_SES_STATUS_UNRECOVERABLE:
        return ENCLOSURE_ELEMENT_FAILED;
    case KRNA_SES_STATUS_NOT_INSTALLED:
        return ENCLOSURE_ELEMENT_ABSENT;
    default:
        return ENCLOSURE_ELEMENT_OPERATIONAL;
    }
}

} // namespace

bool BaseRaidMonitor::isTimeToReport(ReportTimer& timer)
{
    const int64_t elapsed = static_cast<int64_t>(Date::now()) - static_cast<int64_t>(startTime.load());
    if (timer.lastReport == 0) {
        timer.lastReport = elapsed;
        return true;
    }
    if (elapsed < timer.interval || elapsed - timer.lastReport < timer.interval)
        return false;
    timer.lastReport = elapsed;
    return true;
}

bool BaseRaidMonitor::isTimeToReportUnsupportedDrives() { return isTimeToReport(unsupportedDrivesTimer); }

bool BaseRaidMonitor::isTimeToReportCriticalLogicalDrives() { return isTimeToReport(criticalLogicalDrivesTimer); }

bool BaseRaidMonitor::isTimeToReportSASDriveMap() { return isTimeToReport(sasDriveMapTimer); }

bool BaseRaidMonitor::isTimeToReportBadStripe() { return isTimeToReport(badStripeTimer); }

bool BaseRaidMonitor::isBatteryCacheInstalled(Adapter* adapter)
{
    if (!adapter)
        return false;
    const EnumBatteryStatus status = adapter->getBatStatus();
    return status == BATTERY_STATUS_OTHER || (status >= BATTERY_STATUS_OK && status <= BATTERY_STATUS_MAINTENANCE);
}

bool BaseRaidMonitor::batteryStatusChangedToNormal(EnumBatteryStatus current, EnumBatteryStatus previous)
{
    auto normal = [](EnumBatteryStatus s) { return s == BATTERY_STATUS_OK || s == BATTERY_STATUS_CHARGING; };
    return current != previous && normal(current) && !normal(previous);
}

bool BaseRaidMonitor::isAdapterOverTemparature(Adapter* adapter)
{
    return adapter && adapter->getFeature(FeatHeatSensor) != 0 &&
           adapter->getHSTemperature() >= adapter->getHSThresholdHi();
}

bool BaseRaidMonitor::checkBadStripes(Adapter* adapter)
{
    if (!adapter)
        return false;
    std::vector<RaidObject*> drives;
    adapter->getChildren(drives, "LogicalDrive", true, true);
    for (RaidObject* drive : drives)
        if (static_cast<LogicalDrive*>(drive)->getBadBlockCount() > 0)
            return true;
    return false;
}

bool BaseRaidMonitor::isSafteDataValid(Enclosure* enclosure)
{
    if (!enclosure)
        return false;
    const NRMEnclosure* stored = storedEnclosure(enclosure);
    return stored ? stored->nrmSafteDataValid : enclosure->isSafteDataValid();
}

int BaseRaidMonitor::getFanCount(Enclosure* enclosure) { return enclosure ? safteCount(enclosure, true) : 0; }

int BaseRaidMonitor::getPowerSupplyCount(Enclosure* enclosure)
{
    return enclosure ? safteCount(enclosure, false) : 0;
}

EnumEnclosureElementStatus BaseRaidMonitor::getFanStatus(Enclosure* enclosure, int index)
{
    return safteElementStatus(enclosure, true, index);
}

EnumEnclosureElementStatus BaseRaidMonitor::getPowerSupplyStatus(Enclosure* enclosure, int index)
{
    return safteElementStatus(enclosure, false, index);
}

uint32_t BaseRaidMonitor::getSlotNumberFromDeviceID(Enclosure* enclosure, int deviceID)
{
    if (!enclosure)
        return STORID_UNDEFINED;
    const NRMEnclosure* stored = storedEnclosure(enclosure);
    return stored ? stored->getSlotNumberFromDeviceID(deviceID) : enclosure->getSlotNumberFromDeviceID(deviceID);
}

EnumEnclosureElementStatus BaseRaidMonitor::getFanStatus(EnumSESStatusCodes code) { return sesElementStatus(code); }

EnumEnclosureElementStatus BaseRaidMonitor::getPowerSupplyStatus(EnumSESStatusCodes code)
{
    return sesElementStatus(code);
}

bool BaseRaidMonitor::isVendorSupported(RaidObject* object)
{
    if (!object || !object->isInstanceOf("PhysicalDevice"))
        return false;
    std::string vendor = static_cast<PhysicalDevice*>(object)->getVendor();
    if (vendor.empty())
        return false;
    const std::string trimmed = trim(vendor);
    for (const char* supported : SUPPORTED_VENDORS)
        if (trimmed == supported)
            return true;
    return false;
}

std::string BaseRaidMonitor::trim(std::string& text)
{
    const std::string::size_type end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    std::string copy = text;
    return NLSParser::trim(copy);
}

uint32_t BaseRaidMonitor::getRaidFamily(LogicalDrive* logicalDrive)
{
    if (!logicalDrive)
        return 0;
    switch (logicalDrive->getRaidLevel()) {
    case RAID0:
    case RAID3:
    case RAID4:
    case SPANNED_VOLUME:
    case RAID_VOLUME:
    case SIMPLE_VOLUME:
        return 0x0000000F;
    case RAID1:
    case RAID1E:
        return 0x000000F0;
    case RAID5:
    case RAID5E:
    case RAID5EE:
        return 0x00000F00;
    case RAID6:
        return 0x0000F000;
    case RAID00:
        return 0xF000000F;
    case RAID10:
    case RAID1E0:
        return 0xF00000F0;
    case RAID50:
    case RAID5E0:
        return 0xF0000F00;
    case RAID60:
        return 0xF000F000;
    default:
        return 0;
    }
}

bool BaseRaidMonitor::isTaskRunning(LogicalDrive* logicalDrive)
{
    if (!logicalDrive || !storLib)
        return false;
    Adapter* adapter = logicalDrive->getAdapter();
    const Addr address(adapter ? adapter->getAdapterID() : STORID_UNDEFINED, STORID_UNDEFINED,
                       logicalDrive->getLogicalDriveID(), STORID_UNDEFINED, STORID_UNDEFINED, BLOCK_UNDEFINED,
                       STORID_UNDEFINED, STORID_UNDEFINED);
    ProgressCollection tasks;
    storLib->getTasks(address, tasks);
    return tasks.getProgressCount() > 0;
}

bool BaseRaidMonitor::isTaskRunning(PhysicalDevice* device)
{
    if (!device || !storLib || device->getState() != DRIVE_READY)
        return false;
    Adapter* adapter = device->getAdapter();
    Channel* channel = device->getChannel();
    const Addr address(adapter ? adapter->getAdapterID() : STORID_UNDEFINED, STORID_UNDEFINED, STORID_UNDEFINED,
                       channel ? channel->getChannelID() : STORID_UNDEFINED, device->getDeviceID(),
                       BLOCK_UNDEFINED, STORID_UNDEFINED, STORID_UNDEFINED);
    ProgressCollection tasks;
    storLib->getTasks(address, tasks);
    return tasks.getProgressCount() > 0;
}

RaidObject* BaseRaidMonitor::getSESElement(std::vector<RaidObject*> list, SESElement* element)
{
    if (!element)
        return nullptr;
    for (RaidObject* entry : list) {
        if (!entry || !entry->isInstanceOf("SESElement"))
            continue;
        auto* candidate = static_cast<SESElement*>(entry);
        if (candidate->getType() == element->getType() &&
            std::strcmp(candidate->getDescriptor(), element->getDescriptor()) == 0)
            return candidate;
    }
    return nullptr;
}
