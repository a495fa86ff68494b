// Event rules of the SAF-TE enclosures: the bad states of an enclosure seen
// for the first time, and the changes of its responding state, fans, power
// supplies and temperature between two snapshots of one controller.

#include "RaidLib/Util/Date.h"
#include "RaidLib/Util/RaidEvent.h"
#include "RaidLib/Util/SafteConfig.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellEnclosure.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"

namespace {

// The channel id of the enclosure's channel: its parent in the tree; the
// enclosure's own address (which the channel set) when it hangs elsewhere.
STORID_T channelIdOf(const TarnellEnclosure* enclosure)
{
    const RaidObject* parent = enclosure->getParent();
    if (parent != nullptr && parent->isInstanceOf("Channel"))
        return parent->getChannelID();
    return enclosure->getChannelID();
}

// Adds one event about the enclosure, with the controller's, the channel's
// and the enclosure's ids; every other id stays as a fresh event has it.
void addEnclosureEvent(const TarnellAdapter* adapter, const TarnellEnclosure* enclosure, uint32_t type,
                       uint32_t code)
{
    Date now;
    RaidEvent event(type, code, 0, now);
    event.setAdapterID(adapter->getAdapterID());
    event.setChannelID(channelIdOf(enclosure));
    event.setDeviceID(enclosure->getDeviceID());
    TarnellEvents::addEvent(event);
}

// The enclosure at index i of the collection; null for anything that is not
// a Tarnell enclosure (only those know whether they responded).
TarnellEnclosure* enclosureAt(const FilterCollection& enclosures, unsigned long i)
{
    RaidObject* object = enclosures.elementAt(static_cast<int>(i));
    if (object == nullptr || !object->isInstanceOf("TarnellEnclosure"))
        return nullptr;
    return static_cast<TarnellEnclosure*>(object);
}

// The item codes of the enclosure (fans and power supplies alike).
const int WORKING = TarnellEnclosure::ELEMENT_OPERATIONAL;
const int FAILED = TarnellEnclosure::ELEMENT_FAILED;
const int NOT_INSTALLED = TarnellEnclosure::ELEMENT_NOT_INSTALLED;

// The event codes of one kind of item.
struct ItemCodes {
    uint32_t ok;
    uint32_t fail;
    uint32_t installed;
    uint32_t removed;
};

const ItemCodes FAN_CODES = {RaidEvent::FAN_OK, RaidEvent::FAN_FAIL, RaidEvent::FAN_INSTALLED,
                             RaidEvent::FAN_REMOVED};
const ItemCodes POWER_SUPPLY_CODES = {RaidEvent::POWER_SUPPLY_OK, RaidEvent::POWER_SUPPLY_FAIL,
                                      RaidEvent::POWER_SUPPLY_INSTALLED, RaidEvent::POWER_SUPPLY_REMOVED};

// The event of an item whose code went from previous to current (they
// differ); false for a change that gives none (to or from no data or no
// such item).
bool itemChangeEvent(const ItemCodes& codes, int previous, int current, uint32_t& type, uint32_t& code)
{
    if (current == WORKING && previous == FAILED) {
        type = RaidEvent::INFORMATION_EVENT;
        code = codes.ok;
    } else if (current == WORKING && previous == NOT_INSTALLED) {
        type = RaidEvent::INFORMATION_EVENT;
        code = codes.installed;
    } else if (current == FAILED && (previous == WORKING || previous == NOT_INSTALLED)) {
        type = RaidEvent::FATAL_EVENT;
        code = codes.fail;
    } else if (current == NOT_INSTALLED && (previous == WORKING || previous == FAILED)) {
        // A removal seen happening is fatal; one found on first sight is not.
        type = RaidEvent::FATAL_EVENT;
        code = codes.removed;
    } else {
        return false;
    }
    return true;
}

// The event of an item in a bad state on first sight; false for none.
bool itemFirstSightEvent(const ItemCodes& codes, int status, uint32_t& type, uint32_t& code)
{
    if (status == FAILED) {
        type = RaidEvent::FATAL_EVENT;
        code = codes.fail;
    } else if (status == NOT_INSTALLED) {
        type = RaidEvent::WARNING_EVENT;
        code = codes.removed;
    } else {
        return false;
    }
    return true;
}

} // namespace

