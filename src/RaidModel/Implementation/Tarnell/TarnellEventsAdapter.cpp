// Event rules of the controller as a whole: a controller that disappears,
// fails, recovers, is seen for the first time or comes back after a failure;
// its battery-backed cache, battery temperature and code-version check; and
// the settings whose change has no event code of its own (a refresh event).

#include "RaidLib/Util/Date.h"
#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"

namespace {

// The firmware feature id of extended battery data.
const int FEATURE_EXTENDED_BATTERY = 30;

enum class FruKind { None, Card, Battery };

// Adds one event of the controller: the adapter id set to the snapshot's
// model id and, when the snapshot has product data, the card or battery FRU.
void addAdapterEvent(const TarnellAdapter* adapter, uint32_t type, uint32_t code, FruKind fru)
{
    Date now;
    RaidEvent event(type, code, 0, now);
    event.setAdapterID(static_cast<unsigned int>(adapter->getAdapterID()));
    const AdapterVPDInfo* vpd = adapter->getAdapterVPDInfo();
    if (vpd && fru == FruKind::Card)
        event.setFRU(vpd->FRU);
    else if (vpd && fru == FruKind::Battery)
        event.setFRU(vpd->batteryFRU);
    TarnellEvents::addEvent(event);
}

bool isFailed(int status)
{
    return status == CONTROLLER_STATUS_FAILED || status == CONTROLLER_STATUS_INVALID_CONFIG;
}

// The battery-cache event of a changed, non-zero error code of an installed
// cache; 0 for none.
uint32_t batteryEventOnChange(int errorCode)
{
    switch (errorCode) {
    case 4:
    case 5:
        return 0;
    case 16:
    case 26:
    case 27:
    case 28:
    case 30:
        return RaidEvent::DEAD_BATTERY;
    default:
        return RaidEvent::DEAD_BATTERY_CACHE;
    }
}

// The battery-cache event of a controller seen for the first time; 0 for none.
// It differs from a change only for code 30 and for a cache not installed.
uint32_t batteryEventOnFirstSight(bool installed, int errorCode)
{
    if (!installed)
        return errorCode == 30 ? RaidEvent::DEAD_BATTERY : 0;
    if (errorCode == 0)
        return 0;
    if (errorCode == 30)
        return RaidEvent::DEAD_BATTERY_CACHE;
    return batteryEventOnChange(errorCode);
}

// The objects of the class in the subtree, the root included: counted in
// one walk instead of listing every object of the controller first.
unsigned long countOf(const RaidObject* node, const char* className)
{
    unsigned long count = node->isInstanceOf(className) ? 1 : 0;
    const unsigned long children = node->getChildCount();
    for (unsigned long c = 0; c < children; ++c)
        count += countOf(node->getChild(static_cast<int>(c)), className);
    return count;
}

// Whether any setting without an event code of its own differs between the
// two snapshots. Battery data the current snapshot has and the previous one
// lacks counts as a difference.
bool settingsDiffer(TarnellAdapter* previous, TarnellAdapter* current)
{
    if (previous->getReadAhead() != current->getReadAhead() ||
        previous->getAdaptiveReadAhead() != current->getAdaptiveReadAhead() ||
        previous->getStripeUnitSize() != current->getStripeUnitSize() ||
        previous->getRebuildRate() != current->getRebuildRate())
        return true;
    if (previous->getHotSwapRebuild() != current->getHotSwapRebuild() ||
        previous->getCopyBack() != current->getCopyBack() ||
        previous->getDataScrubbing() != current->getDataScrubbing() ||
        previous->getAutoSynchronizationEnabled() != current->getAutoSynchronizationEnabled() ||
        previous->getClustering() != current->getClustering() ||
        previous->getLimitedBIOSCompatibility() != current->getLimitedBIOSCompatibility() ||
        previous->getUnattended() != current->getUnattended())
        return true;
    if (previous->getHostID() != current->getHostID() ||
        previous->getClusterPartnerID() != current->getClusterPartnerID())
        return true;
    const ExtendedBatteryInfo* now = current->getExtendedBatteryInfo();
    if (now) {
        const ExtendedBatteryInfo* before = previous->getExtendedBatteryInfo();
        if (!before || before->temperature != now->temperature || before->percentCharged != now->percentCharged ||
            before->abnormalTemperature != now->abnormalTemperature)
            return true;
    }
    return countOf(previous, "Array") != countOf(current, "Array") ||
           countOf(previous, "LogicalDrive") != countOf(current, "LogicalDrive");
}

// The rules of a controller present in both snapshots.
bool compareRules(TarnellAdapter* previous, TarnellAdapter* current)
{
    bool changed = false;

    const int errorCode = current->getBatteryCacheErrorCode();
    if (current->getBatteryCacheInstalled() && errorCode != previous->getBatteryCacheErrorCode() &&
        errorCode != 0) {
        const uint32_t code = batteryEventOnChange(errorCode);
        if (code != 0) {
            addAdapterEvent(current, RaidEvent::FATAL_EVENT, code, FruKind::Battery);
            changed = true;
        }
    }

    const ExtendedBatteryInfo* now = current->getExtendedBatteryInfo();
    const ExtendedBatteryInfo* before = previous->getExtendedBatteryInfo();
    if (current->supports(FEATURE_EXTENDED_BATTERY) && now && before) {
        if (now->abnormalTemperature && !before->abnormalTemperature) {
            addAdapterEvent(current, RaidEvent::WARNING_EVENT, RaidEvent::BATTERY_OVERTEMP, FruKind::None);
            changed = true;
        }
        if (!now->abnormalTemperature && before->abnormalTemperature) {
            addAdapterEvent(current, RaidEvent::INFORMATION_EVENT, RaidEvent::BATTERY_TEMP_NORMAL, FruKind::None);
            changed = true;
        }
    }

    if (settingsDiffer(previous, current)) {
        addAdapterEvent(current, RaidEvent::REFRESH_EVENT, 0, FruKind::None);
        changed = true;
    }
    return changed;
}

// The rules of a controller seen for the first time or working again after a
// failure; only the current snapshot is read.
bool firstSightRules(TarnellAdapter* current)
{
    bool changed = false;

    const uint32_t code =
        batteryEventOnFirstSight(current->getBatteryCacheInstalled(), current->getBatteryCacheErrorCode());
    if (code != 0) {
        addAdapterEvent(current, RaidEvent::FATAL_EVENT, code, FruKind::Battery);
        changed = true;
    }

    const ExtendedBatteryInfo* battery = current->getExtendedBatteryInfo();
    if (current->supports(FEATURE_EXTENDED_BATTERY) && battery && battery->abnormalTemperature) {
        addAdapterEvent(current, RaidEvent::WARNING_EVENT, RaidEvent::BATTERY_OVERTEMP, FruKind::None);
        changed = true;
    }

    if (current->getVersionMatching() == 1) {
        addAdapterEvent(current, RaidEvent::WARNING_EVENT, RaidEvent::MISMATCHED_VERSIONS, FruKind::None);
        changed = true;
    }
    return changed;
}

} // namespace