void TarnellEvents::checkSafte(TarnellAdapter* adapter, std::string&)
{
    if (adapter == nullptr)
        return;
    FilterCollection enclosures(adapter);
    enclosures.apply("Enclosure", false);
    for (unsigned long i = 0; i < enclosures.size(); ++i) {
        TarnellEnclosure* enclosure = enclosureAt(enclosures, i);
        if (enclosure == nullptr)
            continue;
        if (!enclosure->isResponding()) {
            addEnclosureEvent(adapter, enclosure, RaidEvent::FATAL_EVENT, RaidEvent::ENCLOSURE_FAIL);
            continue;
        }
        const SafteConfig* config = enclosure->getSafteConfig();
        if (config == nullptr)
            continue;

        uint32_t type = 0, code = 0;
        // The enclosure answers "no such item" for indexes beyond what its
        // status page holds, so the counts are safe to walk.
        for (int fan = 0; fan < config->getFanCount(); ++fan) {
            if (itemFirstSightEvent(FAN_CODES, enclosure->getFanStatus(fan), type, code))
                addEnclosureEvent(adapter, enclosure, type, code);
        }
        for (int supply = 0; supply < config->getPowerSupplyCount(); ++supply) {
            if (itemFirstSightEvent(POWER_SUPPLY_CODES, enclosure->getPowerSupplyStatus(supply), type, code))
                addEnclosureEvent(adapter, enclosure, type, code);
        }
        if (enclosure->getTemperatureStatus() == STATUS_FATAL)
            addEnclosureEvent(adapter, enclosure, RaidEvent::FATAL_EVENT, RaidEvent::TEMP_FAIL);
    }
}

bool TarnellEvents::compareSafteConfigs(TarnellAdapter* oldAdapter, TarnellAdapter* newAdapter, std::string&)
{
    bool changed = false;
    if (oldAdapter == nullptr || newAdapter == nullptr)
        return changed;

    FilterCollection enclosures(newAdapter);
    enclosures.apply("Enclosure", false);
    for (unsigned long i = 0; i < enclosures.size(); ++i) {
        TarnellEnclosure* current = enclosureAt(enclosures, i);
        if (current == nullptr)
            continue;

        // The same enclosure in the previous snapshot; one that is new, or
        // gone, gives no event.
        RaidObject* found = oldAdapter->getObject(newAdapter->getAdapterID(), STORID_UNDEFINED, STORID_UNDEFINED,
                                                  channelIdOf(current), current->getDeviceID());
        if (found == nullptr || !found->isInstanceOf("TarnellEnclosure"))
            continue;
        const TarnellEnclosure* previous = static_cast<const TarnellEnclosure*>(found);

        // A change of the responding state is all that is said of the
        // enclosure in this pass.
        if (previous->isResponding() != current->isResponding()) {
            if (previous->isResponding())
                addEnclosureEvent(newAdapter, current, RaidEvent::FATAL_EVENT, RaidEvent::ENCLOSURE_FAIL);
            else
                addEnclosureEvent(newAdapter, current, RaidEvent::INFORMATION_EVENT, RaidEvent::ENCLOSURE_OK);
            changed = true;
            continue;
        }

        const SafteConfig* config = current->getSafteConfig();
        if (config == nullptr || previous->getSafteConfig() == nullptr || current->getSafteStatus() == nullptr ||
            previous->getSafteStatus() == nullptr)
            continue;

        // Over the current counts; the previous enclosure answers "no such
        // item" for indexes beyond its own.
        uint32_t type = 0, code = 0;
        for (int fan = 0; fan < config->getFanCount(); ++fan) {
            const int before = previous->getFanStatus(fan);
            const int now = current->getFanStatus(fan);
            if (before != now && itemChangeEvent(FAN_CODES, before, now, type, code)) {
                addEnclosureEvent(newAdapter, current, type, code);
                changed = true;
            }
        }
        for (int supply = 0; supply < config->getPowerSupplyCount(); ++supply) {
            const int before = previous->getPowerSupplyStatus(supply);
            const int now = current->getPowerSupplyStatus(supply);
            if (before != now && itemChangeEvent(POWER_SUPPLY_CODES, before, now, type, code)) {
                addEnclosureEvent(newAdapter, current, type, code);
                changed = true;
            }
        }

        const EnumOverallStatus tempBefore = previous->getTemperatureStatus();
        const EnumOverallStatus tempNow = current->getTemperatureStatus();
        if (tempBefore == STATUS_FATAL && tempNow == STATUS_NORMAL) {
            addEnclosureEvent(newAdapter, current, RaidEvent::INFORMATION_EVENT, RaidEvent::TEMP_OK);
            changed = true;
        } else if (tempBefore == STATUS_NORMAL && tempNow == STATUS_FATAL) {
            addEnclosureEvent(newAdapter, current, RaidEvent::FATAL_EVENT, RaidEvent::TEMP_FAIL);
            changed = true;
        }
    }
    return changed;
}