bool TarnellEvents::compareAdapterConfigs(TarnellAdapter* oldAdapter, TarnellAdapter* newAdapter, std::string&)
{
    if (!DllP::GetDLLPointer())
        return false;

    if (!newAdapter) {
        if (oldAdapter && oldAdapter->getAdapterStatus() == CONTROLLER_STATUS_WORKING) {
            addAdapterEvent(oldAdapter, RaidEvent::FATAL_EVENT, RaidEvent::CONTROLLER_FAIL, FruKind::Card);
            return true;
        }
        return false;
    }

    // The status the rules acted on last.
    int& status = getAdapterStatus(newAdapter->getAdapterID()).adapterStatus;

    if (!oldAdapter)
        status = CONTROLLER_STATUS_WORKING;

    const int current = newAdapter->getAdapterStatus();
    if (status != current)
        addAdapterEvent(newAdapter, isFailed(current) ? RaidEvent::FATAL_EVENT : RaidEvent::INFORMATION_EVENT,
                        RaidEvent::CONTROLLER_STATE_CHANGE, FruKind::Card);

    bool changed = false;
    if (isFailed(current)) {
        if (status == CONTROLLER_STATUS_WORKING) {
            addAdapterEvent(newAdapter, RaidEvent::FATAL_EVENT, RaidEvent::CONTROLLER_FAIL, FruKind::Card);
            status = current;
            changed = true;
        }
        return changed;
    }

    if (status == CONTROLLER_STATUS_INVALID_CONFIG)
        return compareRules(oldAdapter, newAdapter);

    bool firstSight = false; // replaced or newly added
    if (status != CONTROLLER_STATUS_WORKING) {
        status = CONTROLLER_STATUS_WORKING;
        addAdapterEvent(newAdapter, RaidEvent::INFORMATION_EVENT, RaidEvent::CONTROLLER_REPLACED, FruKind::Card);
        changed = true;
        firstSight = true;
    }
    if (!oldAdapter) {
        addAdapterEvent(newAdapter, RaidEvent::INFORMATION_EVENT, RaidEvent::CONTROLLER_ADDED, FruKind::Card);
        changed = true;
        firstSight = true;
    }
    if (firstSight)
        return firstSightRules(newAdapter) || changed;
    return compareRules(oldAdapter, newAdapter) || changed;
}
